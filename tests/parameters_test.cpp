// Parameters, their selectors, the editor notification and MIDI learn.
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "effect_fixture.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

using Parameters = EffectFixture;

struct SelectorCase {
  float value;
  int32_t expected;
};

TEST_F(Parameters, GainRows) {
  // In range: trunc(value × 99). Outside: limited to the table; NaN gives the neutral row.
  const SelectorCase cases[] = {{0.5f, 49},   {1.0f, 99},  {0.0f, 0},    {0.999f, 98}, {0.01f, 0},
                                {0.0102f, 1}, {1.5f, 99},  {-0.5f, 0},   {kInf, 99},   {-kInf, 0},
                                {kNaN, 49},   {1e30f, 99}, {-1e30f, 0}};
  for (const SelectorCase& c : cases) {
    for (int band = 1; band <= 7; band++) {
      effect->setParameter(band - 1, c.value);
      EXPECT_EQ(inspect().gainRow(band), c.expected) << "value " << c.value << " band " << band;
      float stored = effect->getParameter(band - 1);
      EXPECT_EQ(std::memcmp(&stored, &c.value, sizeof stored), 0) << "kept as given";
    }
  }
  effect->setParameter(6, 0.0f);
  EXPECT_EQ(inspect().gainRow(7), 0);
  EXPECT_EQ(inspect().gainValue(7), 0.0);
  effect->setParameter(2, 0.3f);
  EXPECT_EQ(inspect().gainValue(3), double(0.3f));
}

TEST_F(Parameters, QSelectors) {
  const SelectorCase cases[] = {{0.0f, 0},  {0.1f, 1}, {0.2f, 2},  {0.35f, 3},   {1.0f, 10},
                                {2.0f, 10}, {-1.0f, 0}, {kNaN, 1}, {kInf, 10}, {-kInf, 0}};
  for (const SelectorCase& c : cases) {
    effect->setParameter(7, c.value);
    EXPECT_EQ(inspect().qSel(1), c.expected) << "value " << c.value;
  }
  effect->setParameter(7, 0.35f);
  EXPECT_EQ(effect->getParameter(7), 0.35f);
  effect->setParameter(13, 0.2f);
  EXPECT_EQ(inspect().qSel(7), 2);
  EXPECT_EQ(inspect().qSel(6), 1) << "other bands keep theirs";
}

TEST_F(Parameters, ControllerBindings) {
  // 0.029 in single precision lies just below 0.029: controller 28.
  const SelectorCase cases[] = {{0.007f, 7},    {0.029f, 28},    {0.127f, 127}, {-1.0f, -1000}, {0.0f, 0},
                                {5.0f, 1000},  {kNaN, -1000},   {-kInf, -1000}, {kInf, 1000}};
  for (const SelectorCase& c : cases) {
    effect->setParameter(14, c.value);
    EXPECT_EQ(inspect().ccNumber(1), c.expected) << "value " << c.value;
  }
  EXPECT_EQ(effect->getParameter(15), -1.0f) << "a built-in program is unbound";
}

TEST_F(Parameters, ForgetCommandUnbindsOneBand) {
  int32_t boundTo[8] = {};
  for (int band = 1; band <= 7; band++) {
    effect->setParameter(13 + band, 0.0105f + band * 0.001f);  // controllers 11 to 17
    boundTo[band] = inspect().ccNumber(band);
    ASSERT_EQ(boundTo[band], 10 + band);
  }
  struct Case {
    float value;
    int clearedBand;  // 0: none
  };
  const Case cases[] = {{9.0f, 0}, {0.0f, 0}, {-3.0f, 0},  {kNaN, 0},
                        {1e20f, 0}, {8.0f, 0}, {3.0f, 3}, {7.9f, 7}};
  bool clearedSoFar[8] = {};
  for (const Case& c : cases) {
    effect->setParameter(200, c.value);
    clearedSoFar[c.clearedBand] = true;
    for (int band = 1; band <= 7; band++) {
      SCOPED_TRACE(testing::Message() << "value " << c.value << " band " << band);
      EXPECT_EQ(inspect().ccNumber(band), clearedSoFar[band] ? -1000 : boundTo[band]);
      EXPECT_EQ(effect->getParameter(13 + band), clearedSoFar[band] ? -1.0f : 0.0105f + band * 0.001f);
    }
  }
}

TEST_F(Parameters, UnknownIndicesStoreNothingAndAnswerTheLastValue) {
  EXPECT_EQ(effect->getParameter(-1), 0.0f) << "nothing read yet";
  effect->setParameter(3, 0.75f);
  EXPECT_EQ(effect->getParameter(3), 0.75f);
  EXPECT_EQ(effect->getParameter(21), 0.75f);
  EXPECT_EQ(effect->getParameter(-7), 0.75f);
  effect->setParameter(21, 0.1f);
  effect->setParameter(-1, 0.1f);
  EXPECT_EQ(effect->getParameter(8), 0.1f);  // Q of band 2, untouched by the calls above
  EXPECT_EQ(effect->getParameter(1000), 0.1f);
  for (int band = 1; band <= 7; band++) EXPECT_EQ(inspect().gainRow(band), band == 4 ? 74 : 49);
}

TEST_F(Parameters, Names) {
  struct Case {
    VstInt32 index;
    const char* name;
  };
  const Case cases[] = {{0, "Flt 01 Gain"},          {6, "Flt 07 Gain"},          {7, "Flt 01 Q"},
                        {13, "Flt 07 Q"},            {14, "-------------------"}, {20, "-------------------"},
                        {99, "-------------------"}, {-1, "-------------------"}};
  for (const Case& c : cases) {
    char text[32];
    effect->getParameterName(c.index, text);
    EXPECT_STREQ(text, c.name) << c.index;
  }
}

// Editor notification: only while the window is open, and only marks.
TEST_F(Parameters, EditorIsNotifiedOnlyWhileOpen) {
  GuiInspector gui = inspectGui();
  ASSERT_EQ(inspect().pval().editorOpen, 0);
  effect->setParameter(0, 1.0f);
  effect->setParameter(7, 0.2f);
  EXPECT_FALSE(gui.anyChanged());
  EXPECT_FALSE(gui.knobChanged(1));

  inspect().pval().editorOpen = 1;
  effect->setParameter(14, 0.007f);
  EXPECT_TRUE(gui.anyChanged()) << "any index marks the editor";
  EXPECT_FALSE(gui.knobChanged(1));
  effect->setParameter(2, 1.0f);
  EXPECT_TRUE(gui.knobChanged(3));
  EXPECT_EQ(gui.knob(3).frame, 79);
  EXPECT_TRUE(gui.knob(3).resync);
  effect->setParameter(9, 0.0f);
  EXPECT_TRUE(gui.qChanged(3));
  EXPECT_FALSE(gui.qChanged(1));
}

TEST_F(Parameters, KnobFramesAndResync) {
  GuiInspector gui = inspectGui();
  const SelectorCase frames[] = {{0.5f, 39}, {1.0f, 79}, {0.0f, 0}, {0.999f, 78}, {2.0f, 79}, {-1.0f, 0},
                                 {kNaN, 39}};
  for (const SelectorCase& c : frames) {
    gui.gui.updateControl(c.value, 4);
    EXPECT_EQ(gui.knob(5).frame, c.expected) << c.value;
  }
  // A drag of band 5 itself leaves its resync clear; a change elsewhere sets it.
  gui.knob(5).resync = false;
  gui.setActiveControl(1005);
  gui.gui.updateControl(0.3f, 4);
  EXPECT_FALSE(gui.knob(5).resync);
  gui.gui.updateControl(0.3f, 3);
  EXPECT_TRUE(gui.knob(4).resync);
  gui.setActiveControl(0);
  gui.gui.updateControl(0.3f, 4);
  EXPECT_TRUE(gui.knob(5).resync);
}

// MIDI: real VstEvents records built by the test.
class Midi : public EffectFixture {
 protected:
  void send(std::vector<VstMidiEvent> messages) {
    std::vector<char> record(sizeof(VstEvents) + messages.size() * sizeof(VstEvent*));
    auto* events = reinterpret_cast<VstEvents*>(record.data());
    events->numEvents = VstInt32(messages.size());
    for (size_t i = 0; i < messages.size(); i++) events->events[i] = reinterpret_cast<VstEvent*>(&messages[i]);
    EXPECT_EQ(effect->processEvents(events), 1);
  }
  static VstMidiEvent message(int status, int data1, int data2) {
    VstMidiEvent midi{};
    midi.type = kVstMidiType;
    midi.byteSize = sizeof midi;
    midi.midiData[0] = char(status);
    midi.midiData[1] = char(data1);
    midi.midiData[2] = char(data2);
    return midi;
  }
  static VstMidiEvent controlChange(int controller, int value, int channel = 0) {
    return message(0xB0 | channel, controller, value);
  }
  // What the editor's gestures write: Ctrl names the band and counts one more
  // arming; Shift (forget) clears the band without arming.
  void arm(int band) {
    inspect().gui().learnTarget = band;
    inspect().gui().learnGesture++;
  }
  void clearTarget() { inspect().gui().learnTarget = 0; }
  std::vector<VstInt32> automatedIndices() {
    std::vector<VstInt32> indices;
    for (const HostCall& call : host.callsOf(audioMasterAutomate)) indices.push_back(call.index);
    return indices;
  }
};

TEST_F(Midi, LearnBindsAndMovesInTheSameCall) {
  arm(2);
  send({controlChange(74, 127)});
  EXPECT_EQ(inspect().ccNumber(2), 74);
  EXPECT_EQ(effect->getParameter(15), float(74 * 0.001));
  EXPECT_EQ(effect->getParameter(1), 1.0f);
  send({controlChange(74, 0)});
  EXPECT_EQ(effect->getParameter(1), 0.0f);
  send({message(0x90, 74, 100)});  // note on: nothing
  EXPECT_EQ(effect->getParameter(1), 0.0f);
  send({controlChange(74, 64)});
  EXPECT_FLOAT_EQ(effect->getParameter(1), 0.503937006f);
  EXPECT_EQ(inspect().gainRow(2), 49);
  auto automation = host.callsOf(audioMasterAutomate);
  ASSERT_EQ(automation.size(), 3u);
  EXPECT_EQ(automation[0].index, 1);
  EXPECT_EQ(automation[0].opt, 1.0f);
  EXPECT_EQ(automation[1].opt, 0.0f);
}

TEST_F(Midi, LearnActsOncePerArming) {
  arm(1);
  send({controlChange(10, 5)});
  send({controlChange(11, 5)});  // the same arming: no re-binding
  EXPECT_EQ(inspect().ccNumber(1), 10);
  arm(1);  // armed again, as after another band's gesture: learns anew
  send({controlChange(12, 5)});
  EXPECT_EQ(inspect().ccNumber(1), 12);
  arm(3);
  send({controlChange(13, 5)});
  EXPECT_EQ(inspect().ccNumber(3), 13);
  EXPECT_EQ(inspect().ccNumber(1), 12);
  EXPECT_EQ(inspect().lastLearnGesture(), 3);
  arm(4);
  clearTarget();  // a forget gesture before any MIDI: no band learns
  send({controlChange(14, 5)});
  for (int band = 1; band <= 7; band++) EXPECT_NE(inspect().ccNumber(band), 14);
}

TEST_F(Midi, TwoBandsOnOneControllerFollowLowerFirst) {
  effect->setParameter(14 + 5, 0.016f);  // band 6 on 16 (0.021f would give 20)
  effect->setParameter(14 + 1, 0.016f);  // band 2 on 16
  send({controlChange(16, 127, 9)});     // any channel
  EXPECT_EQ(automatedIndices(), (std::vector<VstInt32>{1, 5}));
  EXPECT_EQ(effect->getParameter(1), 1.0f);
  EXPECT_EQ(effect->getParameter(5), 1.0f);
}

TEST_F(Midi, OnlyControlChangesOfMidiEventsCount) {
  effect->setParameter(14, 0.074f);  // band 1 on 74
  VstMidiEvent sysex = controlChange(74, 127);
  sysex.type = kVstSysExType;  // told apart by the type field only
  VstMidiEvent masked = controlChange(74 | 0x80, 0x80 | 100);
  send({sysex, message(0x80, 74, 127), message(0xE0, 74, 127), masked});
  EXPECT_EQ(automatedIndices(), (std::vector<VstInt32>{0}));
  EXPECT_EQ(effect->getParameter(0), float(100 * 0.00787401574803149));
}

TEST_F(Midi, EmptyOrOddEventListsDoNothing) {
  effect->setParameter(14, 0.074f);
  VstEvents events{};
  for (VstInt32 count : {0, -1, -1000}) {
    events.numEvents = count;
    EXPECT_EQ(effect->processEvents(&events), 1);
  }
  events.numEvents = 2;  // null entries are skipped
  VstMidiEvent change = controlChange(74, 127);
  events.events[1] = reinterpret_cast<VstEvent*>(&change);
  EXPECT_EQ(effect->processEvents(&events), 1);
  EXPECT_EQ(automatedIndices(), (std::vector<VstInt32>{0}));
}

// Controller 0 (bank select, sent with many program changes) reaches only a
// band bound to it on purpose: a forgotten band ignores it, while a stored 0.0
// and a learn gesture still bind it.
TEST_F(Midi, ControllerZeroOnlyWhereBound) {
  effect->setParameter(14, 0.074f);
  effect->setParameter(200, 1.0f);  // band 1 forgotten
  send({controlChange(0, 0)});
  EXPECT_EQ(effect->getParameter(0), 0.5f);
  EXPECT_TRUE(automatedIndices().empty()) << "a forgotten band is bound to no controller";

  effect->setParameter(15, 0.0f);  // a project saved with band 2 on controller 0
  arm(3);
  send({controlChange(0, 127)});
  EXPECT_EQ(effect->getParameter(16), 0.0f) << "band 3 learned controller 0";
  EXPECT_EQ(automatedIndices(), (std::vector<VstInt32>{1, 2}));
  EXPECT_EQ(effect->getParameter(0), 0.5f);
}

TEST_F(Midi, BindingsSurviveProgramChanges) {
  effect->setParameter(14, 0.074f);
  effect->setProgram(4);
  EXPECT_EQ(effect->getParameter(14), -1.0f) << "program 4's stored value";
  send({controlChange(74, 127)});
  EXPECT_EQ(effect->getParameter(0), 1.0f);
}

}  // namespace
