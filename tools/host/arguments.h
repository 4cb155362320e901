// The options of the render, response and signal commands, checked as they
// are read: each fault answers a message that names it.
#pragma once

#include <string>
#include <vector>

#include "wav.h"

struct ParameterValue {
  int index;
  float value;
};

// What a host sets before processing.
struct PlayerSettings {
  int program = -1;  // -1: the plug-in's own
  std::vector<ParameterValue> parameters;
  int block = 512;
};

struct CommandLine {
  std::vector<std::string> operands;
  PlayerSettings settings;
  int rate = 44100;
  double seconds = 4.0;
  int channels = 2;
  WavEncoding encoding = WavEncoding::float32;
};

// Reads args (the words after the command name); only the named options are
// accepted, and exactly `operands` plain words.
bool parseCommandLine(const std::vector<std::string>& args, const std::vector<std::string>& options, size_t operands,
                      CommandLine& line, std::string& error);

bool supportedRate(int rate);
std::string unsupportedRateMessage(const std::string& what, int rate);
