// Files for the command-line host's tests: a scratch folder per test, and
// WAV bytes put together field by field, so that a fixture can be wrong in
// exactly one place.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

inline std::string scratchFolder(const std::string& name) {
  CreateDirectoryA("host_scratch", nullptr);
  std::string folder = "host_scratch\\" + name;
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder + "\\";
}

inline bool fileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline void writeBytes(const std::string& path, const std::string& bytes) {
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return;
  std::fwrite(bytes.data(), 1, bytes.size(), out);
  std::fclose(out);
}

inline std::string readBytes(const std::string& path) {
  std::string bytes;
  FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) return bytes;
  char buffer[4096];
  size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, in)) > 0) bytes.append(buffer, count);
  std::fclose(in);
  return bytes;
}

inline std::string little(uint32_t value, int size) {
  std::string bytes;
  for (int i = 0; i < size; i++) bytes += char((value >> (8 * i)) & 0xFF);
  return bytes;
}

inline std::string chunk(const std::string& tag, const std::string& body) {
  std::string padded = body.size() % 2 ? body + '\0' : body;
  return tag + little(uint32_t(body.size()), 4) + padded;
}

// A plain 16-byte fmt chunk body.
inline std::string formatBody(uint16_t tag, int channels, int rate, int bits) {
  uint32_t blockAlign = uint32_t(channels * bits / 8);
  return little(tag, 2) + little(uint32_t(channels), 2) + little(uint32_t(rate), 4) +
         little(uint32_t(rate) * blockAlign, 4) + little(blockAlign, 2) + little(uint32_t(bits), 2);
}

inline std::string riffWave(const std::string& chunks) {
  return "RIFF" + little(uint32_t(4 + chunks.size()), 4) + "WAVE" + chunks;
}

inline std::string simpleWav(uint16_t tag, int channels, int rate, int bits, const std::string& data) {
  return riffWave(chunk("fmt ", formatBody(tag, channels, rate, bits)) + chunk("data", data));
}
