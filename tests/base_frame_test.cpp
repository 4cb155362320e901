// The effect and editor base classes on their own: the record, the static
// entries, the defaults, the key record and the editor link.
#include <gtest/gtest.h>

#include <limits>

#include "probe_effect.h"
#include "test_host.h"

namespace {

TEST(BaseFrame, RecordAfterConstruction) {
  RecordingHost host;
  ProbeEffect effect(RecordingHost::callback());
  const AEffect& record = effect.record();
  EXPECT_EQ(record.magic, 0x56737450);
  EXPECT_EQ(record.numPrograms, 4);
  EXPECT_EQ(record.numParams, 3);
  EXPECT_EQ(record.numInputs, 1);
  EXPECT_EQ(record.numOutputs, 2);
  EXPECT_EQ(record.flags, 0);
  EXPECT_EQ(record.uniqueID, 0x4E6F4566);  // the placeholder code NoEf
  EXPECT_EQ(record.version, 1);
  EXPECT_EQ(record.object, &effect);
  EXPECT_EQ(effect.storedSampleRate(), 44100.0f);
  EXPECT_EQ(effect.storedBlockSize(), 1024);
  EXPECT_TRUE(host.calls().empty()) << "constructing the frame asks the host nothing";
}

TEST(BaseFrame, EditorAttachesAndSetsTheFlag) {
  ProbeEffect effect(nullptr);
  auto* editor = new ProbeEditor(&effect);  // owned by the effect from here on
  EXPECT_EQ(effect.getEditor(), editor);
  EXPECT_EQ(effect.record().flags & effFlagsHasEditor, effFlagsHasEditor);
  effect.setEditor(nullptr);
  EXPECT_EQ(effect.record().flags & effFlagsHasEditor, 0);
  delete editor;
}

// Opcodes that reach an editor answer 0 and do nothing when there is none.
TEST(BaseFrame, EditorOpcodesWithoutEditor) {
  ProbeEffect effect(nullptr);
  AEffect* record = &effect.record();
  ERect* rect = reinterpret_cast<ERect*>(1);
  for (VstInt32 opcode : {effEditGetRect, effEditOpen, effEditClose, effEditIdle, effEditKeyDown, effEditKeyUp,
                          effSetEditKnobMode})
    EXPECT_EQ(dispatch(record, opcode, 65, 1, &rect), 0) << "opcode " << opcode;
  EXPECT_EQ(rect, reinterpret_cast<ERect*>(1)) << "nothing written";
}

TEST(BaseFrame, KeyRecord) {
  ProbeEffect effect(nullptr);
  auto* editor = new ProbeEditor(&effect);
  struct Case {
    VstIntPtr value;
    float opt;
    unsigned char virt;
    unsigned char modifier;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const Case cases[] = {
      {0x41, 0.0f, 0x41, 0},          {0x1FF, 3.9f, 0xFF, 3},         {5, 257.0f, 5, 1},
      {5, 300.0f, 5, 44},             {5, -0.5f, 5, 0},               {5, -1.0f, 5, 0},
      {5, -1e9f, 5, 0},               {5, 4294967296.0f, 5, 0},       {5, 4294967040.0f, 5, 0},
      {5, 16777471.0f, 5, 0},         {5, nan, 5, 0},                 {5, std::numeric_limits<float>::infinity(), 5, 0},
  };
  for (const Case& c : cases) {
    editor->keys.clear();
    EXPECT_EQ(dispatch(&effect.record(), effEditKeyDown, 'x', c.value, nullptr, c.opt), 7);
    ASSERT_EQ(editor->keys.size(), 1u);
    EXPECT_EQ(editor->keys[0].character, 'x');
    EXPECT_EQ(editor->keys[0].virt, c.virt) << "value " << c.value;
    EXPECT_EQ(editor->keys[0].modifier, c.modifier) << "opt " << c.opt;
  }
}

TEST(BaseFrame, AutomatedSetGoesToTheEffectThenTheHost) {
  RecordingHost host;
  ProbeEffect effect(RecordingHost::callback());
  effect.setParameterAutomated(2, 0.75f);
  ASSERT_EQ(effect.setCalls.size(), 1u);
  EXPECT_EQ(effect.setCalls[0].index, 2);
  auto calls = host.callsOf(audioMasterAutomate);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].index, 2);
  EXPECT_EQ(calls[0].value, 0);
  EXPECT_EQ(calls[0].opt, 0.75f);

  ProbeEffect alone(nullptr);  // no host: only the effect hears of it
  alone.setParameterAutomated(1, 0.5f);
  EXPECT_EQ(alone.setCalls.size(), 1u);
}

TEST(BaseFrame, StaticEntriesReachTheEffect) {
  ProbeEffect effect(nullptr);
  AEffect* record = &effect.record();
  record->setParameter(record, 1, 0.25f);
  ASSERT_EQ(effect.setCalls.size(), 1u);
  EXPECT_EQ(effect.setCalls[0].value, 0.25f);
  dispatch(record, effSetSampleRate, 0, 0, nullptr, 96000.0f);
  EXPECT_EQ(effect.storedSampleRate(), 96000.0f);
  dispatch(record, effSetBlockSize, 0, 256);
  EXPECT_EQ(effect.storedBlockSize(), 256);
  EXPECT_EQ(dispatch(record, effSetBlockSizeAndSampleRate, 0, 128, nullptr, 48000.0f), 1);
  EXPECT_EQ(effect.storedBlockSize(), 128);
  EXPECT_EQ(effect.storedSampleRate(), 48000.0f);
  dispatch(record, effSetProgram, 0, 3);
  EXPECT_EQ(dispatch(record, effGetProgram), 3);
  dispatch(record, effSetProgram, 0, 4);  // numPrograms is 4 here
  EXPECT_EQ(dispatch(record, effGetProgram), 3);
}

TEST(BaseFrame, CloseThroughTheRecordDeletesTheEffect) {
  static int destroyed = 0;
  struct Counted : ProbeEffect {
    Counted() : ProbeEffect(nullptr) {}
    ~Counted() override { destroyed++; }
  };
  auto* effect = new Counted;
  EXPECT_EQ(dispatch(&effect->record(), effClose), 1);
  EXPECT_EQ(destroyed, 1);
}

TEST(BaseFrame, SpeakerArrangementOpcodeWritesNulls) {
  ProbeEffect effect(nullptr);
  VstSpeakerArrangement dummy{};
  VstSpeakerArrangement* input = &dummy;
  VstSpeakerArrangement* output = &dummy;
  EXPECT_EQ(dispatch(&effect.record(), effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), &output),
            0);
  EXPECT_EQ(input, nullptr);
  EXPECT_EQ(output, nullptr);
}

}  // namespace
