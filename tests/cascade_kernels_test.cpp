// Both kernels of processReplacing (SSE2 and AVX) against the plain scalar
// step run in the same floating-point mode: random blocks, programs,
// parameter changes, rates and layouts, every output sample and memory
// value; the pipeline's filling and draining in short blocks; changes made by
// another thread in the middle of a block; the choice of kernel.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

#include "dsp/cascade_kernels.h"
#include "dsp/section_lanes.h"
#include "effect_fixture.h"
#include "mxcsr_mode.h"
#include "reference_cascade.h"

namespace {

constexpr float kUntouched = -12345.0f;

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

// The kernels this processor can run, each made the one in use while a test runs.
std::vector<CascadeKernel> runnableKernels() {
  if (processorRunsAvx()) return {CascadeKernel::sse2, CascadeKernel::avx};
  return {CascadeKernel::sse2};
}
const char* nameOf(CascadeKernel kernel) { return kernel == CascadeKernel::avx ? "AVX" : "SSE2"; }

class KernelInUse {
 public:
  explicit KernelInUse(CascadeKernel kernel) : before(cascadeKernel()) { useCascadeKernel(kernel); }
  ~KernelInUse() { useCascadeKernel(before); }

 private:
  CascadeKernel before;
};

class CascadeKernels : public EffectFixture {
 protected:
  // What happens between two blocks: a program, some parameters, the rate, the layout.
  void changeSomething(std::mt19937& random) {
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    const int32_t rates[] = {kRate44k, kRate96k, kRate44k, kRate96k, 48000};
    switch (random() % 4) {
      case 0: effect->setProgram(VstInt32(random() % kNumPrograms)); break;
      case 1:
        for (unsigned n = 1 + random() % 5; n > 0; n--) effect->setParameter(VstInt32(random() % 14), value(random));
        break;
      case 2: inspect().setSampleRateInt(rates[random() % 5]); break;
      default: inspect().setMonoInput(random() % 3 == 0); break;
    }
  }
  CascadeSettings current() {
    const int32_t rate = inspect().sampleRateInt();
    CascadeSettings s{rate == kRate44k ? 0 : rate == kRate96k ? 1 : -1, {}, {}};
    for (int band = 0; band < 7; band++) {
      s.gainRow[band] = inspect().gainRow(band + 1);
      s.qSel[band] = inspect().qSel(band + 1);
    }
    return s;
  }
  // One block through the effect and through the reference; both must agree
  // on every sample and on the memory afterwards.
  void blockAgrees(ReferenceCascade& reference, const StereoBlock& input) {
    const CascadeSettings settings = current();
    const bool mono = inspect().monoInput();
    const size_t length = input.left.size();
    StereoBlock output{std::vector<float>(length, kUntouched), std::vector<float>(length, kUntouched)};
    float* inputs[2] = {const_cast<float*>(input.left.data()), const_cast<float*>(input.right.data())};
    float* outputs[2] = {output.left.data(), output.right.data()};
    effect->processReplacing(inputs, outputs, int32_t(length));
    StereoBlock expected;
    underMode(kAudioPathMode, [&] { expected = reference.run(settings, input, mono ? 1 : 2); });
    ASSERT_TRUE(sameBits(output.left, expected.left));
    ASSERT_TRUE(sameBits(output.right, expected.right));
    ASSERT_EQ(std::memcmp(inspect().filterMemory(), reference.memory, sizeof reference.memory), 0);
  }
};

// Loud, ordinary and subnormal float input.
StereoBlock randomInput(std::mt19937& random, int frames) {
  const float scales[] = {1.0f, 1000.0f, 1e-39f};
  StereoBlock block = noiseBlock(size_t(frames), uint32_t(random()));
  const float scale = scales[random() % 3];
  for (float& sample : block.left) sample *= scale;
  for (float& sample : block.right) sample *= scale;
  return block;
}

TEST_F(CascadeKernels, RandomBlocksMatchThePlainStepBitForBit) {
  constexpr long kTotalFrames = 250000;
  constexpr int kLongestBlock = 700;
  for (CascadeKernel kernel : runnableKernels()) {
    SCOPED_TRACE(nameOf(kernel));
    KernelInUse inUse(kernel);
    std::mt19937 random(8);
    ReferenceCascade reference;
    std::memcpy(reference.memory, inspect().filterMemory(), sizeof reference.memory);
    long frames = 0, monoFrames = 0, frames96k = 0, bypassed = 0;
    for (int block = 0; frames < kTotalFrames; block++) {
      changeSomething(random);
      const int length = 1 + int(random() % kLongestBlock);
      const CascadeSettings settings = current();
      SCOPED_TRACE(testing::Message() << "block " << block << " of " << length << " frames at frame " << frames
                                      << (inspect().monoInput() ? " mono" : " stereo") << " rate set "
                                      << settings.rateSet);
      blockAgrees(reference, randomInput(random, length));
      if (HasFatalFailure()) return;
      frames += length;
      monoFrames += inspect().monoInput() ? length : 0;
      frames96k += settings.rateSet == 1 ? length : 0;
      bypassed += settings.rateSet < 0 ? length : 0;
    }
    // Both layouts, both rates and the bypass had their share of the frames.
    EXPECT_GT(monoFrames, kTotalFrames / 10);
    EXPECT_LT(monoFrames, kTotalFrames - kTotalFrames / 10);
    EXPECT_GT(frames96k, kTotalFrames / 10);
    EXPECT_GT(bypassed, kTotalFrames / 50);
  }
}

// Blocks shorter than, as long as and a little longer than the pipeline is
// deep, the selectors of some band changed between every pair of blocks.
TEST_F(CascadeKernels, ShortBlocksAroundThePipelinesDepth) {
  for (CascadeKernel kernel : runnableKernels()) {
    SCOPED_TRACE(nameOf(kernel));
    KernelInUse inUse(kernel);
    std::mt19937 random(16);
    std::uniform_real_distribution<float> value(0.0f, 0.3f);  // Q up to the first value that names no width
    ReferenceCascade reference;
    std::memcpy(reference.memory, inspect().filterMemory(), sizeof reference.memory);
    for (int round = 0; round < 40; round++) {
      inspect().setMonoInput(round % 5 == 4);
      inspect().setSampleRateInt(round % 3 == 2 ? kRate96k : kRate44k);
      for (int length = 1; length <= 16; length++) {
        SCOPED_TRACE(testing::Message() << "round " << round << ", " << length << " frames");
        const VstInt32 band = VstInt32(random() % 7);
        effect->setParameter(band, std::uniform_real_distribution<float>(0.0f, 1.0f)(random));
        effect->setParameter(7 + band, value(random));
        blockAgrees(reference, randomInput(random, length));
        if (HasFatalFailure()) return;
      }
    }
  }
}

// The SSE2 kernel's step with each channel on its own row, as when a change
// lands between a band's two row reads: each lane must follow its own row.
TEST(CascadeLanePair, ChannelsOnDifferentRowsEachFollowTheirOwn) {
  std::mt19937 random(21);
  underMode(kAudioPathMode, [&] {
    for (int trial = 0; trial < 200; trial++) {
      const auto& table = coefficientTables[random() % kRateSets][random() % kTableBands][random() % kWidths];
      const int leftRow = int(random() % kGainRows), rightRow = (leftRow + 1 + int(random() % 99)) % kGainRows;
      SCOPED_TRACE(testing::Message() << "rows " << leftRow << " and " << rightRow);
      LaneMemory lanes{};
      SectionMemory left{}, right{};
      const StereoBlock input = noiseBlock(64, uint32_t(random()));
      for (size_t i = 0; i < input.left.size(); i++) {
        const __m128d x = _mm_set_pd(input.right[i], input.left[i]);
        const RowInLanes rows = pairOfRows(table[leftRow], table[rightRow]);
        const __m128d y = i % 2 ? runSection<1>(rows, lanes, x) : runSection<0>(rows, lanes, x);
        double lanesOut[2];
        _mm_storeu_pd(lanesOut, y);
        ASSERT_EQ(lanesOut[0], referenceStep(table[leftRow], left, input.left[i]));
        ASSERT_EQ(lanesOut[1], referenceStep(table[rightRow], right, input.right[i]));
      }
      BandMemory stored;
      fromLanes(lanes, stored);  // an even number of steps: back in phase 0
      ASSERT_EQ(std::memcmp(&stored[0], &left, sizeof left), 0);
      ASSERT_EQ(std::memcmp(&stored[1], &right, sizeof right), 0);
    }
  });
}

// Another thread changes something once while blocks run. Every frame reads
// the layout and rate once, every band its width once and its row once for
// each channel: so each output must be the plain cascade's with the change
// landing at one frame, for the layout and rate all bands at once, for a row
// the left channel at most one frame after the right (which reads it later).
class ConcurrentChange : public CascadeKernels {
 protected:
  static constexpr int kBlock = 2048;

  // Runs blocks with `change` made by another thread at a random moment until
  // `wanted` of them saw it land inside the block; `check` gets each block's
  // input and output with the settings before and after.
  template <class Change, class Undo, class Check>
  void landInside(Change change, Undo undo, Check check, int wanted) {
    std::mt19937 random(5);
    int inside = 0;
    for (int attempt = 0; attempt < 4000 && inside < wanted; attempt++) {
      const CascadeSettings before = current();
      const bool monoBefore = inspect().monoInput();
      SectionMemory memory[7][2];
      std::memcpy(memory, inspect().filterMemory(), sizeof memory);
      const StereoBlock input = noiseBlock(kBlock, uint32_t(random()));
      StereoBlock output{std::vector<float>(kBlock, kUntouched), std::vector<float>(kBlock, kUntouched)};
      float* inputs[2] = {const_cast<float*>(input.left.data()), const_cast<float*>(input.right.data())};
      float* outputs[2] = {output.left.data(), output.right.data()};
      std::atomic<bool> started{false};
      const unsigned spin = random() % 20000;
      std::thread changer([&] {
        while (!started) {
        }
        for (volatile unsigned i = 0; i < spin; i = i + 1) {
        }
        change();
      });
      started = true;
      effect->processReplacing(inputs, outputs, kBlock);
      changer.join();
      inside += check(memory, before, monoBefore, current(), inspect().monoInput(), input, output);
      if (HasFatalFailure()) return;
      undo();
    }
    EXPECT_GE(inside, wanted) << "too few changes landed inside a block to tell";
  }

  // The frame of one channel at which the output starts to follow `after`,
  // or -1 when no single frame explains it.
  static int landingFrame(const SectionMemory (&memory)[7][2], const CascadeSettings& before,
                          const CascadeSettings& after, int channel, const std::vector<float>& input,
                          const std::vector<float>& output) {
    // The first frame that differs from `before` all along is the last candidate.
    ReferenceCascade unchanged;
    std::memcpy(unchanged.memory, memory, sizeof unchanged.memory);
    int firstDifferent = kBlock;
    underMode(kAudioPathMode, [&] {
      for (int i = 0; i < kBlock; i++)
        if (unchanged.frame(before, channel, input[size_t(i)]) != output[size_t(i)]) {
          firstDifferent = i;
          break;
        }
    });
    for (int k = firstDifferent; k >= 0 && k >= firstDifferent - 8; k--) {
      ReferenceCascade reference;
      std::memcpy(reference.memory, memory, sizeof reference.memory);
      bool same = true;
      underMode(kAudioPathMode, [&] {
        for (int i = 0; i < kBlock && same; i++)
          same = reference.frame(i < k ? before : after, channel, input[size_t(i)]) == output[size_t(i)];
      });
      if (same) return k;
    }
    return -1;
  }
};

TEST_F(ConcurrentChange, ARateChangeLandsForWholeFrames) {
  for (CascadeKernel kernel : runnableKernels()) {
    SCOPED_TRACE(nameOf(kernel));
    KernelInUse inUse(kernel);
    landInside([&] { inspect().setSampleRateInt(kRate96k); },
               [&] { inspect().setSampleRateInt(kRate44k); },
               [&](const SectionMemory(&memory)[7][2], const CascadeSettings& before, bool, const CascadeSettings& after,
                   bool, const StereoBlock& input, const StereoBlock& output) {
                 const int left = landingFrame(memory, before, after, 0, input.left, output.left);
                 const int right = landingFrame(memory, before, after, 1, input.right, output.right);
                 EXPECT_GE(left, 0);
                 EXPECT_EQ(left, right) << "both channels of a frame run at the rate it read";
                 return left > 0 && left < kBlock;
               },
               20);
  }
}

TEST_F(ConcurrentChange, ARowChangeLandsForEachChannelOnce) {
  for (CascadeKernel kernel : runnableKernels()) {
    SCOPED_TRACE(nameOf(kernel));
    KernelInUse inUse(kernel);
    effect->setParameter(2, 0.3f);  // band 3, row 29
    landInside([&] { effect->setParameter(2, 0.9f); }, [&] { effect->setParameter(2, 0.3f); },
               [&](const SectionMemory(&memory)[7][2], const CascadeSettings& before, bool, const CascadeSettings& after,
                   bool, const StereoBlock& input, const StereoBlock& output) {
                 const int left = landingFrame(memory, before, after, 0, input.left, output.left);
                 const int right = landingFrame(memory, before, after, 1, input.right, output.right);
                 EXPECT_GE(right, 0);
                 EXPECT_TRUE(left == right || left == right + 1) << "left " << left << ", right " << right;
                 return right > 0 && right < kBlock;
               },
               20);
  }
}

// Upper halves of the AVX registers left in use by whoever called before: the
// result is the same, and where AVX exists the VEX kernel, which pays nothing
// for that state, is the one chosen.
TEST_F(CascadeKernels, DirtyUpperRegisterStateChangesNothing) {
  if (processorRunsAvx() && !std::getenv("R4M_CASCADE_KERNEL")) {
    EXPECT_EQ(cascadeKernel(), CascadeKernel::avx);
  }
  ReferenceCascade reference;
  std::memcpy(reference.memory, inspect().filterMemory(), sizeof reference.memory);
  std::mt19937 random(3);
  for (int block = 0; block < 20; block++) {
    if (processorRunsAvx()) __asm__ volatile("vpcmpeqd %%ymm7, %%ymm7, %%ymm7" ::: "xmm7");
    blockAgrees(reference, randomInput(random, 300));
    if (HasFatalFailure()) return;
  }
}

TEST(KernelChoice, AvxOnlyWhereItRunsAndSse2OnRequest) {
  const struct {
    bool runsAvx;
    const char* asked;
    CascadeKernel chosen;
  } kCases[] = {
      {true, nullptr, CascadeKernel::avx},   {false, nullptr, CascadeKernel::sse2},
      {true, "sse2", CascadeKernel::sse2},   {false, "avx", CascadeKernel::sse2},
      {true, "avx", CascadeKernel::avx},     {true, "", CascadeKernel::avx},
      {true, "SSE2", CascadeKernel::avx},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(kernelFor(c.runsAvx, c.asked), c.chosen) << c.runsAvx << " " << (c.asked ? c.asked : "(none)");
  const char* asked = std::getenv("R4M_CASCADE_KERNEL");
  std::printf("this processor %s AVX; the kernel in use is %s%s%s\n", processorRunsAvx() ? "runs" : "has no",
              nameOf(cascadeKernel()), asked ? ", asked for " : "", asked ? asked : "");
}

}  // namespace
