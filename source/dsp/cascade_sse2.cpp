// The kernel for every processor with SSE2: each band in a register of its
// own, the two channels in its lanes (the bands-in-lanes layout of the AVX
// kernel needs more registers than SSE2 has to be faster).
#include "band_pipeline.h"
#include "cascade_kernels.h"

namespace {

// Two neighbouring coefficients of a row in one 16-byte load, and each of them
// copied to both lanes: SSE2 has no load that fills both lanes, and pshufd
// runs on two ports where the pairing loads share one shuffle port.
struct Sse2Rows {
  static __m128i pairAt(const double& first) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(&first)); }
  static __m128d low(__m128i pair) { return _mm_castsi128_pd(_mm_shuffle_epi32(pair, 0x44)); }
  static __m128d high(__m128i pair) { return _mm_castsi128_pd(_mm_shuffle_epi32(pair, 0xEE)); }
  static RowInLanes bothLanes(const CoefficientSet& set) {
    const __m128i b0b1 = pairAt(set.b0), b2a1 = pairAt(set.b2), a1a2 = pairAt(set.a1);
    return {low(b0b1), high(b0b1), low(b2a1), high(b2a1), high(a1a2)};
  }
};

template <int RateSet, int Channels>
using Sse2Run = BandCascade<Sse2Rows, RateSet, Channels>;

}  // namespace

void runCascadeBlockSse2(BandMemory (&filterMemory)[kBands], const int32_t (&gainRow)[kBands],
                         const int32_t (&qSel)[kBands], const bool& monoInput, const int32_t& sampleRateInt,
                         float** inputs, float** outputs, int32_t frames) {
  runCascadeBlock<Sse2Run>(filterMemory, gainRow, qSel, monoInput, sampleRateInt, inputs, outputs, frames);
}
