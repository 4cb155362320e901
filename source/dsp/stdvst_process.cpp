// The audio entries: the equaliser (replacing) and the accumulating variant,
// which mixes the input into the output and filters nothing.
#include "cascade_kernels.h"
#include "stdvst.h"

void stdvst::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  processCascadeBlock(filterMemory, gainRow, pval->qSel, monoInput, sampleRateInt, inputs, outputs, sampleFrames);
}

void stdvst::process(float** inputs, float** outputs, VstInt32 sampleFrames) {
  for (VstInt32 i = 0; i < sampleFrames; i++) {
    outputs[0][i] += inputs[0][i];
    outputs[1][i] += inputs[1][i];
  }
}
