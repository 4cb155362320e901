#pragma once

#include <string>

int runInfo(const std::string& path);
