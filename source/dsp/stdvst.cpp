// Construction, lifecycle, identity and the sample-rate policy.
#include "stdvst.h"

#include <cstring>
#include <new>

#include "../gui/gui.h"
#include "../shared_word.h"
#include "rate_warning.h"

namespace {

bool copyText(char* target, const char* source) {
  std::strcpy(target, source);
  return true;
}

}  // namespace

stdvst::stdvst(audioMasterCallback hostCallback) : AudioEffectX(hostCallback, kNumPrograms, kNumParams) {
  programs = nullptr;
  gui = new (std::nothrow) Gui(this);  // attaches itself: editor pointer and HasEditor flag
  if (!gui) return;
  editor = gui;
  canMono();
  pval = gui->sharedRecord();
  if (!pval) return;
  programs = new (std::nothrow) PROGRAM[kNumPrograms];
  if (!programs) return;
  currentProgram = 0;
  applyGains(programs[0]);
  applyQs(programs[0]);
  applyGains(programs[0]);
  canProcessReplacing();
  setNumInputs(2);
  setUniqueID(kUniqueId);
  setNumOutputs(2);
  initPrograms();
  std::memset(filterMemory, 0, sizeof filterMemory);
  sampleRateInt = kRate44k;
  monoInput = false;
  for (int32_t& controller : ccNumber) controller = kUnboundController;
  lastLearnGesture = 0;
  resume();
}

// The base destructor deletes the editor afterwards; it must not use pval.
stdvst::~stdvst() {
  delete[] programs;
  delete pval;
}

void stdvst::resume() {
  wantEvents(1);
  if (!isInputConnected(1)) storeShared(monoInput, true);  // never cleared again
  // NaN counts as no rate at all; huge values stay unsupported.
  int32_t rate = truncateClamped(sampleRate, INT32_MIN, INT32_MAX, 0);
  storeShared(sampleRateInt, rate);
  if (rate == kRate44k || rate == kRate96k) return;
  if (rate != 0) {
    rateWarning.show();  // returns at once; the box has a thread of its own
    return;
  }
  // No rate at all: the answer decides the rate this resume takes, so both
  // boxes wait here, in order, before processing goes on.
  showUnsupportedRateWarning();
  if (acceptDefaultRate()) storeShared(sampleRateInt, kRate44k);
}

void stdvst::suspend() {}  // processing continues from its state at the next resume

VstInt32 stdvst::getPlugCategory() { return 1; }  // an effect

bool stdvst::getEffectName(char* name) { return copyText(name, "Morlin R4-M"); }

bool stdvst::getVendorString(char* text) { return copyText(text, "Morlin"); }

bool stdvst::getProductString(char* text) { return copyText(text, "Morlin R4-M"); }

VstInt32 stdvst::canDo(char* text) {
  bool receivesMidi = std::strcmp(text, "receiveVstEvents") == 0 || std::strcmp(text, "receiveVstMidiEvent") == 0;
  return receivesMidi ? 1 : -1;
}
