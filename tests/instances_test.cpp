// Many instances side by side, and hosts that call things in odd orders.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "editor_host.h"
#include "leak_probes.h"

namespace {

void processNoise(AEffect* effect, int blocks) {
  std::vector<float> left(256), right(256), outLeft(256), outRight(256);
  for (int i = 0; i < 256; i++) left[i] = right[i] = float(std::sin(i * 0.3));
  float* inputs[2] = {left.data(), right.data()};
  float* outputs[2] = {outLeft.data(), outRight.data()};
  for (int block = 0; block < blocks; block++) effect->processReplacing(effect, inputs, outputs, 256);
}

void runManyInstances(PluginLibrary& library) {
  std::vector<std::unique_ptr<EditorHost>> instances;
  for (int i = 0; i < 32; i++) {
    instances.push_back(std::make_unique<EditorHost>(library));
    ASSERT_NE(instances.back()->effect, nullptr);
    dispatch(instances.back()->effect, effSetProgram, 0, i % 8);
    if (i % 4 == 0) {
      ASSERT_TRUE(instances.back()->open());  // 8 editors open
    }
  }
  for (auto& instance : instances) processNoise(instance->effect, 20);
  pump(50);
}

TEST(ManyInstances, ThirtyTwoAtOnceThenAllClosed) {
  PluginLibrary library;
  ASSERT_NE(library.main, nullptr);
  RecordingHost host;
  runManyInstances(library);  // the heap and Wine's own caches grow the first time
  int windowsBefore = windowsOfThisThread();
  double memoryBefore = committedPrivateBytes();
  unsigned gdiBefore = nextGdiIndex();
  for (int round = 0; round < 3; round++) runManyInstances(library);
  double memoryAfter = committedPrivateBytes();
  std::printf("windows %d -> %d, private memory %.0f KiB -> %.0f KiB, next GDI index %u -> %u\n", windowsBefore,
              windowsOfThisThread(), memoryBefore / 1024, memoryAfter / 1024, gdiBefore, nextGdiIndex());
  EXPECT_EQ(windowsOfThisThread(), windowsBefore);
  EXPECT_LT(memoryAfter - memoryBefore, 256.0 * 1024) << "96 instances and 24 editors leaked";
  EXPECT_LT(nextGdiIndex(), gdiBefore + 200);
}

// The odd orders in which hosts call: none may crash or leave anything behind.
TEST(OddHosts, EditorAndMainsCallsInOddOrders) {
  PluginLibrary library;
  ASSERT_NE(library.main, nullptr);
  RecordingHost host;
  int windowsBefore = windowsOfThisThread();
  for (int round = 0; round < 3; round++) {
    EditorHost closeFirst(library);
    dispatch(closeFirst.effect, effEditClose);  // never opened
    dispatch(closeFirst.effect, effEditClose);
    dispatch(closeFirst.effect, effEditIdle);

    EditorHost openTwice(library);
    ASSERT_TRUE(openTwice.open());
    ASSERT_EQ(dispatch(openTwice.effect, effEditOpen, 0, 0, openTwice.hostWindow), 1);
    pump(20);
    HWND firstChild = FindWindowExA(openTwice.hostWindow, nullptr, nullptr, nullptr);
    EXPECT_NE(firstChild, nullptr);
    EXPECT_EQ(FindWindowExA(openTwice.hostWindow, firstChild, nullptr, nullptr), nullptr)
        << "opened twice, one editor window";

    EditorHost mains(library);
    dispatch(mains.effect, effMainsChanged, 0, 0);
    dispatch(mains.effect, effMainsChanged, 0, 0);
    processNoise(mains.effect, 4);
    dispatch(mains.effect, effMainsChanged, 0, 1);
    dispatch(mains.effect, effMainsChanged, 0, 1);
    processNoise(mains.effect, 4);

    // Closed by the host with its editor still open: the destructor cleans up.
    AEffect* effect = library.main(RecordingHost::callback());
    ASSERT_NE(effect, nullptr);
    EditorHost frame(library);
    ASSERT_EQ(dispatch(effect, effEditOpen, 0, 0, frame.hostWindow), 1);
    pump(20);
    closeEffect(effect);
    pump(20);
  }
  EXPECT_EQ(windowsOfThisThread(), windowsBefore);
}

}  // namespace
