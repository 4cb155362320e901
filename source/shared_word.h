// Words shared between the host's threads without a lock: one side writes, the
// other reads, and a reader sees the old or the new value. The relaxed atomic
// builtins compile to the same single aligned mov as a plain access on x86, but
// keep the compiler from caching the word across a loop or dropping a store.
#pragma once

#include <emmintrin.h>

#include <cstdint>

// Always inlined: a call would cost more than the load, on the audio path.
template <class Word>
__attribute__((always_inline)) inline Word loadShared(const Word& word) {
  return __atomic_load_n(&word, __ATOMIC_RELAXED);
}

template <class Word>
__attribute__((always_inline)) inline void storeShared(Word& word, Word value) {
  __atomic_store_n(&word, value, __ATOMIC_RELAXED);
}

// Four neighbouring shared 32-bit words in one 16-byte load, each read whole
// and once, and read anew every time: the volatile access can neither be
// cached across a loop nor repeated.
__attribute__((always_inline)) inline __m128i loadSharedWords(const int32_t* first) {
  return *reinterpret_cast<const volatile __m128i_u*>(first);
}
