#include "arguments.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

bool wholeNumber(const std::string& text, int low, int high, int& number) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(text.c_str(), &end, 10);
  if (*end != 0 || errno != 0 || value < low || value > high) return false;
  number = int(value);
  return true;
}

bool realNumber(const std::string& text, double& number) {
  if (text.empty()) return false;
  char* end = nullptr;
  number = std::strtod(text.c_str(), &end);
  return *end == 0 && std::isfinite(number);
}

bool parameterValue(const std::string& text, ParameterValue& parameter, std::string& error) {
  size_t equals = text.find('=');
  double value = 0.0;
  if (equals == std::string::npos || !wholeNumber(text.substr(0, equals), 0, 1 << 30, parameter.index) ||
      !realNumber(text.substr(equals + 1), value)) {
    error = "--param wants INDEX=VALUE, not \"" + text + "\"";
    return false;
  }
  if (value < 0.0 || value > 1.0) {
    error = "--param " + text + ": the value is outside 0 to 1";
    return false;
  }
  parameter.value = float(value);
  return true;
}

bool option(const std::string& name, const std::string& value, CommandLine& line, std::string& error) {
  if (name == "--program") {
    if (wholeNumber(value, 0, 7, line.settings.program)) return true;
    error = "--program " + value + ": the program is outside 0 to 7";
  } else if (name == "--param") {
    ParameterValue parameter{};
    if (!parameterValue(value, parameter, error)) return false;
    line.settings.parameters.push_back(parameter);
    return true;
  } else if (name == "--block") {
    if (wholeNumber(value, 1, 65536, line.settings.block)) return true;
    error = "--block " + value + ": the block size is outside 1 to 65536 frames";
  } else if (name == "--rate") {
    if (!wholeNumber(value, 1, 1 << 30, line.rate)) {
      error = "--rate " + value + ": not a sample rate in hertz";
      return false;
    }
    if (supportedRate(line.rate)) return true;
    error = unsupportedRateMessage("--rate", line.rate);
  } else if (name == "--seconds") {
    if (realNumber(value, line.seconds) && line.seconds > 0.0 && line.seconds <= 3600.0) return true;
    error = "--seconds " + value + ": the length is outside 0 to 3600 seconds";
  } else if (name == "--channels") {
    if (wholeNumber(value, 1, 2, line.channels)) return true;
    error = "--channels " + value + ": only 1 and 2 channels";
  } else if (name == "--encoding") {
    if (parseWavEncoding(value, line.encoding)) return true;
    error = "--encoding " + value + ": not one of pcm16, pcm24, pcm32, float32";
  }
  return false;
}

}  // namespace

bool parseCommandLine(const std::vector<std::string>& args, const std::vector<std::string>& options, size_t operands,
                      CommandLine& line, std::string& error) {
  for (size_t i = 0; i < args.size(); i++) {
    const std::string& word = args[i];
    if (word.size() < 2 || word.compare(0, 2, "--") != 0) {
      line.operands.push_back(word);
      continue;
    }
    if (std::find(options.begin(), options.end(), word) == options.end()) {
      error = "unknown option " + word;
      return false;
    }
    if (i + 1 == args.size()) {
      error = word + " needs a value";
      return false;
    }
    if (!option(word, args[++i], line, error)) return false;
  }
  if (line.operands.size() != operands) {
    error = "expected " + std::to_string(operands) + " file names, got " + std::to_string(line.operands.size());
    return false;
  }
  return true;
}

bool supportedRate(int rate) { return rate == 44100 || rate == 96000; }

std::string unsupportedRateMessage(const std::string& what, int rate) {
  return what + ": a sample rate of " + std::to_string(rate) +
         " Hz is not supported; the plug-in supports 44100 and 96000 Hz only";
}
