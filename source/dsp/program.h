// One program: a name and the stored values of the 21 parameters.
#pragma once

#include "../pval.h"

constexpr int kNumPrograms = 8;
constexpr int kProgramNameChars = 23;  // visible characters; a terminating zero follows

struct PROGRAM {
  PROGRAM();
  char name[kProgramNameChars + 1];
  float q[kBands];     // parameters 7 to 13
  float gain[kBands];  // parameters 0 to 6
  float cc[kBands];    // parameters 14 to 20: controller number × 0.001, -1.0 unbound
};

// Writes the built-in programs 1 to 7 (names, Q and gain values); program 0 and
// every controller binding are left as they are.
void writeBuiltInPrograms(PROGRAM programs[kNumPrograms]);
