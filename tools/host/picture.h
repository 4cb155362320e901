// Checks on a captured picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// True when every pixel of a bottom-up 24-bit picture (rows padded to
// `rowBytes`) has the same colour: a window that was never drawn.
bool isFlatPicture(const std::vector<uint8_t>& rows, int width, int height, size_t rowBytes);
