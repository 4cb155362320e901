// One frame of the seven-band cascade: a second-order section per band and
// channel, in band order, each taking its coefficients straight from the table
// of its rate set, band and width. Templates give every (rate set, band,
// width) its own block addressing its own table; the selectors are read anew
// in every frame, so a change takes effect with the next frame.
#pragma once

#include <cstdint>
#include <utility>

#include "../pval.h"
#include "../shared_word.h"
#include "../tables/coefficient_tables.h"
#include "section_memory.h"

using BandMemory = SectionMemory[2];  // left, right

// Direct form I. The order of the operations is part of the result.
inline double runSection(const CoefficientSet& set, SectionMemory& memory, double x) {
  double y = set.b0 * x;
  y = y + set.b1 * memory.x1;
  y = y + set.b2 * memory.x2;
  y = y - set.a1 * memory.y1;
  y = y - set.a2 * memory.y2;
  memory.y2 = memory.y1;
  memory.y1 = y;
  memory.x2 = memory.x1;
  memory.x1 = x;
  return y;
}

// handOver holds the previous band's output per channel and receives this band's.
template <int RateSet, int Band, int Width, int Channels>
inline void runBand(BandMemory& memory, const int32_t& gainRow, double (&handOver)[2]) {
  for (int channel = 0; channel < Channels; channel++) {
    const CoefficientSet& set = coefficientTables[RateSet][Band][Width][loadShared(gainRow)];
    handOver[channel] = runSection(set, memory[channel], handOver[channel]);
  }
}

template <int RateSet, int Band, int Channels>
inline void runBandAtItsWidth(BandMemory& memory, const int32_t& gainRow, const int32_t& qSel,
                              double (&handOver)[2]) {
  switch (loadShared(qSel)) {
    case 0: runBand<RateSet, Band, 0, Channels>(memory, gainRow, handOver); break;
    case 1: runBand<RateSet, Band, 1, Channels>(memory, gainRow, handOver); break;
    case 2: runBand<RateSet, Band, 2, Channels>(memory, gainRow, handOver); break;
    default: break;  // a Q parameter of 0.3 or more names no width: the band passes its input on
  }
}

template <int RateSet, int Channels, int... Bands>
inline void runBands(std::integer_sequence<int, Bands...>, BandMemory (&memory)[kBands],
                     const int32_t (&gainRow)[kBands], const int32_t (&qSel)[kBands], double (&handOver)[2]) {
  (runBandAtItsWidth<RateSet, Bands, Channels>(memory[Bands], gainRow[Bands], qSel[Bands], handOver), ...);
}

// The frame's samples in, its filtered samples out. Channels is 1 for a mono
// input (the left memories only) and 2 for stereo.
template <int RateSet, int Channels>
inline void runCascade(BandMemory (&memory)[kBands], const int32_t (&gainRow)[kBands], const int32_t (&qSel)[kBands],
                       double (&samples)[2]) {
  runBands<RateSet, Channels>(std::make_integer_sequence<int, kBands>(), memory, gainRow, qSel, samples);
}
