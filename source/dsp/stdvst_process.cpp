// The audio entries: the equaliser (replacing) and the accumulating variant,
// which mixes the input into the output and filters nothing.
#include "cascade_kernels.h"
#include "../shared_word.h"
#include "stdvst.h"

void stdvst::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  processCascadeBlock(filterMemory, gainRow, pval->qSel, monoInput, sampleRateInt, inputs, outputs, sampleFrames);
}

// In mono the second output takes the first input, as processReplacing gives
// both outputs the first channel; a mono host's second input is never read.
void stdvst::process(float** inputs, float** outputs, VstInt32 sampleFrames) {
  const float* right = loadShared(monoInput) ? inputs[0] : inputs[1];
  for (VstInt32 i = 0; i < sampleFrames; i++) {
    const float left = inputs[0][i], rightSample = right[i];  // both read before either output is written
    outputs[0][i] += left;
    outputs[1][i] += rightSample;
  }
}
