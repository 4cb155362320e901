// The kernel for processors with AVX: the same pipeline, VEX-encoded (this file
// is built with -mavx, never FMA), so it pays nothing for upper register halves
// that a host or another plug-in left in use.
#include <pmmintrin.h>

#include "cascade_kernels.h"
#include "cascade_pipeline.h"

namespace {

// vmovddup from memory fills both lanes with one coefficient as a plain load,
// with no shuffle at all.
struct AvxRows {
  static RowInLanes bothLanes(const CoefficientSet& set) {
    return {_mm_loaddup_pd(&set.b0), _mm_loaddup_pd(&set.b1), _mm_loaddup_pd(&set.b2), _mm_loaddup_pd(&set.a1),
            _mm_loaddup_pd(&set.a2)};
  }
};

}  // namespace

void runCascadeBlockAvx(BandMemory (&filterMemory)[kBands], const int32_t (&gainRow)[kBands],
                        const int32_t (&qSel)[kBands], const bool& monoInput, const int32_t& sampleRateInt,
                        float** inputs, float** outputs, int32_t frames) {
  runCascadeBlock<AvxRows>(filterMemory, gainRow, qSel, monoInput, sampleRateInt, inputs, outputs, frames);
}
