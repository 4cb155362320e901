// The cascade evaluated the plain way, band after band with a loop, for
// checking the plug-in's output bit for bit. Settings are held per block.
#pragma once

#include <cstdint>
#include <vector>

#include "dsp/section_memory.h"
#include "tables/coefficient_tables.h"

// One section step, one channel, in the order the result depends on.
inline double referenceStep(const CoefficientSet& c, SectionMemory& m, double x) {
  double y = c.b0 * x;
  y = y + c.b1 * m.x1;
  y = y + c.b2 * m.x2;
  y = y - c.a1 * m.y1;
  y = y - c.a2 * m.y2;
  m = {x, m.x1, y, m.y1};
  return y;
}

struct CascadeSettings {
  int rateSet;  // 0: 44100 Hz, 1: 96000 Hz, -1: a rate without tables
  int32_t gainRow[7];
  int32_t qSel[7];  // outside 0 to 2: the band passes its input on
};

struct StereoBlock {
  std::vector<float> left, right;
};

class ReferenceCascade {
 public:
  // A block with one setting for all of it. In mono the second output
  // carries the first; without tables the input passes, the memory frozen.
  StereoBlock run(const CascadeSettings& settings, const StereoBlock& input, int channels = 2) {
    StereoBlock output{std::vector<float>(input.left.size()), std::vector<float>(input.right.size())};
    for (size_t i = 0; i < input.left.size(); i++) {
      output.left[i] = frame(settings, 0, input.left[i]);
      output.right[i] = channels == 2 ? frame(settings, 1, input.right[i]) : output.left[i];
    }
    return output;
  }
  // One frame of one channel.
  float frame(const CascadeSettings& settings, int channel, float input) {
    if (settings.rateSet < 0) return input;
    double x = input;
    for (int band = 0; band < 7; band++) x = section(settings, band, channel, x);
    return float(x + 1e-29);
  }
  SectionMemory memory[7][2] = {};

 private:
  double section(const CascadeSettings& settings, int band, int channel, double x) {
    int32_t width = settings.qSel[band];
    if (width < 0 || width > 2) return x;
    return referenceStep(coefficientTables[settings.rateSet][band][width][settings.gainRow[band]],
                         memory[band][channel], x);
  }
};

// Deterministic noise in -1 to 1 on both channels.
inline StereoBlock noiseBlock(size_t frames, uint32_t seed) {
  StereoBlock block{std::vector<float>(frames), std::vector<float>(frames)};
  uint32_t state = seed;
  auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return float(int32_t(state) / 2147483648.0);
  };
  for (size_t i = 0; i < frames; i++) {
    block.left[i] = next();
    block.right[i] = next();
  }
  return block;
}
