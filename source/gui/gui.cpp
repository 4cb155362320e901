#include "gui.h"

#include "../../base/audio_effect.h"
#include "../parameters.h"
#include "../shared_word.h"

Gui::Gui(AudioEffect* effect) : AEffEditor(effect), pval(new PVAL{}) { initPVAL(*pval); }

VstInt32 Gui::getRect(ERect** out) {
  *out = &rect;
  return 0;
}

VstInt32 Gui::open(void* parentWindow) {
  systemWindow = parentWindow;
  storeShared(pval->editorOpen, int32_t(1));
  return 1;
}

void Gui::close() { storeShared(pval->editorOpen, int32_t(0)); }

void Gui::updateControl(float value, int32_t index) {
  if (index >= kFirstGainParam && index < kFirstGainParam + kBands) {
    int band = index - kFirstGainParam;
    storeShared(knob[band].frame, knobFrameFor(value));
    storeShared(knobChanged[band], true);
    if (loadShared(activeControl) != kFirstKnobControl + band) storeShared(knob[band].resync, true);
  } else if (index >= kFirstQParam && index < kFirstQParam + kBands) {
    storeShared(qChanged[index - kFirstQParam], true);
  }
  storeShared(anyChanged, true);
}
