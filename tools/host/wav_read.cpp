#include <cstdint>
#include <cstdio>
#include <cstring>

#include "wav.h"

namespace {

constexpr uint16_t kPcm = 1, kFloat = 3, kExtensible = 0xFFFE;

uint32_t get(const std::vector<unsigned char>& bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; i--) value = (value << 8) | bytes[at + size_t(i)];
  return value;
}

bool tagAt(const std::vector<unsigned char>& bytes, size_t at, const char* tag) {
  return std::memcmp(&bytes[at], tag, 4) == 0;
}

std::string encodingName(uint16_t tag, int bits) {
  switch (tag) {
    case kPcm:
      return std::to_string(bits) + "-bit PCM";
    case kFloat:
      return std::to_string(bits) + "-bit IEEE float";
    case 2:
      return "Microsoft ADPCM";
    case 6:
      return "A-law";
    case 7:
      return "mu-law";
    case 0x11:
      return "IMA ADPCM";
    case 0x55:
      return "MPEG layer 3";
    default:
      char text[32];
      std::snprintf(text, sizeof text, "format tag 0x%04X", unsigned(tag));
      return text;
  }
}

bool readAll(const std::string& path, std::vector<unsigned char>& bytes) {
  FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) return false;
  unsigned char buffer[65536];
  size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, in)) > 0) bytes.insert(bytes.end(), buffer, buffer + count);
  bool failed = std::ferror(in) != 0;
  std::fclose(in);
  return !failed;
}

double decode(const unsigned char* at, WavEncoding encoding) {
  switch (encoding) {
    case WavEncoding::pcm16:
      return int16_t(uint16_t(at[0] | at[1] << 8)) / 32768.0;
    case WavEncoding::pcm24:
      // The top byte placed at the top of a 32-bit word carries the sign.
      return int32_t(uint32_t(at[0]) << 8 | uint32_t(at[1]) << 16 | uint32_t(at[2]) << 24) / 2147483648.0;
    case WavEncoding::pcm32:
      return int32_t(uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24) /
             2147483648.0;
    case WavEncoding::float32: {
      uint32_t word = uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
      float value;
      std::memcpy(&value, &word, sizeof value);
      return value;
    }
  }
  return 0.0;
}

}  // namespace

bool readWav(const std::string& path, Wav& wav, std::string& error) {
  std::vector<unsigned char> bytes;
  if (!readAll(path, bytes)) {
    error = "cannot read " + path + " (missing or unreadable)";
    return false;
  }
  if (bytes.size() < 12 || !tagAt(bytes, 0, "RIFF") || !tagAt(bytes, 8, "WAVE")) {
    error = path + " is not a RIFF WAVE file";
    return false;
  }
  size_t format = 0, formatSize = 0, data = 0, dataSize = 0;
  bool haveFormat = false, haveData = false;
  for (size_t at = 12; at + 8 <= bytes.size();) {
    size_t size = get(bytes, at + 4, 4);
    if (tagAt(bytes, at, "fmt ")) {
      haveFormat = true;
      format = at + 8;
      formatSize = size;
    } else if (tagAt(bytes, at, "data")) {
      haveData = true;
      data = at + 8;
      dataSize = size;
      break;  // the samples end the parse: nothing after them is needed
    }
    if (size > bytes.size() - at - 8) break;  // a chunk cut short: no data chunk follows it
    at += 8 + size + (size & 1);              // chunks are padded to even sizes
  }
  if (!haveFormat || formatSize < 16 || !spanFits(format, formatSize, bytes.size())) {
    error = path + " has no complete fmt chunk";
    return false;
  }
  uint16_t tag = uint16_t(get(bytes, format, 2));
  int channels = int(get(bytes, format + 2, 2));
  int rate = int(get(bytes, format + 4, 4));
  int blockAlign = int(get(bytes, format + 12, 2));
  int bits = int(get(bytes, format + 14, 2));
  if (tag == kExtensible && formatSize >= 40) tag = uint16_t(get(bytes, format + 24, 2));  // the sub-format
  if (tag == kPcm && bits == 16) wav.encoding = WavEncoding::pcm16;
  else if (tag == kPcm && bits == 24) wav.encoding = WavEncoding::pcm24;
  else if (tag == kPcm && bits == 32) wav.encoding = WavEncoding::pcm32;
  else if (tag == kFloat && bits == 32) wav.encoding = WavEncoding::float32;
  else {
    error = path + ": unsupported encoding " + encodingName(tag, bits) +
            " (supported: PCM 16, 24 and 32 bit, IEEE float 32 bit)";
    return false;
  }
  if (channels < 1 || channels > 2) {
    error = path + " has " + std::to_string(channels) + " channels; only mono and stereo are supported";
    return false;
  }
  if (blockAlign != channels * bits / 8 || rate <= 0) {
    error = path + " has an inconsistent fmt chunk";
    return false;
  }
  if (!haveData) {
    error = path + " has no data chunk";
    return false;
  }
  if (!spanFits(data, dataSize, bytes.size())) {
    error = path + ": the data chunk is truncated (it declares " + std::to_string(dataSize) + " bytes, " +
            std::to_string(bytes.size() - data) + " are present)";
    return false;
  }
  if (dataSize % size_t(blockAlign) != 0) {
    error = path + ": the data chunk ends inside a frame";
    return false;
  }
  wav.rate = rate;
  wav.channels = channels;
  size_t width = size_t(bits / 8);
  wav.samples.resize(dataSize / width);
  for (size_t i = 0; i < wav.samples.size(); i++) wav.samples[i] = decode(&bytes[data + i * width], wav.encoding);
  return true;
}
