// Editor base class: the operations the dispatcher forwards to an editor, with
// their defaults. A concrete editor overrides what it needs.
#pragma once

#include "aeffect.h"

class AudioEffect;

class AEffEditor {
 public:
  explicit AEffEditor(AudioEffect* effect);
  virtual ~AEffEditor() = default;

  // Stores null: an editor without a rectangle has none to offer.
  virtual VstInt32 getRect(ERect** rect) {
    *rect = nullptr;
    return 0;
  }
  virtual VstInt32 open(void* parentWindow) {
    systemWindow = parentWindow;
    return 0;
  }
  virtual void close() {}
  virtual void idle() {
    if (updateFlag) {
      updateFlag = 0;
      update();
    }
  }
  virtual void update() {}
  virtual void postUpdate() { updateFlag = 1; }
  virtual VstInt32 onKeyDown(VstKeyCode&) { return -1; }  // -1: not handled
  virtual VstInt32 onKeyUp(VstKeyCode&) { return -1; }
  virtual VstInt32 setKnobMode(VstInt32) { return 0; }
  virtual bool onWheel(float) { return false; }

 protected:
  AudioEffect* effect;
  void* systemWindow = nullptr;
  VstInt32 updateFlag = 0;
};
