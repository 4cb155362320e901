// The audio entries: the equaliser (replacing) and the accumulating variant,
// which mixes the input into the output and filters nothing.
#include "../shared_word.h"
#include "cascade.h"
#include "stdvst.h"

namespace {

constexpr double kOutputOffset = 1e-29;  // added to every filtered output sample

// Every input sample of the frame is read before any output sample is
// written, so the host may pass the same buffers for both.
template <int Channels>
void processFrame(int32_t sampleRate, LaneMemory (&memory)[kBands], const int32_t (&gainRow)[kBands],
                  const int32_t (&qSel)[kBands], float** inputs, float** outputs, VstInt32 frame) {
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

}  // namespace

// The selectors are read anew in every frame: a change from another thread
// takes effect with the next frame, with no preparation per block to miss it.
// Only the filter memory is taken into lanes for the block and put back after.
void stdvst::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  if (sampleFrames <= 0) return;
  LaneMemory lanes[kBands];
  for (int band = 0; band < kBands; band++) lanes[band] = toLanes(filterMemory[band]);
  for (VstInt32 frame = 0; frame < sampleFrames; frame++) {
    const bool mono = loadShared(monoInput);
    const int32_t sampleRate = loadShared(sampleRateInt);
    if (mono)
      processFrame<1>(sampleRate, lanes, gainRow, pval->qSel, inputs, outputs, frame);
    else
      processFrame<2>(sampleRate, lanes, gainRow, pval->qSel, inputs, outputs, frame);
  }
  for (int band = 0; band < kBands; band++) fromLanes(lanes[band], filterMemory[band]);
}

void stdvst::process(float** inputs, float** outputs, VstInt32 sampleFrames) {
  for (VstInt32 i = 0; i < sampleFrames; i++) {
    outputs[0][i] += inputs[0][i];
    outputs[1][i] += inputs[1][i];
  }
}
