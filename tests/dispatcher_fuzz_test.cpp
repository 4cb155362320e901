// Random host behaviour against the real DLL: every opcode with odd indices,
// values and floats, parameters, programs and audio blocks, reproducible from
// its seed. Message boxes (unsupported rates) are answered by a watcher.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "fuzz_settings.h"
#include "message_box_watcher.h"
#include "test_host.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr int kGuard = 64;            // floats either side of every audio buffer
constexpr uint32_t kGuardBits = 0x7FC0DEAD;  // a NaN no arithmetic produces

class Fuzzer {
 public:
  Fuzzer(PluginLibrary& library, uint64_t seed) : library(library), random(seed) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "R4MFuzzHost";
    RegisterClassA(&windowClass);
    hostWindow = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 200, nullptr,
                                 nullptr, windowClass.hInstance, nullptr);
    effect = library.main(RecordingHost::callback());
  }
  ~Fuzzer() {
    if (effect) closeEffect(effect);
    DestroyWindow(hostWindow);
  }

  void step(uint64_t call) {
    int action = pick(0, 99);
    if (action < 70)
      dispatchSomething();
    else if (action < 80)
      effect->setParameter(effect, index(), anyFloat());
    else if (action < 85)
      effect->getParameter(effect, index());
    else if (action < 90)
      dispatch(effect, effSetProgram, 0, pick(-2, 9));
    else
      processBlock();
    if (call % 256 == 0) pumpMessages();  // editor timers and paints
  }

  AEffect* effect = nullptr;
  uint64_t blocks = 0, frames = 0, closes = 0;

 private:
  int pick(int lowest, int highest) { return std::uniform_int_distribution<int>(lowest, highest)(random); }

  VstInt32 index() {
    static const VstInt32 notable[] = {-1, 0, 1, 6, 7, 13, 14, 20, 21, 200, 1000, INT32_MIN, INT32_MAX};
    return pick(0, 3) == 0 ? VstInt32(random()) : notable[pick(0, 12)];
  }

  VstIntPtr value() {
    static const VstIntPtr notable[] = {0, 1, -1, 2, 3, 7, 8, 64, 512, 4096, 12345, INT32_MAX, INT32_MIN};
    return pick(0, 3) == 0 ? VstIntPtr(random()) : notable[pick(0, 12)];
  }

  float anyFloat() {
    static const float notable[] = {0.0f, 1.0f, 0.5f, 0.1f, 0.2f, 0.35f, -1.0f, 2.0f, 1e30f, -1e30f,
                                    kNaN, kInf,  -kInf, 4294967296.0f, -0.0f, 1e-40f};
    if (pick(0, 2) == 0) return std::uniform_real_distribution<float>(-2.0f, 2.0f)(random);
    return notable[pick(0, 15)];
  }

  // Mostly supported rates: each other rate costs a message box.
  float sampleRate() {
    int choice = pick(0, 19);
    if (choice < 9) return 44100.0f;
    if (choice < 18) return 96000.0f;
    return choice == 18 ? anyFloat() : 48000.0f;
  }

  void dispatchSomething() {
    VstInt32 opcode = pick(-10, 100);
    VstInt32 idx = index();
    VstIntPtr val = value();
    float opt = anyFloat();
    void* ptr = nullptr;
    std::memset(text, 0, sizeof text);
    bool withPointer = pick(0, 4) != 0;
    switch (opcode) {
      case effClose:
        closeEffect(effect);
        closes++;
        effect = library.main(RecordingHost::callback());
        ASSERT_NE(effect, nullptr);
        return;
      case effSetSampleRate:
      case effSetBlockSizeAndSampleRate:
        opt = sampleRate();
        break;
      case effEditOpen:
        ptr = hostWindow;
        break;
      case effEditGetRect:
        ptr = withPointer ? static_cast<void*>(&rect) : nullptr;
        break;
      case effProcessEvents:
        ptr = withPointer ? static_cast<void*>(midiEvents()) : nullptr;
        break;
      case effSetSpeakerArrangement:
      case effGetSpeakerArrangement:
        arrangementSlots[0] = &arrangements[0];
        arrangementSlots[1] = &arrangements[1];
        val = withPointer ? reinterpret_cast<VstIntPtr>(opcode == effSetSpeakerArrangement
                                                            ? static_cast<void*>(&arrangements[0])
                                                            : static_cast<void*>(&arrangementSlots[0]))
                          : 0;
        ptr = withPointer ? (opcode == effSetSpeakerArrangement ? static_cast<void*>(&arrangements[1])
                                                                : static_cast<void*>(&arrangementSlots[1]))
                          : nullptr;
        break;
      case effSetProgramName:
        if (withPointer) std::strcpy(text, "fuzzed name that is longer than allowed");
        ptr = withPointer ? text : nullptr;
        break;
      default:
        ptr = withPointer ? text : nullptr;
        break;
    }
    dispatch(effect, opcode, idx, val, ptr, opt);
    ASSERT_EQ(text[sizeof text - 1], 0) << "opcode " << opcode << " wrote past its text";
  }

  VstEvents* midiEvents() {
    int count = pick(-2, kMaxEvents);
    eventList.numEvents = count;
    for (int i = 0; i < kMaxEvents; i++) {
      VstMidiEvent& midi = midi_[i];
      midi = VstMidiEvent{};
      midi.type = pick(0, 3) == 0 ? pick(0, 7) : kVstMidiType;
      midi.byteSize = sizeof midi;
      midi.midiData[0] = char(pick(0, 3) == 0 ? pick(0, 255) : 0xB0 | pick(0, 15));
      midi.midiData[1] = char(pick(0, 255));
      midi.midiData[2] = char(pick(0, 255));
      eventPointers[i] = pick(0, 9) == 0 ? nullptr : reinterpret_cast<VstEvent*>(&midi);
    }
    return &eventList;
  }

  void processBlock() {
    int frameCount = pick(0, 9) == 0 ? pick(0, 8192) : pick(0, 700);
    if (pick(0, 20) == 0) frameCount = -pick(1, 100);
    size_t used = frameCount > 0 ? size_t(frameCount) : 0;
    for (int channel = 0; channel < 2; channel++) {
      input[channel].assign(used + 2 * kGuard, 0.0f);
      output[channel].assign(used + 2 * kGuard, 0.0f);
      for (size_t i = 0; i < used; i++) input[channel][kGuard + i] = std::uniform_real_distribution<float>(-1, 1)(random);
      for (int i = 0; i < kGuard; i++) {
        std::memcpy(&output[channel][i], &kGuardBits, 4);
        std::memcpy(&output[channel][kGuard + used + i], &kGuardBits, 4);
      }
    }
    float* inputs[2] = {&input[0][kGuard], &input[1][kGuard]};
    float* outputs[2] = {&output[0][kGuard], &output[1][kGuard]};
    effect->processReplacing(effect, inputs, outputs, frameCount);
    blocks++;
    frames += used;
    for (int channel = 0; channel < 2; channel++) {
      for (int i = 0; i < kGuard; i++) {
        uint32_t before, after;
        std::memcpy(&before, &output[channel][i], 4);
        std::memcpy(&after, &output[channel][kGuard + used + i], 4);
        ASSERT_EQ(before, kGuardBits) << "written before the block, channel " << channel;
        ASSERT_EQ(after, kGuardBits) << "written past sampleFrames " << frameCount << ", channel " << channel;
      }
      for (size_t i = 0; i < used; i++)
        ASSERT_TRUE(std::isfinite(output[channel][kGuard + i])) << "frame " << i << " of " << frameCount;
    }
  }

  void pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }

  static constexpr int kMaxEvents = 6;
  PluginLibrary& library;
  std::mt19937_64 random;
  HWND hostWindow = nullptr;
  char text[512];
  ERect* rect = nullptr;
  VstSpeakerArrangement arrangements[2] = {};
  VstSpeakerArrangement* arrangementSlots[2] = {};
  VstMidiEvent midi_[kMaxEvents];
  union {
    VstEvents eventList;
    char eventStorage[sizeof(VstEvents) + kMaxEvents * sizeof(VstEvent*)];
  };
  VstEvent** eventPointers = eventList.events;
  std::vector<float> input[2], output[2];
};

TEST(DispatcherFuzz, RandomHostSurvivesAndStillAnswers) {
  PluginLibrary library;
  ASSERT_NE(library.main, nullptr);
  RecordingHost host;
  MessageBoxWatcher watcher;
  uint64_t seed = settingFromEnvironment("R4M_FUZZ_SEED", 20261210);
  uint64_t calls = settingFromEnvironment("R4M_FUZZ_CALLS", 20000);
  std::printf("seed %llu, %llu calls\n", static_cast<unsigned long long>(seed), static_cast<unsigned long long>(calls));
  Fuzzer fuzzer(library, seed);
  ASSERT_NE(fuzzer.effect, nullptr);
  for (uint64_t call = 0; call < calls; call++) {
    SCOPED_TRACE(testing::Message() << "seed " << seed << ", call " << call);
    fuzzer.step(call);
    if (HasFatalFailure()) return;
  }
  std::printf("%llu blocks (%llu frames), %llu closes and re-creations, %zu message boxes answered\n",
              static_cast<unsigned long long>(fuzzer.blocks), static_cast<unsigned long long>(fuzzer.frames),
              static_cast<unsigned long long>(fuzzer.closes), watcher.seen().size());

  // The instance still answers as it should.
  AEffect* effect = fuzzer.effect;
  dispatch(effect, effEditClose);
  dispatch(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  dispatch(effect, effMainsChanged, 0, 1);
  for (VstInt32 index = 0; index < 21; index++) {
    effect->setParameter(effect, index, 0.25f);
    EXPECT_EQ(effect->getParameter(effect, index), 0.25f) << index;
  }
  char name[64] = {};
  dispatch(effect, effGetParamName, 13, 0, name);
  EXPECT_STREQ(name, "Flt 07 Q");
  dispatch(effect, effSetProgram, 0, 7);
  EXPECT_EQ(dispatch(effect, effGetProgram), 7);
  effect->setParameter(effect, 0, 0.6f);
  dispatch(effect, effSetProgram, 0, 2);
  dispatch(effect, effSetProgram, 0, 7);
  EXPECT_EQ(effect->getParameter(effect, 0), 0.6f) << "programs still keep their edits";
  std::string midi = "receiveVstMidiEvent";
  EXPECT_EQ(dispatch(effect, effCanDo, 0, 0, &midi[0]), 1);
  float silence[2][64] = {}, out[2][64];
  float* inputs[2] = {silence[0], silence[1]};
  float* outputs[2] = {out[0], out[1]};
  for (int block = 0; block < 4000; block++) effect->processReplacing(effect, inputs, outputs, 64);
  for (int channel = 0; channel < 2; channel++) EXPECT_TRUE(std::isfinite(out[channel][63]));
}

}  // namespace
