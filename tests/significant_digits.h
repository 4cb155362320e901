// Tolerances for values quoted to a number of significant digits.
#pragma once

#include <cmath>

// Half a unit in the last quoted digit of the value, with a little room for
// the value's own rounding.
inline double roundingOf(double quoted, int digits) {
  double lastDigit = std::pow(10.0, std::floor(std::log10(std::fabs(quoted))) - (digits - 1));
  return 0.51 * lastDigit;
}
