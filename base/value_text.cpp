// Value-to-text tools: fixed-width display strings of at most 8 characters.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "audio_effect.h"

namespace {

constexpr int kTextBudget = 8;  // characters, sign and decimal point included

void writeHuge(char* text) { std::strcpy(text, "Huge!"); }

}  // namespace

void AudioEffect::float2string(float value, char* text) {
  double v = value;
  if (!(v == v)) return writeHuge(text);  // NaN has no digits to show
  int used = 0;
  bool negative = v < 0;
  if (negative) {
    v = -v;
    used = 1;
  }
  // Integer digits that fit beside the point: 7, or 6 after a minus sign. A longer
  // integer part would lose its leading digits, so it reads "Huge!" like the
  // values past the published limits (99999999 and -9999999) do.
  double integerLimit = negative ? 1000000.0 : 10000000.0;
  if (std::floor(v) >= integerLimit) return writeHuge(text);

  char digits[kTextBudget];
  int digitCount = 0;
  double integ = std::floor(v);
  digits[digitCount++] = char('0' + int(std::fmod(integ, 10.0)));
  integ = integ / 10.0;  // not truncated: fmod takes the next digit's integer part
  used += 2;             // the first digit and the decimal point
  while (integ >= 1.0 && used < kTextBudget) {
    digits[digitCount++] = char('0' + int(std::fmod(integ, 10.0)));
    integ = integ / 10.0;
    used++;
  }
  char* out = text;
  if (negative) *out++ = '-';
  while (digitCount > 0) *out++ = digits[--digitCount];
  *out++ = '.';
  if (used < kTextBudget) {
    int fractionDigits = kTextBudget - used;
    double m = std::fmod(v, 1.0) * std::pow(10.0, fractionDigits);
    for (int i = fractionDigits - 1; i >= 0; i--) {
      if (m <= 0) {
        out[i] = '0';
      } else {
        out[i] = char('0' + int(std::fmod(m, 10.0)));
        m = m / 10.0;
      }
    }
    out += fractionDigits;
  }
  *out = 0;
}

void AudioEffect::dB2string(float value, char* text) {
  if (!(value > 0)) {  // zero, negative or NaN
    std::strcpy(text, "-oo");
    return;
  }
  float logarithm = float(std::log10(value));
  float2string(float(double(logarithm) * 20.0), text);
}

void AudioEffect::Hz2string(float samples, char* text) {
  if (samples == 0) {
    float2string(0.0f, text);
    return;
  }
  float2string(float(double(getSampleRate()) / double(samples)), text);
}

void AudioEffect::ms2string(float samples, char* text) {
  float2string(float(double(samples) * 1000.0 / double(sampleRate)), text);
}

void AudioEffect::long2string(VstInt32 value, char* text) {
  if (value >= 100000000) return writeHuge(text);
  char wide[16];
  std::snprintf(wide, sizeof wide, "%7d", int(value));
  wide[kTextBudget] = 0;  // keep at most the first 8 characters
  std::strcpy(text, wide);
}
