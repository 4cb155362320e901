#pragma once

#include <string>
#include <vector>

int runInfo(const std::string& path);
int runEditorShot(const std::string& pluginPath, const std::string& outPath, int program);
int runRender(const std::vector<std::string>& args);
int runResponse(const std::vector<std::string>& args);
int runSignal(const std::vector<std::string>& args);

// Prints "r4m-host: message" to stderr and answers the exit code.
int fail(const std::string& message, int code);
