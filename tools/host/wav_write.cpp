#include <cmath>
#include <cstdint>
#include <cstring>

#include "wav.h"

namespace {

constexpr uint16_t kPcm = 1, kFloat = 3;

void put(std::vector<char>& bytes, uint32_t value, int size) {
  for (int i = 0; i < size; i++) bytes.push_back(char((value >> (8 * i)) & 0xFF));
}

void putTag(std::vector<char>& bytes, const char* tag) { bytes.insert(bytes.end(), tag, tag + 4); }

int bitsOf(WavEncoding encoding) {
  switch (encoding) {
    case WavEncoding::pcm16:
      return 16;
    case WavEncoding::pcm24:
      return 24;
    default:
      return 32;
  }
}

// Nearest step, kept inside the range the width can hold.
uint32_t quantise(double sample, int bits) {
  double full = std::ldexp(1.0, bits - 1);
  double step = std::nearbyint(sample * full);
  if (step > full - 1) step = full - 1;
  if (step < -full) step = -full;
  return uint32_t(int32_t(step));
}

}  // namespace

std::vector<char> encodeWav(const Wav& wav) {
  int bits = bitsOf(wav.encoding);
  uint32_t blockAlign = uint32_t(wav.channels) * uint32_t(bits / 8);
  uint32_t dataSize = uint32_t(wav.samples.size()) * uint32_t(bits / 8);
  std::vector<char> bytes;
  bytes.reserve(44 + dataSize);
  putTag(bytes, "RIFF");
  put(bytes, 36 + dataSize, 4);
  putTag(bytes, "WAVE");
  putTag(bytes, "fmt ");
  put(bytes, 16, 4);
  put(bytes, wav.encoding == WavEncoding::float32 ? kFloat : kPcm, 2);
  put(bytes, uint32_t(wav.channels), 2);
  put(bytes, uint32_t(wav.rate), 4);
  put(bytes, uint32_t(wav.rate) * blockAlign, 4);
  put(bytes, blockAlign, 2);
  put(bytes, uint32_t(bits), 2);
  putTag(bytes, "data");
  put(bytes, dataSize, 4);
  for (double sample : wav.samples) {
    if (wav.encoding == WavEncoding::float32) {
      float value = float(sample);
      uint32_t word;
      std::memcpy(&word, &value, sizeof word);
      put(bytes, word, 4);
    } else {
      put(bytes, quantise(sample, bits), bits / 8);
    }
  }
  return bytes;
}

bool parseWavEncoding(const std::string& name, WavEncoding& encoding) {
  const struct {
    const char* name;
    WavEncoding encoding;
  } kNames[] = {{"pcm16", WavEncoding::pcm16},
                {"pcm24", WavEncoding::pcm24},
                {"pcm32", WavEncoding::pcm32},
                {"float32", WavEncoding::float32}};
  for (const auto& known : kNames)
    if (name == known.name) {
      encoding = known.encoding;
      return true;
    }
  return false;
}
