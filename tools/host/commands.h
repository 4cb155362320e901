#pragma once

#include <string>

int runInfo(const std::string& path);
int runEditorShot(const std::string& pluginPath, const std::string& outPath, int program);
