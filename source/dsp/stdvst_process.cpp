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
void processFrame(int32_t sampleRate, BandMemory (&memory)[kBands], const int32_t (&gainRow)[kBands],
                  const int32_t (&qSel)[kBands], float** inputs, float** outputs, VstInt32 frame) {
  if (sampleRate != kRate44k && sampleRate != kRate96k) {
    // No table for this rate: bypassed, the memory frozen until a supported rate returns.
    for (int channel = 0; channel < Channels; channel++) outputs[channel][frame] = inputs[channel][frame];
    return;
  }
  double samples[2];
  for (int channel = 0; channel < Channels; channel++) samples[channel] = inputs[channel][frame];
  if (sampleRate == kRate44k)
    runCascade<0, Channels>(memory, gainRow, qSel, samples);
  else
    runCascade<1, Channels>(memory, gainRow, qSel, samples);
  for (int channel = 0; channel < Channels; channel++) outputs[channel][frame] = float(samples[channel] + kOutputOffset);
}

}  // namespace

// The selectors are read anew in every frame: a change from another thread
// takes effect with the next frame, with no preparation per block to miss it.
void stdvst::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  for (VstInt32 frame = 0; frame < sampleFrames; frame++) {
    const bool mono = loadShared(monoInput);
    const int32_t sampleRate = loadShared(sampleRateInt);
    if (mono)
      processFrame<1>(sampleRate, filterMemory, gainRow, pval->qSel, inputs, outputs, frame);
    else
      processFrame<2>(sampleRate, filterMemory, gainRow, pval->qSel, inputs, outputs, frame);
  }
}

void stdvst::process(float** inputs, float** outputs, VstInt32 sampleFrames) {
  for (VstInt32 i = 0; i < sampleFrames; i++) {
    outputs[0][i] += inputs[0][i];
    outputs[1][i] += inputs[1][i];
  }
}
