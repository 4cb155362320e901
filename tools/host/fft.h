// The discrete Fourier transform of any length, by mixed-radix decimation in
// time: lengths such as 44100 or 96000 put every whole hertz on a bin.
#pragma once

#include <complex>
#include <vector>

std::vector<std::complex<double>> fourierTransform(const std::vector<std::complex<double>>& signal);
