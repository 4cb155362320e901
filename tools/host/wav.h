// Audio files as the host reads and writes them: RIFF WAVE, PCM 16, 24 or
// 32 bit or IEEE float 32 bit, mono or stereo.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

enum class WavEncoding { pcm16, pcm24, pcm32, float32 };

struct Wav {
  int rate = 0;
  int channels = 0;
  WavEncoding encoding = WavEncoding::float32;
  std::vector<double> samples;  // interleaved; a double holds every encoding exactly
  size_t frames() const { return channels > 0 ? samples.size() / size_t(channels) : 0; }
};

// True when `length` bytes from `start` lie within `total` bytes. A chunk's
// declared size may be anything up to 4 GiB: the sum could wrap in 32 bits.
inline bool spanFits(size_t start, size_t length, size_t total) { return start <= total && length <= total - start; }
// False with a message that names the file and the problem.
bool readWav(const std::string& path, Wav& wav, std::string& error);
// The whole file in wav.encoding; PCM clips samples outside -1 to 1.
std::vector<char> encodeWav(const Wav& wav);
// Parses "pcm16", "pcm24", "pcm32" or "float32".
bool parseWavEncoding(const std::string& name, WavEncoding& encoding);
