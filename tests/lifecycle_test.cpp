// Construction, resume and the sample-rate policy, identity and capabilities.
#include <cstring>
#include <limits>

#include "effect_fixture.h"
#include "leak_probes.h"
#include "message_box_watcher.h"

namespace {

const char kUnsupported[] = "This plug-in only supports 44.1kHz and 96kHz.\t";
const char kNoRate[] = "Impossible to get host sample rate. Set it to 44.1kHz?";

// While `main` runs, the host is asked its version, then for MIDI, then about the second input.
TEST(LifecycleThroughDll, HostCallsWhileMainRuns) {
  PluginLibrary library;
  ASSERT_NE(library.main, nullptr);
  RecordingHost host;
  AEffect* effect = library.main(RecordingHost::callback());
  ASSERT_NE(effect, nullptr);
  auto calls = host.calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].opcode, audioMasterVersion);
  EXPECT_EQ(calls[1].opcode, audioMasterWantMidi);
  EXPECT_EQ(calls[1].value, 1);
  EXPECT_EQ(calls[2].opcode, audioMasterPinConnected);
  EXPECT_EQ(calls[2].index, 1);
  EXPECT_EQ(calls[2].value, 0);
  host.clearCalls();
  dispatch(effect, effMainsChanged, 0, 0);  // suspend asks nothing
  EXPECT_TRUE(host.calls().empty());
  dispatch(effect, effMainsChanged, 0, 1);
  EXPECT_EQ(host.callsOf(audioMasterWantMidi).size(), 1u) << "MIDI is asked for at every resume";
  closeEffect(effect);
}

// The box's thread holds the library: a host may close the instance and free
// the library while the warning is up, and the process lives on after it.
TEST(LifecycleThroughDll, TheLibraryMayGoWhileItsWarningIsUp) {
  MessageBoxWatcher watcher(Answer::WhenTold);
  {
    PluginLibrary library;
    ASSERT_NE(library.main, nullptr);
    RecordingHost host;
    AEffect* effect = library.main(RecordingHost::callback());
    ASSERT_NE(effect, nullptr);
    dispatch(effect, effSetSampleRate, 0, 0, nullptr, 32000.0f);
    dispatch(effect, effMainsChanged, 0, 1);
    ASSERT_TRUE(watcher.waitForSeen(1, 2000));
    closeEffect(effect);
  }
  EXPECT_NE(GetModuleHandleA("R4-M.dll"), nullptr) << "freed while its box is up";
  watcher.answerFromNowOn();
  DWORD start = GetTickCount();
  while (GetModuleHandleA("R4-M.dll") && GetTickCount() - start < 2000) Sleep(5);
  EXPECT_EQ(GetModuleHandleA("R4-M.dll"), nullptr) << "the box's thread kept the library";

  PluginLibrary again;
  ASSERT_NE(again.main, nullptr);
  RecordingHost host;
  AEffect* effect = again.main(RecordingHost::callback());
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(dispatch(effect, effGetPlugCategory), 1);
  closeEffect(effect);
}

using Lifecycle = EffectFixture;

TEST_F(Lifecycle, AfterConstruction) {
  EXPECT_EQ(inspect().sampleRateInt(), 44100);
  EXPECT_FALSE(inspect().monoInput());
  EXPECT_EQ(effect->getProgram(), 0);
  EXPECT_EQ(inspect().gui().learnTarget, -1);
  EXPECT_EQ(inspect().gui().learnGesture, 0);
  EXPECT_EQ(inspect().lastLearnGesture(), 0);
  for (int band = 1; band <= 7; band++) EXPECT_EQ(inspect().ccNumber(band), -1000);
}

struct RateCase {
  float rate;
  int32_t expectedRateInt;
  std::vector<std::string> boxes;  // texts, in order
};

TEST_F(Lifecycle, SampleRatePolicy) {
  const RateCase cases[] = {
      {96000.0f, 96000, {}},
      {44100.9f, 44100, {}},
      {48000.0f, 48000, {kUnsupported}},
      {0.0f, 44100, {kUnsupported, kNoRate}},
      {-5.0f, -5, {kUnsupported}},
      {1e20f, INT32_MAX, {kUnsupported}},
      {std::numeric_limits<float>::quiet_NaN(), 44100, {kUnsupported, kNoRate}},
  };
  for (const RateCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "rate " << c.rate);
    effect = std::make_unique<stdvst>(RecordingHost::callback());  // each case its own warning
    MessageBoxWatcher watcher;
    effect->dispatcher(effSetSampleRate, 0, 0, nullptr, c.rate);
    effect->dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
    EXPECT_EQ(inspect().sampleRateInt(), c.expectedRateInt);
    // The question's answer is needed before resume goes on: both boxes are
    // answered by then. The warning alone comes from a thread of its own.
    if (c.boxes.size() == 2) {
      EXPECT_EQ(watcher.seen().size(), 2u) << "answered before resume returned";
    }
    watcher.waitForSeen(c.boxes.size(), 2000);
    Sleep(100);  // time for a box too many
    auto seen = watcher.seen();
    ASSERT_EQ(seen.size(), c.boxes.size());
    for (size_t i = 0; i < seen.size(); i++) {
      EXPECT_EQ(seen[i].text, c.boxes[i]);
      EXPECT_TRUE(seen[i].hasOk);
      EXPECT_FALSE(seen[i].hasCancel);
      EXPECT_TRUE(seen[i].exclamationIcon);
    }
  }
}

// A host that switches processing on from its engine thread must not wait for
// the user; and a host that does so again and again gets one box, not a pile.
TEST_F(Lifecycle, TheWarningLetsResumeReturnAndDoesNotStack) {
  MessageBoxWatcher watcher(Answer::WhenTold);
  effect->setSampleRate(32000.0f);
  for (int call = 0; call < 3; call++) {
    DWORD start = GetTickCount();
    effect->resume();
    EXPECT_LT(GetTickCount() - start, 100u) << "resume " << call << " waited";
  }
  ASSERT_TRUE(watcher.waitForSeen(1, 2000));
  EXPECT_EQ(watcher.seen()[0].text, kUnsupported);
  EXPECT_EQ(inspect().sampleRateInt(), 32000);
  Sleep(200);
  EXPECT_EQ(watcher.openBoxes().size(), 1u);
  EXPECT_EQ(watcher.seen().size(), 1u);

  // Once the user has closed it, the next resume warns again.
  watcher.answerFromNowOn();
  DWORD start = GetTickCount();
  while (watcher.seen().size() < 2 && GetTickCount() - start < 2000) {
    effect->resume();
    Sleep(20);
  }
  EXPECT_EQ(watcher.seen().size(), 2u);
}

// The editor is a child window: where none can be made, effEditOpen says so
// and leaves the editor closed, with no device context of the whole screen.
TEST_F(Lifecycle, AnEditorWithoutAWindowStaysClosed) {
  HWND gone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(gone, nullptr);
  DestroyWindow(gone);
  const struct {
    const char* what;
    HWND parent;
  } cases[] = {{"no parent", nullptr}, {"a parent that is gone", gone}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(effect->dispatcher(effEditOpen, 0, 0, c.parent, 0.0f), 0);
    EXPECT_FALSE(inspectGui().isOpen());
    EXPECT_EQ(inspect().pval().editorOpen, 0);
  }
}

TEST_F(Lifecycle, MonoInputIsDetectedAndStays) {
  host.answer(audioMasterPinConnected, 1);  // the second input is not connected
  effect->resume();
  EXPECT_TRUE(inspect().monoInput());
  host.answer(audioMasterPinConnected, 0);
  effect->resume();
  EXPECT_TRUE(inspect().monoInput());
}

TEST_F(Lifecycle, ResumeKeepsParametersAndProgram) {
  effect->setProgram(3);
  effect->setParameter(2, 0.8f);
  effect->suspend();
  effect->resume();
  EXPECT_EQ(effect->getProgram(), 3);
  EXPECT_EQ(inspect().gainRow(3), 79);
}

TEST_F(Lifecycle, Identity) {
  char text[80];
  struct Case {
    VstInt32 opcode;
    const char* expected;
  };
  for (const Case& c : {Case{effGetEffectName, "Morlin R4-M"}, Case{effGetVendorString, "Morlin"},
                        Case{effGetProductString, "Morlin R4-M"}}) {
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(effect->dispatcher(c.opcode, 0, 0, text, 0.0f), 1);
    EXPECT_STREQ(text, c.expected);
  }
  EXPECT_EQ(effect->dispatcher(effGetPlugCategory, 0, 0, nullptr, 0.0f), 1);
  EXPECT_EQ(effect->getAeffect()->uniqueID, 0x1736FB73);
}

TEST_F(Lifecycle, CanDo) {
  struct Case {
    const char* text;
    VstInt32 expected;
  };
  const Case cases[] = {{"receiveVstEvents", 1},     {"receiveVstMidiEvent", 1}, {"receivevstevents", -1},
                        {"sendVstMidiEvent", -1},    {"receiveVstEvents ", -1},  {"", -1},
                        {"receiveVstTimeInfo", -1}};
  for (const Case& c : cases) {
    std::string text = c.text;
    EXPECT_EQ(effect->dispatcher(effCanDo, 0, 0, &text[0], 0.0f), c.expected) << c.text;
  }
}

// 1000 instances created and closed through the DLL: private memory stays flat.
TEST(LifecycleThroughDll, NoLeakOverManyInstances) {
  PluginLibrary library;
  ASSERT_NE(library.main, nullptr);
  RecordingHost host;
  auto privateBytes = committedPrivateBytes;
  auto cycle = [&](int count) {
    for (int i = 0; i < count; i++) {
      AEffect* effect = library.main(RecordingHost::callback());
      ASSERT_NE(effect, nullptr);
      effect->setParameter(effect, i % 21, 0.3f);
      dispatch(effect, effSetProgram, 0, i % 8);
      closeEffect(effect);
    }
    host.clearCalls();
  };
  cycle(1000);  // the heap grows once (about 200 KiB here), then stays flat
  double before = privateBytes();
  cycle(1000);
  double after = privateBytes();

  double growth = after - before;
  std::printf("private memory before %.0f KiB, after 1000 instances %.0f KiB (growth %.0f KiB)\n", before / 1024,
              after / 1024, growth / 1024);
  // One leaked instance is over 1 KiB (its programs alone are 8 × 108 bytes), so 1000 would be ~1 MiB.
  EXPECT_LT(growth, 64.0 * 1024);
}

}  // namespace
