// The SSE floating-point mode for a stretch of test code, set here by hand so
// that the tests do not lean on the product's own guard.
#pragma once

#include <xmmintrin.h>

constexpr unsigned kNearestMasked = 0x1F80;  // round to nearest, every exception masked: the usual mode
constexpr unsigned kFlushToZero = 0x8000, kDenormalsAreZero = 0x0040;
constexpr unsigned kAudioPathMode = kNearestMasked | kFlushToZero | kDenormalsAreZero;

template <class Body>
void underMode(unsigned mode, Body body) {
  const unsigned saved = _mm_getcsr();
  _mm_setcsr(mode);
  body();
  _mm_setcsr(saved);
}
