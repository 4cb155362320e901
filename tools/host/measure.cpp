#include "measure.h"

#include <cmath>
#include <complex>

#include "fft.h"
#include "player.h"

bool measureResponse(const std::string& pluginPath, int rate, const PlayerSettings& settings,
                     std::vector<double>& gainDb, std::string& error) {
  Plugin plugin;
  if (!startPlayer(plugin, pluginPath, rate, settings, error)) return false;
  // One second: the bins fall on whole hertz, and every band's ringing has
  // died away far below float resolution long before the end.
  Wav impulse;
  impulse.rate = rate;
  impulse.channels = 1;
  impulse.samples.assign(size_t(rate), 0.0);
  impulse.samples[0] = 1.0;
  std::vector<float> output = playBlocks(plugin, impulse, settings.block);
  stopPlayer(plugin);
  std::vector<std::complex<double>> left(static_cast<size_t>(rate));
  for (size_t i = 0; i < left.size(); i++) left[i] = output[i * 2];
  std::vector<std::complex<double>> spectrum = fourierTransform(left);
  gainDb.resize(size_t(rate / 2 + 1));
  for (size_t k = 0; k < gainDb.size(); k++) gainDb[k] = 20.0 * std::log10(std::abs(spectrum[k]));
  return true;
}
