// The two-lane cascade of processReplacing against the plain scalar step run
// in the same floating-point mode: random blocks, programs, parameter
// changes, rates and channel layouts, every output sample and memory value.
#include <cstring>
#include <random>
#include <vector>

#include "dsp/cascade.h"
#include "effect_fixture.h"
#include "mxcsr_mode.h"
#include "reference_cascade.h"

namespace {

constexpr float kUntouched = -12345.0f;
constexpr long kTotalFrames = 250000;
constexpr int kLongestBlock = 700;

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

class CascadeLanes : public EffectFixture {
 protected:
  // What happens between two blocks: a program, some parameters, the rate, the layout.
  void changeSomething(std::mt19937& random) {
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    switch (random() % 4) {
      case 0: effect->setProgram(VstInt32(random() % kNumPrograms)); break;
      case 1:
        for (unsigned n = 1 + random() % 5; n > 0; n--) effect->setParameter(VstInt32(random() % 14), value(random));
        break;
      case 2: inspect().setSampleRateInt(random() % 2 ? kRate44k : kRate96k); break;
      default: inspect().setMonoInput(random() % 3 == 0); break;
    }
  }
  CascadeSettings current() {
    CascadeSettings s{inspect().sampleRateInt() == kRate44k ? 0 : 1, {}, {}};
    for (int band = 0; band < 7; band++) {
      s.gainRow[band] = inspect().gainRow(band + 1);
      s.qSel[band] = inspect().qSel(band + 1);
    }
    return s;
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

TEST_F(CascadeLanes, RandomBlocksMatchThePlainStepBitForBit) {
  std::mt19937 random(8);
  ReferenceCascade reference;
  long frames = 0, monoFrames = 0, frames96k = 0;
  for (int block = 0; frames < kTotalFrames; block++) {
    changeSomething(random);
    const CascadeSettings settings = current();
    const bool mono = inspect().monoInput();
    const int length = 1 + int(random() % kLongestBlock);
    SCOPED_TRACE(testing::Message() << "block " << block << " of " << length << " frames at frame " << frames
                                    << (mono ? " mono" : " stereo") << " rate set " << settings.rateSet);
    StereoBlock input = randomInput(random, length);
    StereoBlock output{std::vector<float>(size_t(length), kUntouched), std::vector<float>(size_t(length), kUntouched)};
    float* inputs[2] = {input.left.data(), input.right.data()};
    float* outputs[2] = {output.left.data(), output.right.data()};
    effect->processReplacing(inputs, outputs, length);

    StereoBlock expected;
    underMode(kAudioPathMode, [&] { expected = reference.run(settings, input, mono ? 1 : 2); });
    ASSERT_TRUE(sameBits(output.left, expected.left));
    ASSERT_TRUE(sameBits(output.right, mono ? std::vector<float>(size_t(length), kUntouched) : expected.right));
    ASSERT_EQ(std::memcmp(inspect().filterMemory(), reference.memory, sizeof reference.memory), 0);
    frames += length;
    monoFrames += mono ? length : 0;
    frames96k += settings.rateSet == 1 ? length : 0;
  }
  // Both layouts and both rates had their share of the frames.
  EXPECT_GT(monoFrames, kTotalFrames / 10);
  EXPECT_LT(monoFrames, kTotalFrames - kTotalFrames / 10);
  EXPECT_GT(frames96k, kTotalFrames / 10);
  EXPECT_LT(frames96k, kTotalFrames - kTotalFrames / 10);
}

// A change landing between a band's two row reads puts the channels on
// different rows for a frame: each lane must still follow its own row.
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
        const __m128d y = runSections(table[leftRow], table[rightRow], lanes, _mm_set_pd(input.right[i], input.left[i]));
        double lanesOut[2];
        _mm_storeu_pd(lanesOut, y);
        ASSERT_EQ(lanesOut[0], referenceStep(table[leftRow], left, input.left[i]));
        ASSERT_EQ(lanesOut[1], referenceStep(table[rightRow], right, input.right[i]));
      }
      BandMemory stored;
      fromLanes(lanes, stored);
      ASSERT_EQ(std::memcmp(&stored[0], &left, sizeof left), 0);
      ASSERT_EQ(std::memcmp(&stored[1], &right, sizeof right), 0);
    }
  });
}

}  // namespace
