// The value-to-text tools of the effect base class.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "probe_effect.h"

namespace {

struct TextCase {
  const char* tool;
  float value;
  const char* expected;
};

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

TEST(ValueText, FloatDecibelFrequencyAndTime) {
  const TextCase cases[] = {
      {"float", 0.0f, "0.000000"},
      {"float", 1.5f, "1.500000"},
      {"float", -3.25f, "-3.25000"},
      {"float", -0.5f, "-0.50000"},
      {"float", 44100.0f, "44100.00"},
      {"float", 123.456f, "123.4560"},
      {"float", 1234567.0f, "1234567."},
      {"float", -123456.0f, "-123456."},
      {"float", 9999999.0f, "9999999."},
      {"float", -999999.0f, "-999999."},
      {"float", 99999999.0f, "Huge!"},   // stored as 100000000
      {"float", -10000000.0f, "Huge!"},
      // Integer parts longer than the 8-character budget would lose their leading digits.
      {"float", 12345678.0f, "Huge!"},
      {"float", 10000000.0f, "Huge!"},
      {"float", -1234567.0f, "Huge!"},
      {"float", -1000000.0f, "Huge!"},
      {"float", kNaN, "Huge!"},
      {"float", kInf, "Huge!"},
      {"float", -kInf, "Huge!"},
      {"dB", 1.0f, "0.000000"},
      {"dB", 0.5f, "-6.02060"},
      {"dB", 2.0f, "6.020600"},
      {"dB", 10.0f, "20.00000"},
      {"dB", 0.0f, "-oo"},
      {"dB", -1.0f, "-oo"},
      {"dB", kNaN, "-oo"},
      {"Hz", 0.0f, "0.000000"},   // at 44100 Hz
      {"Hz", 100.0f, "441.0000"},
      {"Hz", 44100.0f, "1.000000"},
      {"ms", 44100.0f, "1000.000"},
      {"ms", 441.0f, "10.00000"},
      {"ms", 0.0f, "0.000000"},
  };
  ProbeEffect effect(nullptr);
  for (const TextCase& c : cases) {
    char text[32];
    std::memset(text, 'x', sizeof text);
    if (std::strcmp(c.tool, "float") == 0) effect.float2string(c.value, text);
    if (std::strcmp(c.tool, "dB") == 0) effect.dB2string(c.value, text);
    if (std::strcmp(c.tool, "Hz") == 0) effect.Hz2string(c.value, text);
    if (std::strcmp(c.tool, "ms") == 0) effect.ms2string(c.value, text);
    EXPECT_STREQ(text, c.expected) << c.tool << " " << c.value;
    EXPECT_LE(std::strlen(text), 8u);
  }
}

TEST(ValueText, FrequencyAndTimeFollowTheSampleRate) {
  ProbeEffect effect(nullptr);
  effect.setSampleRate(96000.0f);
  char text[32];
  effect.Hz2string(100.0f, text);
  EXPECT_STREQ(text, "960.0000");
  effect.ms2string(96.0f, text);
  EXPECT_STREQ(text, "1.000000");
}

TEST(ValueText, Integers) {
  struct Case {
    VstInt32 value;
    const char* expected;
  };
  const Case cases[] = {{5, "      5"},          {-5, "     -5"},         {0, "      0"},
                        {12345678, "12345678"}, {-12345678, "-1234567"}, {99999999, "99999999"},
                        {100000000, "Huge!"},   {INT32_MAX, "Huge!"},    {INT32_MIN, "-2147483"}};
  ProbeEffect effect(nullptr);
  for (const Case& c : cases) {
    char text[32];
    effect.long2string(c.value, text);
    EXPECT_STREQ(text, c.expected) << c.value;
  }
}

}  // namespace
