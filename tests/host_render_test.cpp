// A render through the DLL by r4m-host.exe equals, sample for sample, the
// effect driven directly with the same calls and the same blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "arguments.h"
#include "dsp/stdvst.h"
#include "host_files.h"
#include "host_process.h"
#include "module_instance.h"
#include "output_file.h"
#include "signal.h"
#include "test_host.h"
#include "wav.h"

namespace {

// The effect object itself, fed what the file holds: a mono channel on both inputs.
std::vector<float> renderDirectly(const Wav& input, const PlayerSettings& settings) {
  moduleInstance = GetModuleHandleA(nullptr);
  RecordingHost host;
  auto effect = std::make_unique<stdvst>(RecordingHost::callback());
  effect->dispatcher(effSetSampleRate, 0, 0, nullptr, float(input.rate));
  effect->dispatcher(effSetBlockSize, 0, settings.block, nullptr, 0.0f);
  effect->dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
  if (settings.program >= 0) effect->dispatcher(effSetProgram, 0, settings.program, nullptr, 0.0f);
  for (const ParameterValue& parameter : settings.parameters) effect->setParameter(parameter.index, parameter.value);
  size_t frames = input.frames(), block = size_t(settings.block);
  std::vector<float> output;
  for (size_t start = 0; start < frames; start += block) {
    size_t count = std::min(block, frames - start);
    std::vector<float> left(count), right(count), outLeft(count), outRight(count);
    for (size_t i = 0; i < count; i++) {
      const double* frame = &input.samples[(start + i) * size_t(input.channels)];
      left[i] = float(frame[0]);
      right[i] = float(frame[input.channels - 1]);
    }
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    effect->processReplacing(inputs, outputs, VstInt32(count));
    for (size_t i = 0; i < count; i++) {
      output.push_back(outLeft[i]);
      output.push_back(outRight[i]);
    }
  }
  effect->dispatcher(effMainsChanged, 0, 0, nullptr, 0.0f);
  return output;
}

TEST(HostRender, EqualsTheEffectDrivenDirectly) {
  const struct {
    int rate, channels;
    WavEncoding encoding;
    PlayerSettings settings;
  } kCases[] = {
      {44100, 2, WavEncoding::float32, {3, {}, 512}},
      {96000, 1, WavEncoding::pcm16, {7, {{2, 0.9f}, {9, 0.0f}}, 100}},
      {44100, 1, WavEncoding::pcm24, {-1, {{6, 1.0f}, {13, 0.2f}, {0, 0.0f}}, 1}},
      {96000, 2, WavEncoding::pcm32, {1, {{4, 0.25f}}, 4096}},
  };
  std::string folder = scratchFolder("render");
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.rate << " Hz, " << c.channels << " channels, block " << c.settings.block);
    Wav input = testSignal(c.rate, 0.2, c.channels);
    input.encoding = c.encoding;
    std::string in = folder + "in.wav", out = folder + "out.wav", error;
    ASSERT_TRUE(writeFileAtomically(in, encodeWav(input), error)) << error;
    ASSERT_TRUE(readWav(in, input, error)) << error;  // what the host reads, quantised
    std::vector<std::string> args = {"render", "R4-M.dll", in, out, "--block", std::to_string(c.settings.block)};
    if (c.settings.program >= 0) args.insert(args.end(), {"--program", std::to_string(c.settings.program)});
    for (const ParameterValue& p : c.settings.parameters) {
      char text[64];
      std::snprintf(text, sizeof text, "%d=%.9g", p.index, double(p.value));
      args.insert(args.end(), {"--param", text});
    }
    DeleteFileA(out.c_str());
    HostRun run = runHost(args);
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    Wav rendered;
    ASSERT_TRUE(readWav(out, rendered, error)) << error;
    EXPECT_EQ(rendered.rate, c.rate);
    EXPECT_EQ(rendered.channels, 2);
    EXPECT_EQ(rendered.encoding, WavEncoding::float32);
    std::vector<float> expected = renderDirectly(input, c.settings);
    std::vector<float> got(rendered.samples.begin(), rendered.samples.end());
    ASSERT_EQ(got.size(), expected.size());
    EXPECT_EQ(std::memcmp(got.data(), expected.data(), got.size() * sizeof(float)), 0);
  }
}

}  // namespace
