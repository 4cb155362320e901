// One block of the equaliser: the frame loop around the cascade, in the
// floating-point mode of the audio path. No platform dependency.
#pragma once

#include <cstdint>

#include "../shared_word.h"
#include "cascade.h"
#include "denormal_guard.h"
#include "table_rates.h"

constexpr double kOutputOffset = 1e-29;  // added to every filtered output sample

// Every input sample of the frame is read before any output sample is
// written, so the host may pass the same buffers for both.
template <int Channels>
inline void processFrame(int32_t sampleRate, LaneMemory (&memory)[kBands], const int32_t (&gainRow)[kBands],
                         const int32_t (&qSel)[kBands], float** inputs, float** outputs, int32_t frame) {
  if (sampleRate != kRate44k && sampleRate != kRate96k) {
    // No table for this rate: bypassed, the memory frozen until a supported rate returns.
    for (int channel = 0; channel < Channels; channel++) outputs[channel][frame] = inputs[channel][frame];
    return;
  }
  const double right = Channels == 2 ? inputs[1][frame] : 0.0;  // a mono host's second buffer is never read
  __m128d samples = _mm_set_pd(right, inputs[0][frame]);
  if (sampleRate == kRate44k)
    samples = runCascade<0, Channels>(memory, gainRow, qSel, samples);
  else
    samples = runCascade<1, Channels>(memory, gainRow, qSel, samples);
  samples = _mm_add_pd(samples, _mm_set1_pd(kOutputOffset));
  outputs[0][frame] = float(_mm_cvtsd_f64(samples));
  if constexpr (Channels == 2) outputs[1][frame] = float(_mm_cvtsd_f64(_mm_unpackhi_pd(samples, samples)));
}

// The selectors are read anew in every frame: a change from another thread
// takes effect with the next frame, with no preparation per block to miss it.
// Only the filter memory is taken into lanes for the block and put back after.
inline void processCascadeBlock(BandMemory (&filterMemory)[kBands], const int32_t (&gainRow)[kBands],
                                const int32_t (&qSel)[kBands], const bool& monoInput, const int32_t& sampleRateInt,
                                float** inputs, float** outputs, int32_t frames) {
  if (frames <= 0) return;
  DenormalGuard guard;
  LaneMemory lanes[kBands];
  for (int band = 0; band < kBands; band++) lanes[band] = toLanes(filterMemory[band]);
  for (int32_t frame = 0; frame < frames; frame++) {
    const bool mono = loadShared(monoInput);
    const int32_t sampleRate = loadShared(sampleRateInt);
    if (mono)
      processFrame<1>(sampleRate, lanes, gainRow, qSel, inputs, outputs, frame);
    else
      processFrame<2>(sampleRate, lanes, gainRow, qSel, inputs, outputs, frame);
  }
  for (int band = 0; band < kBands; band++) fromLanes(lanes[band], filterMemory[band]);
}
