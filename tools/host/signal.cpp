#include "signal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr double kPeak = 0.25;

// White noise from a fixed seed, through Paul Kellet's three-pole pink filter.
class PinkNoise {
 public:
  double next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    double white = int32_t(state) / 2147483648.0;
    b0 = 0.99765 * b0 + white * 0.0990460;
    b1 = 0.96300 * b1 + white * 0.2965164;
    b2 = 0.57000 * b2 + white * 1.0526913;
    return b0 + b1 + b2 + white * 0.1848;
  }

 private:
  uint32_t state = 0x2545F491u;
  double b0 = 0.0, b1 = 0.0, b2 = 0.0;
};

}  // namespace

Wav testSignal(int rate, double seconds, int channels) {
  Wav wav;
  wav.rate = rate;
  wav.channels = channels;
  size_t frames = size_t(seconds * rate), noiseFrames = frames / 2;
  wav.samples.resize(frames * size_t(channels));
  PinkNoise noise;
  double largest = 0.0;
  for (size_t i = 0; i < noiseFrames * size_t(channels); i++) {
    wav.samples[i] = noise.next();
    largest = std::max(largest, std::fabs(wav.samples[i]));
  }
  for (size_t i = 0; i < noiseFrames * size_t(channels); i++) wav.samples[i] *= kPeak / largest;
  const double pi = std::acos(-1.0), low = 20.0, high = 20000.0;
  double length = double(frames - noiseFrames) / rate, growth = std::log(high / low);
  for (size_t i = noiseFrames; i < frames; i++) {
    double t = double(i - noiseFrames) / rate;
    double phase = 2.0 * pi * low * length / growth * (std::exp(t / length * growth) - 1.0);
    for (int c = 0; c < channels; c++) wav.samples[i * size_t(channels) + size_t(c)] = kPeak * std::sin(phase);
  }
  return wav;
}
