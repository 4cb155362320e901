#include "output_file.h"

#include <windows.h>

#include <cstdio>

bool writeFileAtomically(const std::string& path, const std::vector<char>& bytes, std::string& error) {
  std::string partial = path + ".partial";
  FILE* out = std::fopen(partial.c_str(), "wb");
  bool opened = out != nullptr;
  bool written = opened && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  if (opened && std::fclose(out) != 0) written = false;
  if (written && MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  if (opened) DeleteFileA(partial.c_str());
  error = "cannot write " + path;
  return false;
}
