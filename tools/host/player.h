// Playing audio through the plug-in as a host does: rate and block size set,
// resume, program, parameters, processReplacing block by block, suspend.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "arguments.h"
#include "plugin.h"
#include "wav.h"

// Loads the plug-in and prepares it; false with a message for a fault,
// a parameter index the plug-in does not have among them.
bool startPlayer(Plugin& plugin, const std::string& path, int rate, const PlayerSettings& settings,
                 std::string& error);

// The input (mono feeds both inputs) in blocks of `block` frames: the
// output's two channels, interleaved. `progress` hears the frames done so far.
std::vector<float> playBlocks(Plugin& plugin, const Wav& input, int block,
                              const std::function<void(size_t)>& progress = nullptr);

void stopPlayer(Plugin& plugin);
