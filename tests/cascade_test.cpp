// The seven-band cascade of processReplacing, against a plain evaluation of
// the same arithmetic, and the accumulating process.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <memory>
#include <vector>

#include "effect_fixture.h"
#include "reference_cascade.h"
#include "significant_digits.h"

namespace {

constexpr float kOffsetSample = 1.0000000031710769e-29f;  // the float nearest to 1e-29
constexpr float kUntouched = -12345.0f;                    // fills buffers nothing should write

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

bool sameMemory(const SectionMemory (&a)[7][2], const SectionMemory (&b)[7][2]) {
  return std::memcmp(a, b, sizeof a) == 0;
}

CascadeSettings uniform(int rateSet, int32_t row, int32_t width) {
  CascadeSettings s{rateSet, {}, {}};
  for (int band = 0; band < 7; band++) {
    s.gainRow[band] = row;
    s.qSel[band] = width;
  }
  return s;
}

const CascadeSettings kMixed44k{0, {0, 99, 49, 51, 50, 73, 12}, {2, 0, 1, 2, 0, 1, 2}};
const CascadeSettings kMixed96k{1, {99, 3, 60, 51, 49, 88, 99}, {0, 2, 2, 1, 0, 0, 1}};

class Cascade : public EffectFixture {
 protected:
  // Through the parameters, as a host sets them.
  void apply(stdvst& target, const CascadeSettings& s) {
    EffectInspector(target).setSampleRateInt(s.rateSet == 0 ? kRate44k : kRate96k);
    for (int band = 0; band < 7; band++) {
      target.setParameter(band, (float(s.gainRow[band]) + 0.5f) / 99.0f);
      target.setParameter(7 + band, (float(s.qSel[band]) + 0.5f) / 10.0f);
      ASSERT_EQ(EffectInspector(target).gainRow(band + 1), s.gainRow[band]);
      ASSERT_EQ(EffectInspector(target).qSel(band + 1), s.qSel[band]);
    }
  }
  void apply(const CascadeSettings& s) { apply(*effect, s); }

  // Separate output buffers, prefilled with kUntouched.
  StereoBlock run(stdvst& target, const StereoBlock& input) {
    StereoBlock output{std::vector<float>(input.left.size(), kUntouched),
                       std::vector<float>(input.right.size(), kUntouched)};
    float* inputs[2] = {const_cast<float*>(input.left.data()), const_cast<float*>(input.right.data())};
    float* outputs[2] = {output.left.data(), output.right.data()};
    target.processReplacing(inputs, outputs, int32_t(input.left.size()));
    return output;
  }
  StereoBlock run(const StereoBlock& input) { return run(*effect, input); }

  std::unique_ptr<stdvst> another() { return std::make_unique<stdvst>(RecordingHost::callback()); }
};

StereoBlock leftImpulse(size_t frames) {
  StereoBlock block{std::vector<float>(frames, 0.0f), std::vector<float>(frames, 0.0f)};
  block.left[0] = 1.0f;
  return block;
}

TEST_F(Cascade, WorkedImpulseResponses) {
  struct Case {
    int rateSet;
    int32_t row, width;
    double firstFour[4];
  };
  const Case cases[] = {
      {0, 99, 1, {85.97026, 90.62907, -36.92171, -88.49337}},
      {0, 0, 2, {0.6039190, -0.2471516, -0.02774233, -0.1068701}},
      {1, 99, 1, {89.51557, 252.2161, 323.1289, 181.1785}},
      {1, 0, 2, {0.6034959, -0.4723239, -0.05090439, 0.06646273}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "rate set " << c.rateSet << " row " << c.row << " width " << c.width);
    auto fresh = another();
    apply(*fresh, uniform(c.rateSet, c.row, c.width));
    StereoBlock input = leftImpulse(300);
    StereoBlock output = run(*fresh, input);
    ReferenceCascade reference;
    EXPECT_TRUE(sameBits(output.left, reference.run(uniform(c.rateSet, c.row, c.width), input).left));
    for (int i = 0; i < 4; i++) EXPECT_NEAR(output.left[i], c.firstFour[i], roundingOf(c.firstFour[i], 7)) << i;
    for (float sample : output.right) ASSERT_EQ(sample, kOffsetSample);
  }
}

TEST_F(Cascade, SilenceGivesTheOffsetEverywhere) {
  const CascadeSettings cases[] = {uniform(0, 99, 0), uniform(1, 0, 2), kMixed44k, kMixed96k};
  for (const CascadeSettings& s : cases) {
    auto fresh = another();
    apply(*fresh, s);
    StereoBlock silence{std::vector<float>(256, 0.0f), std::vector<float>(256, 0.0f)};
    StereoBlock output = run(*fresh, silence);
    for (size_t i = 0; i < 256; i++) {
      ASSERT_EQ(output.left[i], kOffsetSample) << i;
      ASSERT_EQ(output.right[i], kOffsetSample) << i;
    }
  }
}

TEST_F(Cascade, AnySettingsMatchThePlainEvaluation) {
  // Out-of-range widths (a Q parameter of 0.3 or more) pass the band's input on.
  const CascadeSettings cases[] = {kMixed44k,
                                   kMixed96k,
                                   uniform(0, 51, 0),
                                   uniform(1, 49, 2),
                                   {0, {99, 99, 99, 99, 99, 99, 99}, {3, 0, 10, 1, 5, 2, 9}},
                                   {1, {0, 10, 20, 30, 40, 50, 60}, {1, 1, 1, 7, 1, 1, 1}}};
  for (size_t i = 0; i < std::size(cases); i++) {
    SCOPED_TRACE(i);
    auto fresh = another();
    apply(*fresh, cases[i]);
    StereoBlock input = noiseBlock(1000, 7 + i);
    StereoBlock output = run(*fresh, input);
    ReferenceCascade reference;
    StereoBlock expected = reference.run(cases[i], input);
    EXPECT_TRUE(sameBits(output.left, expected.left));
    EXPECT_TRUE(sameBits(output.right, expected.right));
    EXPECT_TRUE(sameMemory(EffectInspector(*fresh).filterMemory(), reference.memory));
  }
}

TEST_F(Cascade, EachSelectorReachesItsOwnBand) {
  // Changing one band's width or row changes the output, and the plain
  // evaluation with only that band changed still matches: no other band moved.
  struct Change {
    int band;  // 0 to 6
    bool width;
    int32_t value;
  };
  const Change changes[] = {{6, true, 0}, {5, true, 2}, {1, true, 2}, {1, true, 1}, {0, false, 80}, {3, false, 10}};
  StereoBlock input = noiseBlock(400, 99);
  ReferenceCascade baseReference;
  StereoBlock base = baseReference.run(kMixed44k, input);
  for (const Change& c : changes) {
    SCOPED_TRACE(testing::Message() << "band " << c.band + 1 << (c.width ? " width " : " row ") << c.value);
    CascadeSettings changed = kMixed44k;
    (c.width ? changed.qSel : changed.gainRow)[c.band] = c.value;
    auto fresh = another();
    apply(*fresh, changed);
    StereoBlock output = run(*fresh, input);
    ReferenceCascade reference;
    EXPECT_TRUE(sameBits(output.left, reference.run(changed, input).left));
    EXPECT_FALSE(sameBits(output.left, base.left));
  }
}

TEST_F(Cascade, RateSetsUseTheirOwnTables) {
  StereoBlock input = noiseBlock(200, 5);
  CascadeSettings at44k = kMixed44k, at96k = kMixed44k;
  at96k.rateSet = 1;
  auto other = another();
  apply(at44k);
  apply(*other, at96k);
  StereoBlock out44k = run(input), out96k = run(*other, input);
  EXPECT_FALSE(sameBits(out44k.left, out96k.left));
  ReferenceCascade reference;
  EXPECT_TRUE(sameBits(out96k.left, reference.run(at96k, input).left));
}

TEST_F(Cascade, UnsupportedRateBypassesWithFrozenMemory) {
  for (bool mono : {false, true}) {
    SCOPED_TRACE(mono ? "mono" : "stereo");
    auto fresh = another();
    EffectInspector inspector(*fresh);
    inspector.setMonoInput(mono);
    apply(*fresh, kMixed44k);
    const int channels = mono ? 1 : 2;
    StereoBlock first = noiseBlock(100, 1), second = noiseBlock(100, 2), third = noiseBlock(100, 3);
    run(*fresh, first);
    SectionMemory before[7][2];
    std::memcpy(before, inspector.filterMemory(), sizeof before);

    inspector.setSampleRateInt(48000);
    StereoBlock bypassed = run(*fresh, second);
    EXPECT_TRUE(sameBits(bypassed.left, second.left));
    EXPECT_TRUE(sameBits(bypassed.right, mono ? second.left : second.right));
    EXPECT_TRUE(sameMemory(inspector.filterMemory(), before));

    inspector.setSampleRateInt(kRate44k);
    StereoBlock resumed = run(*fresh, third);
    ReferenceCascade reference;
    reference.run(kMixed44k, first, channels);
    StereoBlock expected = reference.run(kMixed44k, third, channels);
    EXPECT_TRUE(sameBits(resumed.left, expected.left));
    EXPECT_TRUE(sameBits(resumed.right, mono ? expected.left : expected.right));
  }
}

// In mono the second output carries the first; the second input and the
// right memories are never touched.
TEST_F(Cascade, MonoFiltersTheFirstChannelIntoBothOutputs) {
  apply(kMixed96k);
  auto stereo = another();
  apply(*stereo, kMixed96k);
  StereoBlock warmUp = noiseBlock(50, 11);
  run(warmUp);
  run(*stereo, warmUp);
  SectionMemory before[7][2];
  std::memcpy(before, inspect().filterMemory(), sizeof before);

  inspect().setMonoInput(true);
  StereoBlock input = noiseBlock(300, 12);
  input.right.assign(300, std::nanf(""));  // would show in the right memories if read
  StereoBlock output = run(input);
  EXPECT_TRUE(sameBits(output.left, run(*stereo, input).left));
  EXPECT_TRUE(sameBits(output.right, output.left));
  for (int band = 0; band < 7; band++)
    EXPECT_EQ(std::memcmp(&inspect().filterMemory()[band][1], &before[band][1], sizeof(SectionMemory)), 0) << band;
}

TEST_F(Cascade, InPlaceEqualsSeparateBuffers) {
  auto separate = another();
  apply(kMixed44k);
  apply(*separate, kMixed44k);
  StereoBlock input = noiseBlock(777, 21);
  StereoBlock expected = run(*separate, input);
  StereoBlock buffers = input;
  float* both[2] = {buffers.left.data(), buffers.right.data()};
  effect->processReplacing(both, both, 777);
  EXPECT_TRUE(sameBits(buffers.left, expected.left));
  EXPECT_TRUE(sameBits(buffers.right, expected.right));
}

TEST_F(Cascade, PiecesEqualTheWholeBlock) {
  apply(kMixed96k);
  StereoBlock input = noiseBlock(2048, 31);
  StereoBlock whole = run(input);
  for (int piece : {1, 31, 64, 512}) {
    SCOPED_TRACE(piece);
    auto pieces = another();
    apply(*pieces, kMixed96k);
    StereoBlock output{std::vector<float>(2048), std::vector<float>(2048)};
    for (int start = 0; start < 2048; start += piece) {
      int frames = std::min(piece, 2048 - start);
      float* inputs[2] = {input.left.data() + start, input.right.data() + start};
      float* outputs[2] = {output.left.data() + start, output.right.data() + start};
      pieces->processReplacing(inputs, outputs, frames);
    }
    EXPECT_TRUE(sameBits(output.left, whole.left));
    EXPECT_TRUE(sameBits(output.right, whole.right));
    EXPECT_TRUE(sameMemory(EffectInspector(*pieces).filterMemory(), inspect().filterMemory()));
  }
}

TEST_F(Cascade, ChangeBetweenBlocksTakesEffectOnTheNextFrame) {
  // The flat row after a boost still runs: its memory carries the boost's history.
  CascadeSettings before = kMixed44k, after = kMixed44k;
  after.gainRow[2] = 99;
  after.qSel[4] = 2;
  after.gainRow[6] = 51;
  apply(before);
  StereoBlock first = noiseBlock(64, 41), second = noiseBlock(64, 42);
  run(first);
  apply(after);
  StereoBlock output = run(second);

  ReferenceCascade reference, unchanged;
  reference.run(before, first);
  unchanged.run(before, first);
  StereoBlock expected = reference.run(after, second);
  EXPECT_TRUE(sameBits(output.left, expected.left));
  EXPECT_TRUE(sameBits(output.right, expected.right));
  EXPECT_NE(output.left[0], unchanged.run(before, second).left[0]);
}

TEST_F(Cascade, NothingWrittenOutsideTheBlock) {
  struct Case {
    int32_t rate;
    bool mono;
    int32_t frames;
  };
  const Case cases[] = {{kRate44k, false, 100}, {kRate96k, true, 100}, {48000, false, 100},
                        {kRate44k, false, 0},   {kRate44k, false, -5}, {kRate96k, true, -1}};
  constexpr int kGuard = 16, kSpace = 100;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rate << (c.mono ? " mono " : " stereo ") << c.frames);
    auto fresh = another();
    EffectInspector inspector(*fresh);
    apply(*fresh, kMixed44k);
    run(*fresh, noiseBlock(20, 3));  // memory that a stray write would show
    inspector.setSampleRateInt(c.rate);
    inspector.setMonoInput(c.mono);
    SectionMemory memoryBefore[7][2];
    std::memcpy(memoryBefore, inspector.filterMemory(), sizeof memoryBefore);

    StereoBlock noise = noiseBlock(kGuard + kSpace + kGuard, 4);
    std::vector<float> in[2] = {noise.left, noise.right};
    std::vector<float> out[2] = {std::vector<float>(kGuard + kSpace + kGuard, kUntouched),
                                 std::vector<float>(kGuard + kSpace + kGuard, kUntouched)};
    const std::vector<float> inBefore[2] = {in[0], in[1]};
    float* inputs[2] = {in[0].data() + kGuard, in[1].data() + kGuard};
    float* outputs[2] = {out[0].data() + kGuard, out[1].data() + kGuard};
    fresh->processReplacing(inputs, outputs, c.frames);

    const int written = std::max(c.frames, 0);
    for (int channel = 0; channel < 2; channel++) {
      EXPECT_TRUE(sameBits(in[channel], inBefore[channel])) << "input " << channel;
      for (int i = 0; i < int(out[channel].size()); i++) {
        bool inBlock = i >= kGuard && i < kGuard + written;
        ASSERT_EQ(out[channel][i] != kUntouched, inBlock) << "channel " << channel << " at " << i - kGuard;
      }
    }
    bool frozen = written == 0 || c.rate == 48000;
    EXPECT_EQ(sameMemory(inspector.filterMemory(), memoryBefore), frozen);
  }
}

// The accumulating entry mixes the input in and filters nothing; in mono the
// second output takes the first input, as in processReplacing.
TEST_F(Cascade, AccumulatingProcessAddsTheInputOnly) {
  run(noiseBlock(20, 8));
  SectionMemory memoryBefore[7][2];
  std::memcpy(memoryBefore, inspect().filterMemory(), sizeof memoryBefore);
  for (bool mono : {false, true}) {
    SCOPED_TRACE(mono ? "mono" : "stereo");
    inspect().setMonoInput(mono);
    StereoBlock input = noiseBlock(64, 9), output = noiseBlock(64, 10);
    const StereoBlock inputBefore = input, outputBefore = output;
    const std::vector<float>& rightSource = mono ? inputBefore.left : inputBefore.right;
    float* inputs[2] = {input.left.data(), input.right.data()};
    float* outputs[2] = {output.left.data(), output.right.data()};
    effect->process(inputs, outputs, 64);
    for (int i = 0; i < 64; i++) {
      ASSERT_EQ(output.left[i], outputBefore.left[i] + inputBefore.left[i]) << i;
      ASSERT_EQ(output.right[i], outputBefore.right[i] + rightSource[i]) << i;
    }
    EXPECT_TRUE(sameBits(input.left, inputBefore.left));
    EXPECT_TRUE(sameBits(input.right, inputBefore.right));
    EXPECT_TRUE(sameMemory(inspect().filterMemory(), memoryBefore));
    const StereoBlock sums = output;
    effect->process(inputs, outputs, 0);
    effect->process(inputs, outputs, -3);
    EXPECT_TRUE(sameBits(output.left, sums.left));
    EXPECT_TRUE(sameBits(output.right, sums.right));
  }
}

}  // namespace
