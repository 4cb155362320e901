// Threads as hosts use them: audio blocks on one thread, automation, program
// changes and renames on another, the editor opened, redrawn and closed on the
// user-interface thread, all at once for a bounded time.
#include <atomic>
#include <cmath>
#include <random>
#include <thread>
#include <vector>

#include "editor_host.h"
#include "effect_fixture.h"
#include "fuzz_settings.h"

namespace {

using Threads = EffectFixture;  // the effect linked in; the test program carries the skin resources

TEST_F(Threads, AudioAutomationAndEditorTogether) {
  const DWORD seconds = DWORD(settingFromEnvironment("R4M_STRESS_SECONDS", 2));
  std::atomic<bool> stop{false};
  std::atomic<uint64_t> blocks{0}, automations{0}, badSelectors{0}, badSamples{0};
  EffectInspector inspector = inspect();

  std::thread audio([&] {
    std::minstd_rand random(7);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    std::vector<float> in[2], out[2];
    for (int channel = 0; channel < 2; channel++) in[channel].resize(64), out[channel].resize(64);
    float* inputs[2] = {in[0].data(), in[1].data()};
    float* outputs[2] = {out[0].data(), out[1].data()};
    while (!stop) {
      for (int channel = 0; channel < 2; channel++)
        for (float& sample : in[channel]) sample = noise(random);
      effect->processReplacing(inputs, outputs, 64);
      for (int channel = 0; channel < 2; channel++)
        for (float sample : out[channel])
          if (!std::isfinite(sample)) badSamples++;
      for (int band = 1; band <= 7; band++) {
        int32_t row = inspector.gainRow(band), width = inspector.qSel(band);
        if (row < 0 || row > 99 || width < 0 || width > 10) badSelectors++;
      }
      blocks++;
    }
  });

  std::thread automation([&] {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    const float odd[] = {-1.0f, 2.0f, 1e30f, std::numeric_limits<float>::quiet_NaN()};
    char name[32];
    while (!stop) {
      for (VstInt32 index = 0; index < 21; index++)
        effect->setParameterAutomated(index, random() % 16 == 0 ? odd[random() % 4] : unit(random));
      if (random() % 8 == 0) effect->dispatcher(effSetProgram, 0, random() % 8, nullptr, 0.0f);
      if (random() % 16 == 0) {
        std::snprintf(name, sizeof name, "Take %u", unsigned(random() % 1000));
        effect->dispatcher(effSetProgramName, 0, 0, name, 0.0f);
      }
      automations++;
    }
  });

  // The user-interface thread: the editor's windows belong here.
  HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 200, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  DWORD start = GetTickCount();
  int opens = 0;
  while (GetTickCount() - start < seconds * 1000) {
    ASSERT_EQ(effect->dispatcher(effEditOpen, 0, 0, host, 0.0f), 1);
    pump(25);  // paints and timer redraws while the other threads change everything
    effect->dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
    pump(2);
    opens++;
  }
  stop = true;
  audio.join();
  automation.join();
  DestroyWindow(host);
  std::printf("%llu audio blocks, %llu automation rounds, %d editor opens in %lu s\n",
              static_cast<unsigned long long>(blocks.load()), static_cast<unsigned long long>(automations.load()),
              opens, seconds);
  EXPECT_GT(blocks.load(), 0u);
  EXPECT_GT(automations.load(), 0u);
  EXPECT_EQ(badSelectors.load(), 0u) << "a selector outside its range reached the audio thread";
  EXPECT_EQ(badSamples.load(), 0u);
}

}  // namespace
