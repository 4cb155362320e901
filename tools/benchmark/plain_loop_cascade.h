// The baseline: the same cascade as plain scalar code, every band found
// through its indices in every frame, left then right, in the host's
// floating-point mode.
#pragma once

#include <cstdint>

#include "dsp/section_memory.h"
#include "pval.h"
#include "shared_word.h"
#include "tables/coefficient_tables.h"

class PlainLoopCascade {
 public:
  void processReplacing(float** inputs, float** outputs, int32_t frames) {
    for (int32_t i = 0; i < frames; i++) {
      double samples[2] = {inputs[0][i], inputs[1][i]};
      for (int band = 0; band < kBands; band++) {
        const int32_t width = loadShared(qSel[band]);
        if (width < 0 || width > 2) continue;
        for (int channel = 0; channel < 2; channel++) {
          const CoefficientSet& c = coefficientTables[0][band][width][loadShared(gainRow[band])];
          SectionMemory& m = memory[band][channel];
          double y = c.b0 * samples[channel];
          y = y + c.b1 * m.x1;
          y = y + c.b2 * m.x2;
          y = y - c.a1 * m.y1;
          y = y - c.a2 * m.y2;
          m = {samples[channel], m.x1, y, m.y1};
          samples[channel] = y;
        }
      }
      for (int channel = 0; channel < 2; channel++) outputs[channel][i] = float(samples[channel] + 1e-29);
    }
  }
  int32_t gainRow[kBands] = {}, qSel[kBands] = {};
  SectionMemory memory[kBands][2] = {};
};
