// The equaliser as a host drives it: the real DLL, its rate set by the
// dispatcher, its bands by setParameter and its audio through the record.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "reference_cascade.h"
#include "test_host.h"

namespace {

constexpr float kUntouched = -12345.0f;

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

class HostCascade : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(library.main, nullptr) << "R4-M.dll or its main export not found"; }
  void TearDown() override {
    for (AEffect* effect : effects) closeEffect(effect);
  }
  // A new instance; a host without a second input makes it mono.
  AEffect* open(const CascadeSettings& s, bool secondInputConnected = true) {
    host.respond = [secondInputConnected](const HostCall& call) -> VstIntPtr {
      if (call.opcode == audioMasterVersion) return 2300;
      if (call.opcode == audioMasterPinConnected && call.index == 1 && call.value == 0)
        return secondInputConnected ? 0 : 1;
      return 0;
    };
    AEffect* effect = library.main(RecordingHost::callback());
    if (!effect) return nullptr;
    effects.push_back(effect);
    dispatch(effect, effSetSampleRate, 0, 0, nullptr, s.rateSet == 0 ? 44100.0f : 96000.0f);
    dispatch(effect, effMainsChanged, 0, 1);
    for (int band = 0; band < 7; band++) {
      effect->setParameter(effect, band, (float(s.gainRow[band]) + 0.5f) / 99.0f);
      effect->setParameter(effect, 7 + band, (float(s.qSel[band]) + 0.5f) / 10.0f);
    }
    return effect;
  }
  static StereoBlock run(AEffect* effect, const StereoBlock& input) {
    StereoBlock output{std::vector<float>(input.left.size(), kUntouched),
                       std::vector<float>(input.right.size(), kUntouched)};
    float* inputs[2] = {const_cast<float*>(input.left.data()), const_cast<float*>(input.right.data())};
    float* outputs[2] = {output.left.data(), output.right.data()};
    effect->processReplacing(effect, inputs, outputs, VstInt32(input.left.size()));
    return output;
  }
  PluginLibrary library;
  RecordingHost host;
  std::vector<AEffect*> effects;
};

const CascadeSettings kCases[] = {{0, {99, 99, 99, 99, 99, 99, 99}, {1, 1, 1, 1, 1, 1, 1}},
                                  {1, {0, 0, 0, 0, 0, 0, 0}, {2, 2, 2, 2, 2, 2, 2}},
                                  {0, {0, 99, 49, 51, 50, 73, 12}, {2, 0, 1, 2, 0, 1, 4}},
                                  {1, {99, 3, 60, 51, 49, 88, 99}, {0, 2, 2, 1, 0, 0, 1}}};

TEST_F(HostCascade, BlocksMatchThePlainEvaluation) {
  for (const CascadeSettings& s : kCases) {
    SCOPED_TRACE(testing::Message() << "rate set " << s.rateSet << " band 1 row " << s.gainRow[0]);
    AEffect* effect = open(s);
    ASSERT_NE(effect, nullptr);
    ReferenceCascade reference;
    for (uint32_t block = 0; block < 3; block++) {
      StereoBlock input = noiseBlock(512, 60 + block);
      StereoBlock output = run(effect, input), expected = reference.run(s, input);
      EXPECT_TRUE(sameBits(output.left, expected.left)) << "block " << block;
      EXPECT_TRUE(sameBits(output.right, expected.right)) << "block " << block;
    }
  }
}

TEST_F(HostCascade, UnconnectedSecondInputGivesMono) {
  const CascadeSettings& s = kCases[3];
  AEffect* effect = open(s, false);
  ASSERT_NE(effect, nullptr);
  StereoBlock input = noiseBlock(256, 70);
  StereoBlock output = run(effect, input);
  ReferenceCascade reference;
  EXPECT_TRUE(sameBits(output.left, reference.run(s, input, 1).left));
  EXPECT_TRUE(sameBits(output.right, output.left)) << "both outputs carry the first channel";
}

TEST_F(HostCascade, InPlaceBuffers) {
  const CascadeSettings& s = kCases[2];
  AEffect* effect = open(s);
  ASSERT_NE(effect, nullptr);
  StereoBlock input = noiseBlock(300, 80), buffers = input;
  float* both[2] = {buffers.left.data(), buffers.right.data()};
  effect->processReplacing(effect, both, both, 300);
  ReferenceCascade reference;
  StereoBlock expected = reference.run(s, input);
  EXPECT_TRUE(sameBits(buffers.left, expected.left));
  EXPECT_TRUE(sameBits(buffers.right, expected.right));
}

TEST_F(HostCascade, AccumulatingEntryMixesTheInputIn) {
  AEffect* effect = open(kCases[0]);
  ASSERT_NE(effect, nullptr);
  StereoBlock input = noiseBlock(128, 90), output = noiseBlock(128, 91);
  const StereoBlock before = output;
  float* inputs[2] = {input.left.data(), input.right.data()};
  float* outputs[2] = {output.left.data(), output.right.data()};
  effect->process(effect, inputs, outputs, 128);
  for (int i = 0; i < 128; i++) {
    ASSERT_EQ(output.left[i], before.left[i] + input.left[i]) << i;
    ASSERT_EQ(output.right[i], before.right[i] + input.right[i]) << i;
  }
}

}  // namespace
