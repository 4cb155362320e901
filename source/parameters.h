// The 21 host parameters and their quantisation into the selectors the filter
// engine and the editor read. No platform dependency.
#pragma once

#include <cstdint>

#include "../base/truncate.h"
#include "pval.h"

constexpr int32_t kNumParams = 21;
constexpr int32_t kFirstGainParam = 0;   // 0 to 6: gains of bands 1 to 7
constexpr int32_t kFirstQParam = 7;      // 7 to 13: width switches
constexpr int32_t kFirstCcParam = 14;    // 14 to 20: MIDI controller bindings
constexpr int32_t kForgetCommand = 200;  // not a parameter: unbinds one band
constexpr int32_t kUnboundController = -1000;  // what the stored -1.0 gives; matches no controller
constexpr float kUnboundValue = -1.0f;         // the stored binding of a band with no controller

constexpr int32_t kLowestRow = 0, kHighestRow = 99;
constexpr int32_t kNeutralRow = 49;  // gain 0.5, flat within 1e-7
constexpr int32_t kHighestQSel = 10;  // what 1.0 gives; only 0 to 2 select a width
constexpr int32_t kMediumQSel = 1;

// The product is formed in double from the float (exact) and truncated toward
// zero. Values outside 0 to 1 are limited to what the ends give; NaN, which has
// no place on any scale, takes the neutral setting of a new program.
inline int32_t gainRowFor(float value) {
  return truncateClamped(double(value) * 99.0, kLowestRow, kHighestRow, kNeutralRow);
}
inline int32_t qSelFor(float value) { return truncateClamped(double(value) * 10.0, 0, kHighestQSel, kMediumQSel); }
inline int32_t ccNumberFor(float value) {
  return truncateClamped(double(value) * 1000.0, kUnboundController, 1000, kUnboundController);
}
// The band number carried by the forget command; anything but 1 to 7 acts on none.
inline int32_t forgetBandFor(float value) { return truncateClamped(double(value), 0, kBands + 1, 0); }

// A controller value 0 to 127 as a gain: the constant is the double just below
// 1/127, so 127 gives exactly 1.0f.
inline float gainForControllerValue(int controllerValue) {
  return float(controllerValue * 0.00787401574803149);
}
