// r4m-host: a small VST 2.x host for rendering and measuring the plug-in.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "commands.h"

namespace {
const char kUsage[] =
    "usage: r4m-host info PLUGIN.dll\n"
    "       r4m-host editor PLUGIN.dll OUT.bmp [PROGRAM]\n"
    "       r4m-host render PLUGIN.dll IN.wav OUT.wav [--program N] [--param INDEX=VALUE ...] [--block FRAMES]\n"
    "       r4m-host response PLUGIN.dll [--program N] [--param INDEX=VALUE ...] [--rate 44100|96000] OUT.csv\n"
    "       r4m-host signal OUT.wav [--rate R] [--seconds S] [--channels 1|2]\n"
    "                       [--encoding pcm16|pcm24|pcm32|float32]\n";
}

int fail(const std::string& message, int code) {
  std::fprintf(stderr, "r4m-host: %s\n", message.c_str());
  if (code == 2) std::fputs(kUsage, stderr);
  return code;
}

int main(int argc, char** argv) {
  std::string command = argc > 1 ? argv[1] : "";
  std::vector<std::string> args(argv + std::min(argc, 2), argv + argc);
  if (command == "info" && args.size() == 1) return runInfo(args[0]);
  if (command == "editor" && (args.size() == 2 || args.size() == 3)) {
    int program = args.size() == 3 ? std::atoi(args[2].c_str()) : 0;
    if (program < 0 || program > 7) return fail("program " + args[2] + " is outside 0 to 7", 2);
    return runEditorShot(args[0], args[1], program);
  }
  if (command == "render") return runRender(args);
  if (command == "response") return runResponse(args);
  if (command == "signal") return runSignal(args);
  std::fputs(kUsage, stderr);
  return 2;
}
