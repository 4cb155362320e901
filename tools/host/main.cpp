// r4m-host: a small VST 2.x host for rendering and measuring the plug-in.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "commands.h"

namespace {
const char kUsage[] =
    "usage: r4m-host info PLUGIN.dll\n"
    "       r4m-host editor PLUGIN.dll OUT.bmp [PROGRAM]\n";
}

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "info") == 0) return runInfo(argv[2]);
  if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "editor") == 0) {
    int program = argc == 5 ? std::atoi(argv[4]) : 0;
    if (program < 0 || program > 7) {
      std::fprintf(stderr, "r4m-host: program %s is outside 0 to 7\n", argv[4]);
      return 2;
    }
    return runEditorShot(argv[2], argv[3], program);
  }
  std::fputs(kUsage, stderr);
  return 2;
}
