// The host sample rates, in whole hertz, that the coefficient tables cover.
#pragma once

#include <cstdint>

constexpr int32_t kRate44k = 44100, kRate96k = 96000;
