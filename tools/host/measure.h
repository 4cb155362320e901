// The magnitude response of the plug-in, measured as a host hears it: a unit
// impulse played through a fresh instance, one second long, then transformed.
#pragma once

#include <string>
#include <vector>

#include "arguments.h"

// Gain in dB at every whole hertz from 0 to rate / 2 (index = frequency).
bool measureResponse(const std::string& pluginPath, int rate, const PlayerSettings& settings,
                     std::vector<double>& gainDb, std::string& error);
