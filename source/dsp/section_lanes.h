// One band's second-order section for both channels at once: left and right
// in the two lanes of a 128-bit register (left low, right high). Each lane
// does exactly the scalar double arithmetic in the same order, so the result
// is bit for bit that of one channel at a time.
// Internal linkage, as cascade_block.h says.
#pragma once

#include <emmintrin.h>

#include "cascade_block.h"

namespace {

// One band's memory for both channels, held in lanes while a block runs.
struct LaneMemory {
  __m128d x1, x2, y1, y2;
};

// The five coefficients of one row, each in both lanes. How they get there is
// the kernel's own (Rows::bothLanes).
struct RowInLanes {
  __m128d b0, b1, b2, a1, a2;
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

// Direct form I on both lanes; the order of the operations is part of the
// result. The memory is rotated rather than shifted: the new x1 and y1 take
// the places of the old x2 and y2, which are read for the last time here, and
// the phase tells which place holds which. Phase 0 is LaneMemory's own order;
// after an odd number of steps a band is in phase 1.
template <int Phase>
R4M_INLINE __m128d runSection(const RowInLanes& c, LaneMemory& m, __m128d x) {
  __m128d& x1 = Phase == 0 ? m.x1 : m.x2;
  __m128d& x2 = Phase == 0 ? m.x2 : m.x1;
  __m128d& y1 = Phase == 0 ? m.y1 : m.y2;
  __m128d& y2 = Phase == 0 ? m.y2 : m.y1;
  __m128d y = _mm_mul_pd(c.b0, x);
  y = _mm_add_pd(y, _mm_mul_pd(c.b1, x1));
  y = _mm_add_pd(y, _mm_mul_pd(c.b2, x2));
  y = _mm_sub_pd(y, _mm_mul_pd(c.a1, y1));
  y = _mm_sub_pd(y, _mm_mul_pd(c.a2, y2));
  x2 = x;
  y2 = y;
  return y;
}

// Swaps the places: memory read in one phase reads the same in the other.
R4M_INLINE void swapPhase(LaneMemory& m) {
  const LaneMemory rotated = m;
  m = {rotated.x2, rotated.x1, rotated.y2, rotated.y1};
}

// Each channel on its own row: the rare frame in which a concurrent change
// lands between the two reads of a band's row.
R4M_INLINE RowInLanes pairOfRows(const CoefficientSet& left, const CoefficientSet& right) {
  return {_mm_set_pd(right.b0, left.b0), _mm_set_pd(right.b1, left.b1), _mm_set_pd(right.b2, left.b2),
          _mm_set_pd(right.a1, left.a1), _mm_set_pd(right.a2, left.a2)};
}

// The same for the left lane alone (a mono input), with the memory shifted;
// the right lane's memory stays as it is.
R4M_INLINE __m128d runLeftSection(const RowInLanes& c, LaneMemory& m, __m128d x) {
  __m128d y = _mm_mul_sd(c.b0, x);
  y = _mm_add_sd(y, _mm_mul_sd(c.b1, m.x1));
  y = _mm_add_sd(y, _mm_mul_sd(c.b2, m.x2));
  y = _mm_sub_sd(y, _mm_mul_sd(c.a1, m.y1));
  y = _mm_sub_sd(y, _mm_mul_sd(c.a2, m.y2));
  m.y2 = _mm_move_sd(m.y2, m.y1);
  m.y1 = _mm_move_sd(m.y1, y);
  m.x2 = _mm_move_sd(m.x2, m.x1);
  m.x1 = _mm_move_sd(m.x1, x);
  return y;
}

}  // namespace
