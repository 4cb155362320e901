// One frame of the seven-band cascade: a second-order section per band and
// channel, in band order, each taking its coefficients straight from the table
// of its rate set, band and width. Templates give every (rate set, band,
// width) its own block addressing its own table; the selectors are read anew
// in every frame, so a change takes effect with the next frame.
//
// Left and right run in the two lanes of SSE2 registers (left low, right
// high): each lane does exactly the scalar double arithmetic, in the same
// order, so the result is bit for bit that of one channel at a time.
#pragma once

#include <emmintrin.h>

#include <cstdint>
#include <utility>

#include "../pval.h"
#include "../shared_word.h"
#include "../tables/coefficient_tables.h"
#include "section_memory.h"

using BandMemory = SectionMemory[2];  // left, right

// One band's memory for both channels, held in lanes while a block runs.
struct LaneMemory {
  __m128d x1, x2, y1, y2;
};

// Eight-byte loads, matching the stores of fromLanes: a wider load across two
// of them would wait for both to retire at the start of every block.
inline __m128d laneOf(const double& left, const double& right) {
  return _mm_loadh_pd(_mm_load_sd(&left), &right);
}

inline LaneMemory toLanes(const BandMemory& m) {
  return {laneOf(m[0].x1, m[1].x1), laneOf(m[0].x2, m[1].x2), laneOf(m[0].y1, m[1].y1), laneOf(m[0].y2, m[1].y2)};
}

inline void fromLanes(const LaneMemory& lanes, BandMemory& m) {
  _mm_storel_pd(&m[0].x1, lanes.x1);
  _mm_storeh_pd(&m[1].x1, lanes.x1);
  _mm_storel_pd(&m[0].x2, lanes.x2);
  _mm_storeh_pd(&m[1].x2, lanes.x2);
  _mm_storel_pd(&m[0].y1, lanes.y1);
  _mm_storeh_pd(&m[1].y1, lanes.y1);
  _mm_storel_pd(&m[0].y2, lanes.y2);
  _mm_storeh_pd(&m[1].y2, lanes.y2);
}

// Direct form I for both channels, each on its own row: the rare frame in
// which a concurrent change lands between the two reads of a band's row.
// The order of the operations is part of the result.
inline __m128d runSections(const CoefficientSet& left, const CoefficientSet& right, LaneMemory& m, __m128d x) {
  __m128d y = _mm_mul_pd(_mm_set_pd(right.b0, left.b0), x);
  y = _mm_add_pd(y, _mm_mul_pd(_mm_set_pd(right.b1, left.b1), m.x1));
  y = _mm_add_pd(y, _mm_mul_pd(_mm_set_pd(right.b2, left.b2), m.x2));
  y = _mm_sub_pd(y, _mm_mul_pd(_mm_set_pd(right.a1, left.a1), m.y1));
  y = _mm_sub_pd(y, _mm_mul_pd(_mm_set_pd(right.a2, left.a2), m.y2));
  m.y2 = m.y1;
  m.y1 = y;
  m.x2 = m.x1;
  m.x1 = x;
  return y;
}

// Two neighbouring coefficients of a row in one 16-byte load, and each of them
// copied to both lanes. pshufd runs on two ports where the pairing loads of
// runSections share one shuffle port, which would then take 35 of its cycles
// every frame.
inline __m128i neighboursAt(const double& first) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(&first));
}
inline __m128d lowInBoth(__m128i pair) { return _mm_castsi128_pd(_mm_shuffle_epi32(pair, 0x44)); }
inline __m128d highInBoth(__m128i pair) { return _mm_castsi128_pd(_mm_shuffle_epi32(pair, 0xEE)); }

// The same step with both channels on one row, as in almost every frame.
inline __m128d runSectionsOnRow(const CoefficientSet& set, LaneMemory& m, __m128d x) {
  const __m128i b0b1 = neighboursAt(set.b0), b2a1 = neighboursAt(set.b2), a1a2 = neighboursAt(set.a1);
  __m128d y = _mm_mul_pd(lowInBoth(b0b1), x);
  y = _mm_add_pd(y, _mm_mul_pd(highInBoth(b0b1), m.x1));
  y = _mm_add_pd(y, _mm_mul_pd(lowInBoth(b2a1), m.x2));
  y = _mm_sub_pd(y, _mm_mul_pd(highInBoth(b2a1), m.y1));
  y = _mm_sub_pd(y, _mm_mul_pd(highInBoth(a1a2), m.y2));
  m.y2 = m.y1;
  m.y1 = y;
  m.x2 = m.x1;
  m.x1 = x;
  return y;
}

// The same for the left lane alone (a mono input); the right lane's memory stays as it is.
inline __m128d runLeftSection(const CoefficientSet& set, LaneMemory& m, __m128d x) {
  __m128d y = _mm_mul_sd(_mm_set_sd(set.b0), x);
  y = _mm_add_sd(y, _mm_mul_sd(_mm_set_sd(set.b1), m.x1));
  y = _mm_add_sd(y, _mm_mul_sd(_mm_set_sd(set.b2), m.x2));
  y = _mm_sub_sd(y, _mm_mul_sd(_mm_set_sd(set.a1), m.y1));
  y = _mm_sub_sd(y, _mm_mul_sd(_mm_set_sd(set.a2), m.y2));
  m.y2 = _mm_move_sd(m.y2, m.y1);
  m.y1 = _mm_move_sd(m.y1, y);
  m.x2 = _mm_move_sd(m.x2, m.x1);
  m.x1 = _mm_move_sd(m.x1, x);
  return y;
}

// Takes the previous band's output and gives this band's. In stereo the row
// is read once for each channel.
template <int RateSet, int Band, int Width, int Channels>
inline __m128d runBand(LaneMemory& memory, const int32_t& gainRow, __m128d handOver) {
  const CoefficientSet(&table)[kGainRows] = coefficientTables[RateSet][Band][Width];
  const int32_t leftRow = loadShared(gainRow);
  if constexpr (Channels == 1) {
    return runLeftSection(table[leftRow], memory, handOver);
  } else {
    const int32_t rightRow = loadShared(gainRow);
    if (__builtin_expect(rightRow == leftRow, 1)) return runSectionsOnRow(table[leftRow], memory, handOver);
    return runSections(table[leftRow], table[rightRow], memory, handOver);
  }
}

template <int RateSet, int Band, int Channels>
inline __m128d runBandAtItsWidth(LaneMemory& memory, const int32_t& gainRow, const int32_t& qSel, __m128d handOver) {
  switch (loadShared(qSel)) {
    case 0: return runBand<RateSet, Band, 0, Channels>(memory, gainRow, handOver);
    case 1: return runBand<RateSet, Band, 1, Channels>(memory, gainRow, handOver);
    case 2: return runBand<RateSet, Band, 2, Channels>(memory, gainRow, handOver);
    default: return handOver;  // a Q parameter of 0.3 or more names no width: the band passes its input on
  }
}

template <int RateSet, int Channels, int... Bands>
inline __m128d runBands(std::integer_sequence<int, Bands...>, LaneMemory (&memory)[kBands],
                        const int32_t (&gainRow)[kBands], const int32_t (&qSel)[kBands], __m128d samples) {
  ((samples = runBandAtItsWidth<RateSet, Bands, Channels>(memory[Bands], gainRow[Bands], qSel[Bands], samples)), ...);
  return samples;
}

// The frame's samples in, its filtered samples out. Channels is 1 for a mono
// input (the left lane only) and 2 for stereo.
template <int RateSet, int Channels>
inline __m128d runCascade(LaneMemory (&memory)[kBands], const int32_t (&gainRow)[kBands],
                          const int32_t (&qSel)[kBands], __m128d samples) {
  return runBands<RateSet, Channels>(std::make_integer_sequence<int, kBands>(), memory, gainRow, qSel, samples);
}
