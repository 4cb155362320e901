// r4m-host: a small VST 2.x host for rendering and measuring the plug-in.
#include <cstdio>
#include <cstring>
#include <string>

#include "commands.h"

namespace {
const char kUsage[] = "usage: r4m-host info PLUGIN.dll\n";
}

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "info") == 0) return runInfo(argv[2]);
  std::fputs(kUsage, stderr);
  return 2;
}
