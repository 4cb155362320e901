// The table rows and widths of the eight programs, as the parameters give them.
#pragma once

#include <cstdint>

#include "dsp/program.h"
#include "parameters.h"

struct ProgramSelectors {
  int32_t gainRow[kBands], qSel[kBands];
};

inline void programSelectors(ProgramSelectors (&selectors)[kNumPrograms]) {
  static PROGRAM programs[kNumPrograms];
  writeBuiltInPrograms(programs);
  for (int p = 0; p < kNumPrograms; p++)
    for (int band = 0; band < kBands; band++) {
      selectors[p].gainRow[band] = gainRowFor(programs[p].gain[band]);
      selectors[p].qSel[band] = qSelFor(programs[p].q[band]);
    }
}
