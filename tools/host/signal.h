// The demo's test signal: pink noise for the first half, then a logarithmic
// sine sweep from 20 Hz to 20 kHz, both at -12 dBFS peak, the same on every run.
#pragma once

#include "wav.h"

Wav testSignal(int rate, double seconds, int channels);
