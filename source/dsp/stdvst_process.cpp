// The accumulating audio entry: mixes the input into the output, filters nothing.
#include "stdvst.h"

void stdvst::process(float** inputs, float** outputs, VstInt32 sampleFrames) {
  for (VstInt32 i = 0; i < sampleFrames; i++) {
    outputs[0][i] += inputs[0][i];
    outputs[1][i] += inputs[1][i];
  }
}
