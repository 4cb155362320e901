// The floating-point mode of the audio path, set for the lifetime of the
// guard and the caller's MXCSR put back exactly, flags included, on the way out.
//
// Flush-to-zero and denormals-are-zero: after a loud signal and silence the
// section memories would otherwise decay into a limit cycle of subnormal values
// that never reaches zero, each operation on them costing over a hundred
// cycles. Only results in the subnormal range change. Rounding to nearest with
// every exception masked is what the results are defined for, whatever the
// host has left set.
#pragma once

#include <pmmintrin.h>
#include <xmmintrin.h>

#include <cstring>

constexpr unsigned kWantedAudioMode = _MM_MASK_MASK | _MM_ROUND_NEAREST | _MM_FLUSH_ZERO_ON | _MM_DENORMALS_ZERO_ON;
constexpr unsigned kDefaultMxcsrMask = 0xFFBF;  // what a zero mask stands for: every bit but denormals-are-zero

// The MXCSR bits this processor accepts, as FXSAVE reports them (0 on the
// first SSE2 processors, which lack denormals-are-zero).
inline unsigned mxcsrMaskOfThisProcessor() {
  struct alignas(16) {
    unsigned char bytes[512];
  } area = {};
  __asm__ volatile("fxsave %0" : "=m"(area));
  unsigned mask;
  std::memcpy(&mask, area.bytes + 28, sizeof mask);  // MXCSR_MASK, the same place in both word sizes
  return mask;
}

// Setting a bit the processor lacks would fault, so the mode keeps only those
// it has. Without denormals-are-zero, flush-to-zero alone still keeps every
// result out of the subnormal range.
constexpr unsigned audioModeFor(unsigned mxcsrMask) {
  return kWantedAudioMode & (mxcsrMask != 0 ? mxcsrMask : kDefaultMxcsrMask);
}

// Found once, when the module loads, never on the audio path.
inline const unsigned audioPathMode = audioModeFor(mxcsrMaskOfThisProcessor());

class DenormalGuard {
 public:
  DenormalGuard() : host(_mm_getcsr()) { _mm_setcsr(audioPathMode); }
  ~DenormalGuard() { _mm_setcsr(host); }
  DenormalGuard(const DenormalGuard&) = delete;
  DenormalGuard& operator=(const DenormalGuard&) = delete;

 private:
  const unsigned host;
};
