// Host services of the AudioEffect level: each is one call of the host callback.
#include "audio_effect.h"

VstInt32 AudioEffect::getMasterVersion() {
  VstIntPtr version = callHost(audioMasterVersion, 0, 0, nullptr, 0.0f, 1);
  return version ? VstInt32(version) : 1;  // a host that answers 0 still speaks version 1
}

VstInt32 AudioEffect::getCurrentUniqueId() { return VstInt32(callHost(audioMasterCurrentId, 0, 0, nullptr, 0.0f)); }

void AudioEffect::masterIdle() { callHost(audioMasterIdle, 0, 0, nullptr, 0.0f); }

// The host answers 0 for a connected pin; without a host every pin counts as connected.
bool AudioEffect::isInputConnected(VstInt32 input) {
  return callHost(audioMasterPinConnected, input, 0, nullptr, 0.0f, 0) == 0;
}

bool AudioEffect::isOutputConnected(VstInt32 output) {
  return callHost(audioMasterPinConnected, output, 1, nullptr, 0.0f, 0) == 0;
}
