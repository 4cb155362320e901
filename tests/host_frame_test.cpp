// The plug-in as a host sees it: the real DLL, loaded and driven through its record.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "test_host.h"

namespace {

class HostFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(library.main, nullptr) << "R4-M.dll or its main export not found";
    effect = library.main(RecordingHost::callback());
    ASSERT_NE(effect, nullptr);
  }
  void TearDown() override {
    if (effect) closeEffect(effect);
  }
  PluginLibrary library;
  RecordingHost host;
  AEffect* effect = nullptr;
};

TEST(HostEntry, HostThatAnswersNothingGetsNoRecord) {
  PluginLibrary library;
  ASSERT_NE(library.main, nullptr);
  RecordingHost host;
  host.respond = [](const HostCall&) -> VstIntPtr { return 0; };
  EXPECT_EQ(library.main(RecordingHost::callback()), nullptr);
  ASSERT_EQ(host.calls().size(), 1u);  // only the version question
  EXPECT_EQ(host.calls()[0].opcode, audioMasterVersion);
  EXPECT_EQ(library.main(nullptr), nullptr);
}

TEST_F(HostFrame, RecordFieldsAfterMain) {
  EXPECT_EQ(effect->magic, 0x56737450);
  EXPECT_EQ(effect->numPrograms, 8);
  EXPECT_EQ(effect->numParams, 21);
  EXPECT_EQ(effect->numInputs, 2);
  EXPECT_EQ(effect->numOutputs, 2);
  EXPECT_EQ(effect->flags, 0x19);
  EXPECT_EQ(effect->uniqueID, 0x1736FB73);
  EXPECT_EQ(effect->version, 1);
  EXPECT_EQ(effect->ioRatio, 1.0f);
  EXPECT_EQ(effect->resvd1, 0);
  EXPECT_EQ(effect->resvd2, 0);
  EXPECT_EQ(effect->initialDelay, 0);
  EXPECT_EQ(effect->realQualities, 0);
  EXPECT_EQ(effect->offQualities, 0);
  EXPECT_EQ(effect->user, nullptr);
  EXPECT_NE(effect->object, nullptr);
  EXPECT_NE(effect->dispatcher, nullptr);
  EXPECT_NE(effect->process, nullptr);
  EXPECT_NE(effect->processReplacing, nullptr);
  EXPECT_NE(effect->setParameter, nullptr);
  EXPECT_NE(effect->getParameter, nullptr);
  for (char reserved : effect->future) EXPECT_EQ(reserved, 0);
}

TEST_F(HostFrame, FixedAnswers) {
  struct Case {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    VstIntPtr expected;
  };
  const Case cases[] = {
      {effIdentify, 0, 0, 0x4E764566},
      {effGetVstVersion, 0, 0, 2300},
      {effKeysRequired, 0, 0, 1},
      {effGetCurrentMidiProgram, 0, 0, -1},
      {effSetTotalSampleToProcess, 0, 12345, 12345},
      // Answered whole at either word size: 64-bit hosts count past 2^32 samples.
      {effSetTotalSampleToProcess, 0, std::numeric_limits<VstIntPtr>::max(), std::numeric_limits<VstIntPtr>::max()},
      {effSetTotalSampleToProcess, 0, std::numeric_limits<VstIntPtr>::min(), std::numeric_limits<VstIntPtr>::min()},
      {effCanBeAutomated, 5, 0, 1},
      {effGetNumProgramCategories, 0, 0, 1},
      {effConnectInput, 1, 1, 1},
      {effConnectOutput, 0, 0, 1},
      {effGetPlugCategory, 0, 0, 1},
      {effGetVu, 0, 0, 0},
      {effGetChunk, 0, 0, 0},
      {effSetBypass, 0, 1, 0},
      {effGetTailSize, 0, 0, 0},
      {effGetVendorVersion, 0, 0, 0},
      {effEditKeyDown, 65, 0, -1},
      {effEditKeyUp, 65, 0, -1},
      {effEditDraw, 0, 0, 0},
      {effStartProcess, 0, 0, 0},
      {77, 0, 0, 0},
      {100, 0, 0, 0},
      {-1, 0, 0, 0},
      {-10, 0, 0, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(dispatch(effect, c.opcode, c.index, c.value), c.expected) << "opcode " << c.opcode;
}

TEST_F(HostFrame, LabelsAndDisplaysAreEmptyForEveryIndex) {
  for (VstInt32 opcode : {VstInt32(effGetParamLabel), VstInt32(effGetParamDisplay)}) {
    for (VstInt32 index : {-1, 0, 6, 13, 20, 21, 200}) {
      char text[64];
      std::memset(text, 'x', sizeof text);
      EXPECT_EQ(dispatch(effect, opcode, index, 0, text), 0);
      EXPECT_STREQ(text, "") << "opcode " << opcode << " index " << index;
    }
  }
}

TEST_F(HostFrame, ParameterNamesThroughTheDispatcher) {
  char text[64];
  dispatch(effect, effGetParamName, 0, 0, text);
  EXPECT_STREQ(text, "Flt 01 Gain");
  dispatch(effect, effGetParamName, 13, 0, text);
  EXPECT_STREQ(text, "Flt 07 Q");
  dispatch(effect, effGetParamName, 14, 0, text);
  EXPECT_STREQ(text, "-------------------");
}

TEST_F(HostFrame, ProgramOutsideTheRangeIsIgnored) {
  dispatch(effect, effSetProgram, 0, 3);
  EXPECT_EQ(dispatch(effect, effGetProgram), 3);
  for (VstIntPtr outside : {VstIntPtr(8), VstIntPtr(-1), VstIntPtr(1000)}) {
    dispatch(effect, effSetProgram, 0, outside);
    EXPECT_EQ(dispatch(effect, effGetProgram), 3) << outside;
  }
}

TEST_F(HostFrame, EditorRectangle) {
  ERect* rect = nullptr;
  EXPECT_EQ(dispatch(effect, effEditGetRect, 0, 0, &rect), 0);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 155);
  EXPECT_EQ(rect->right, 600);
}

// A null ptr where an opcode reads or writes text or a record: no crash, answer 0.
TEST_F(HostFrame, NullPointersAnswerZero) {
  const VstInt32 opcodes[] = {effSetProgramName,   effGetProgramName,         effGetParamLabel,
                              effGetParamDisplay,  effGetParamName,           effEditGetRect,
                              effProcessEvents,    effString2Parameter,       effGetProgramNameIndexed,
                              effGetEffectName,    effGetErrorText,           effGetVendorString,
                              effGetProductString, effCanDo,                  effShellGetNextPlugin,
                              effGetSpeakerArrangement, effSetSpeakerArrangement, effGetInputProperties};
  for (VstInt32 opcode : opcodes) EXPECT_EQ(dispatch(effect, opcode, 0, 0, nullptr), 0) << "opcode " << opcode;
  char name[32];
  dispatch(effect, effGetProgramName, 0, 0, name);
  EXPECT_STREQ(name, "Clean");  // still answers after the null calls
}

TEST_F(HostFrame, HostSetsAndReadsParameters) {
  effect->setParameter(effect, 2, 0.25f);
  effect->setParameter(effect, 9, 0.2f);
  EXPECT_EQ(effect->getParameter(effect, 2), 0.25f);
  EXPECT_EQ(effect->getParameter(effect, 9), 0.2f);
  EXPECT_TRUE(host.callsOf(audioMasterAutomate).empty()) << "host changes are not reported back";
}

// A control change on a bound controller moves the gain and is reported as automation.
TEST_F(HostFrame, MidiControlChangeMovesBoundGain) {
  effect->setParameter(effect, 14 + 3, 0.007f);  // band 4 on controller 7
  VstMidiEvent change{};
  change.type = kVstMidiType;
  change.byteSize = sizeof change;
  change.midiData[0] = char(0xB3);
  change.midiData[1] = 7;
  change.midiData[2] = 127;
  VstEvents events{};
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<VstEvent*>(&change);
  host.clearCalls();
  EXPECT_EQ(dispatch(effect, effProcessEvents, 0, 0, &events), 1);
  EXPECT_EQ(effect->getParameter(effect, 3), 1.0f);
  auto automation = host.callsOf(audioMasterAutomate);
  ASSERT_EQ(automation.size(), 1u);
  EXPECT_EQ(automation[0].index, 3);
  EXPECT_EQ(automation[0].opt, 1.0f);
}

TEST(HostEntry, CloseAnswersOneAndInstancesAreIndependent) {
  PluginLibrary library;
  ASSERT_NE(library.main, nullptr);
  RecordingHost host;
  AEffect* first = library.main(RecordingHost::callback());
  AEffect* second = library.main(RecordingHost::callback());
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  first->setParameter(first, 0, 0.9f);
  EXPECT_EQ(second->getParameter(second, 0), 0.5f);
  EXPECT_EQ(dispatch(first, effClose), 1);
  EXPECT_EQ(second->getParameter(second, 0), 0.5f);
  EXPECT_EQ(dispatch(second, effClose), 1);
}

}  // namespace
