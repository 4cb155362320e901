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

class DenormalGuard {
 public:
  DenormalGuard() : host(_mm_getcsr()) { _mm_setcsr(kAudioMode); }
  ~DenormalGuard() { _mm_setcsr(host); }
  DenormalGuard(const DenormalGuard&) = delete;
  DenormalGuard& operator=(const DenormalGuard&) = delete;

 private:
  static constexpr unsigned kAudioMode = _MM_MASK_MASK | _MM_ROUND_NEAREST | _MM_FLUSH_ZERO_ON | _MM_DENORMALS_ZERO_ON;
  const unsigned host;
};
