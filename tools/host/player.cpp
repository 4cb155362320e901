#include "player.h"

#include <algorithm>

bool startPlayer(Plugin& plugin, const std::string& path, int rate, const PlayerSettings& settings,
                 std::string& error) {
  if (!plugin.load(path, error)) return false;
  for (const ParameterValue& parameter : settings.parameters)
    if (parameter.index >= plugin.effect->numParams) {
      error = "--param " + std::to_string(parameter.index) + ": the plug-in has no such parameter (it has 0 to " +
              std::to_string(plugin.effect->numParams - 1) + ")";
      return false;
    }
  plugin.dispatch(effSetSampleRate, 0, 0, nullptr, float(rate));
  plugin.dispatch(effSetBlockSize, 0, settings.block);
  plugin.dispatch(effMainsChanged, 0, 1);
  if (settings.program >= 0) plugin.dispatch(effSetProgram, 0, settings.program);
  for (const ParameterValue& parameter : settings.parameters)
    plugin.effect->setParameter(plugin.effect, parameter.index, parameter.value);
  return true;
}

std::vector<float> playBlocks(Plugin& plugin, const Wav& input, int block,
                              const std::function<void(size_t)>& progress) {
  size_t frames = input.frames(), step = size_t(input.channels);
  std::vector<float> output(frames * 2);
  size_t length = static_cast<size_t>(block);
  std::vector<float> left(length), right(length), outLeft(length), outRight(length);
  float* inputs[2] = {left.data(), right.data()};
  float* outputs[2] = {outLeft.data(), outRight.data()};
  for (size_t start = 0; start < frames; start += size_t(block)) {
    size_t count = std::min(size_t(block), frames - start);
    for (size_t i = 0; i < count; i++) {
      left[i] = float(input.samples[(start + i) * step]);
      right[i] = float(input.samples[(start + i) * step + step - 1]);
    }
    plugin.effect->processReplacing(plugin.effect, inputs, outputs, VstInt32(count));
    for (size_t i = 0; i < count; i++) {
      output[(start + i) * 2] = outLeft[i];
      output[(start + i) * 2 + 1] = outRight[i];
    }
    if (progress) progress(start + count);
  }
  return output;
}

void stopPlayer(Plugin& plugin) { plugin.dispatch(effMainsChanged, 0, 0); }
