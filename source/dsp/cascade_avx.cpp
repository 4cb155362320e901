// The kernel for processors with AVX: four bands to a register, VEX-encoded
// (this file is built with -mavx, never FMA), so that it also pays nothing for
// upper register halves that a host or another plug-in left in use.
#include <immintrin.h>

#include "cascade_kernels.h"
#include "lane_pipeline.h"

namespace {

struct AvxLanes {
  using Vector = __m256d;
  static constexpr int kWidth = 4;
  // Unaligned everywhere: 64-bit Windows does not keep the stack 32-byte aligned.
  static Vector load(const double* lanes) { return _mm256_loadu_pd(lanes); }
  static void store(double* lanes, Vector v) { _mm256_storeu_pd(lanes, v); }
  static bool allZero(__m128i v) { return _mm_testz_si128(v, v); }  // SSE4.1, which AVX includes
  static Vector zero() { return _mm256_setzero_pd(); }
  static Vector mul(Vector a, Vector b) { return _mm256_mul_pd(a, b); }
  static Vector add(Vector a, Vector b) { return _mm256_add_pd(a, b); }
  static Vector sub(Vector a, Vector b) { return _mm256_sub_pd(a, b); }
  static Vector mask(const uint64_t* lanes) {
    return _mm256_castsi256_pd(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(lanes)));
  }
  static Vector either(Vector a, Vector b) { return _mm256_or_pd(a, b); }
  // All ones in the lanes whose band lies outside newest to oldest.
  static Vector outside(int firstLane, int newest, int oldest) {
    const Vector lanes = _mm256_set_pd(firstLane + 3, firstLane + 2, firstLane + 1, firstLane);
    return _mm256_or_pd(_mm256_cmp_pd(lanes, _mm256_set1_pd(newest), _CMP_LT_OQ),
                        _mm256_cmp_pd(lanes, _mm256_set1_pd(oldest), _CMP_GT_OQ));
  }
  static Vector select(Vector keep, Vector ifKept, Vector otherwise) { return _mm256_blendv_pd(otherwise, ifKept, keep); }
  // (sample, own 0, own 1, own 2): the entering frame in lane 0, this group's
  // last outputs one lane up.
  static Vector enter(double sample, Vector own) {
    const Vector low = _mm256_permute2f128_pd(_mm256_castpd128_pd256(_mm_set_sd(sample)), own, 0x20);
    return _mm256_shuffle_pd(low, own, 0x4);
  }
  // (below 3, own 0, own 1, own 2): the top lane of the group below comes in at the bottom.
  static Vector shiftIn(Vector below, Vector own) {
    return _mm256_shuffle_pd(_mm256_permute2f128_pd(below, own, 0x21), own, 0x5);
  }
  static double lane(Vector v, int k) {
    const __m128d half = k < 2 ? _mm256_castpd256_pd128(v) : _mm256_extractf128_pd(v, 1);
    return _mm_cvtsd_f64(k % 2 == 0 ? half : _mm_unpackhi_pd(half, half));
  }
};

template <int RateSet, int Channels>
using AvxRun = LaneCascade<AvxLanes, RateSet, Channels>;

}  // namespace

void runCascadeBlockAvx(BandMemory (&filterMemory)[kBands], const int32_t (&gainRow)[kBands],
                        const int32_t (&qSel)[kBands], const bool& monoInput, const int32_t& sampleRateInt,
                        float** inputs, float** outputs, int32_t frames) {
  runCascadeBlock<AvxRun>(filterMemory, gainRow, qSel, monoInput, sampleRateInt, inputs, outputs, frames);
}
