// A bare effect and editor on the base classes, for testing the frame alone.
#pragma once

#include <vector>

#include "aeff_editor.h"
#include "audio_effect_x.h"

class ProbeEffect : public AudioEffectX {
 public:
  explicit ProbeEffect(audioMasterCallback host) : AudioEffectX(host, 4, 3) {}
  void process(float**, float**, VstInt32) override {}
  void setParameter(VstInt32 index, float value) override { setCalls.push_back({index, value}); }
  struct SetCall {
    VstInt32 index;
    float value;
  };
  std::vector<SetCall> setCalls;
  using AudioEffect::callHost;
  AEffect& record() { return effectRecord; }
  float storedSampleRate() const { return sampleRate; }
  VstInt32 storedBlockSize() const { return blockSize; }
};

class ProbeEditor : public AEffEditor {
 public:
  using AEffEditor::AEffEditor;
  VstInt32 onKeyDown(VstKeyCode& key) override {
    keys.push_back(key);
    return 7;
  }
  std::vector<VstKeyCode> keys;
};
