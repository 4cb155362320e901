#include "fft.h"

#include <cmath>

namespace {

using Complex = std::complex<double>;

size_t smallestFactor(size_t n) {
  for (size_t p = 2; p * p <= n; p++)
    if (n % p == 0) return p;
  return n;
}

// The transform of n samples taken `stride` apart, into out[0..n); twiddle
// holds exp(-2*pi*i*j/N) for the full length N.
void transform(const Complex* in, size_t stride, Complex* out, size_t n, const std::vector<Complex>& twiddle,
               std::vector<Complex>& scratch) {
  if (n == 1) {
    out[0] = in[0];
    return;
  }
  size_t p = smallestFactor(n), m = n / p, scale = twiddle.size() / n;
  for (size_t r = 0; r < p; r++) transform(in + r * stride, stride * p, out + r * m, m, twiddle, scratch);
  for (size_t k = 0; k < n; k++) {
    Complex sum = 0.0;
    for (size_t r = 0; r < p; r++) sum += out[r * m + k % m] * twiddle[(r * k) % n * scale];
    scratch[k] = sum;
  }
  for (size_t k = 0; k < n; k++) out[k] = scratch[k];
}

}  // namespace

std::vector<std::complex<double>> fourierTransform(const std::vector<std::complex<double>>& signal) {
  size_t length = signal.size();
  std::vector<Complex> spectrum(length), twiddle(length), scratch(length);
  const double pi = std::acos(-1.0);
  for (size_t j = 0; j < length; j++) twiddle[j] = std::polar(1.0, -2.0 * pi * double(j) / double(length));
  if (length > 0) transform(signal.data(), 1, spectrum.data(), length, twiddle, scratch);
  return spectrum;
}
