// Parameters, their derived selectors, the editor notification and MIDI learn.
#include <cstdio>
#include <cstring>

#include "../gui/gui.h"
#include "../shared_word.h"
#include "stdvst.h"

namespace {

enum class ParamGroup { gain, q, controller, none };

ParamGroup groupOf(VstInt32 index) {
  if (index >= kFirstGainParam && index < kFirstGainParam + kBands) return ParamGroup::gain;
  if (index >= kFirstQParam && index < kFirstQParam + kBands) return ParamGroup::q;
  if (index >= kFirstCcParam && index < kFirstCcParam + kBands) return ParamGroup::controller;
  return ParamGroup::none;
}

const char kUnnamed[] = "-------------------";  // 19 hyphens: the bindings and every unknown index

}  // namespace

void stdvst::setParameter(VstInt32 index, float value) {
  PROGRAM& program = current();
  switch (groupOf(index)) {
    case ParamGroup::gain: {
      int band = index - kFirstGainParam;
      pval->gainValue[band] = value;
      program.gain[band] = value;
      storeShared(gainRow[band], gainRowFor(value));
      break;
    }
    case ParamGroup::q: {
      int band = index - kFirstQParam;
      program.q[band] = value;
      storeShared(pval->qSel[band], qSelFor(value));
      break;
    }
    case ParamGroup::controller: {
      int band = index - kFirstCcParam;
      program.cc[band] = value;
      ccNumber[band] = ccNumberFor(value);
      break;
    }
    case ParamGroup::none:
      if (index == kForgetCommand) {
        int32_t band = forgetBandFor(value);
        if (band >= 1 && band <= kBands) {
          // Unbound as a built-in program is: a stored 0.0 would mean controller 0
          // (bank select, which many hosts send with every program change).
          ccNumber[band - 1] = kUnboundController;
          program.cc[band - 1] = kUnboundValue;
        }
      }
      break;
  }
  if (loadShared(pval->editorOpen) != 0) gui->updateControl(value, index);
}

float stdvst::getParameter(VstInt32 index) {
  const PROGRAM& program = current();
  switch (groupOf(index)) {
    case ParamGroup::gain:
      lastParameterValue = program.gain[index - kFirstGainParam];
      break;
    case ParamGroup::q:
      lastParameterValue = program.q[index - kFirstQParam];
      break;
    case ParamGroup::controller:
      lastParameterValue = program.cc[index - kFirstCcParam];
      break;
    case ParamGroup::none:
      break;
  }
  return lastParameterValue;
}

void stdvst::getParameterName(VstInt32 index, char* text) {
  switch (groupOf(index)) {
    case ParamGroup::gain:
      std::sprintf(text, "Flt %02d Gain", int(index - kFirstGainParam + 1));
      break;
    case ParamGroup::q:
      std::sprintf(text, "Flt %02d Q", int(index - kFirstQParam + 1));
      break;
    default:
      std::strcpy(text, kUnnamed);
      break;
  }
}

VstInt32 stdvst::processEvents(VstEvents* events) {
  VstEvent* const* list = events->events;  // really numEvents entries
  for (VstInt32 i = 0; i < events->numEvents; i++) {
    const VstEvent* event = list[i];
    if (!event || event->type != kVstMidiType) continue;
    const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
    auto status = static_cast<unsigned char>(midi->midiData[0]);
    if ((status & 0xF0) != 0xB0) continue;  // control change, any channel
    learnAndFollow(midi->midiData[1] & 0x7F, midi->midiData[2] & 0x7F);
  }
  return 1;
}

// The first control change after the user armed a band binds its controller
// there; every band bound to the controller then follows it, lowest band first.
void stdvst::learnAndFollow(int controller, int controllerValue) {
  int32_t gesture = loadShared(gui->learnGesture);  // before the band, which the editor writes first
  if (gesture != lastLearnGesture) {
    lastLearnGesture = gesture;
    int32_t target = loadShared(gui->learnTarget);
    if (target >= 1 && target <= kBands) {
      ccNumber[target - 1] = controller;
      current().cc[target - 1] = float(controller * 0.001);
    }
  }
  for (int band = 0; band < kBands; band++)
    if (ccNumber[band] == controller)
      setParameterAutomated(kFirstGainParam + band, gainForControllerValue(controllerValue));
}
