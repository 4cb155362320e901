// Float-to-integer conversion that never leaves the int range: converting an
// out-of-range or NaN value is undefined in C++ (and gives INT_MIN on x86).
#pragma once

#include <cstdint>

// Truncates x toward zero and limits the result to [lo, hi]; NaN gives nanValue.
constexpr int32_t truncateClamped(double x, int32_t lo, int32_t hi, int32_t nanValue) {
  if (x != x) return nanValue;
  if (x <= double(lo)) return lo;
  if (x >= double(hi)) return hi;
  return int32_t(x);
}
