// White-box access to the effect and its editor, and a fixture that builds one
// effect directly (not through the DLL) with the recording host.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "dsp/stdvst.h"
#include "gui/gui.h"
#include "module_instance.h"
#include "shared_word.h"
#include "test_host.h"

struct EffectInspector {
  explicit EffectInspector(stdvst& effect) : effect(effect) {}
  int32_t gainRow(int band) const { return effect.gainRow[band - 1]; }
  int32_t qSel(int band) const { return effect.pval->qSel[band - 1]; }
  double gainValue(int band) const { return effect.pval->gainValue[band - 1]; }
  int32_t ccNumber(int band) const { return effect.ccNumber[band - 1]; }
  int32_t lastLearnGesture() const { return effect.lastLearnGesture; }
  int32_t sampleRateInt() const { return effect.sampleRateInt; }
  bool monoInput() const { return effect.monoInput; }
  void setSampleRateInt(int32_t rate) { storeShared(effect.sampleRateInt, rate); }  // no warning box, unlike resume
  void setMonoInput(bool mono) { storeShared(effect.monoInput, mono); }
  SectionMemory (&filterMemory() const)[kBands][2] { return effect.filterMemory; }
  PVAL& pval() const { return *effect.pval; }
  Gui& gui() const { return *effect.gui; }
  stdvst& effect;
};

struct GuiInspector {
  explicit GuiInspector(Gui& gui) : gui(gui) {}
  const Knob& knob(int band) const { return gui.knob[band - 1]; }
  Knob& knob(int band) { return gui.knob[band - 1]; }
  bool isOpen() const { return gui.isOpen(); }
  bool anyChanged() const { return gui.anyChanged; }
  bool knobChanged(int band) const { return gui.knobChanged[band - 1]; }
  bool qChanged(int band) const { return gui.qChanged[band - 1]; }
  void setActiveControl(int32_t control) { gui.activeControl = control; }
  Gui& gui;
};

class EffectFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    moduleInstance = GetModuleHandleA(nullptr);
    effect = std::make_unique<stdvst>(RecordingHost::callback());
  }
  EffectInspector inspect() { return EffectInspector(*effect); }
  GuiInspector inspectGui() { return GuiInspector(inspect().gui()); }
  RecordingHost host;
  std::unique_ptr<stdvst> effect;
};
