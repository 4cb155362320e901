// Sizes of the randomised tests: short in the test suite, long from
// tools/robustness, which sets these variables.
#pragma once

#include <cstdint>
#include <cstdlib>

inline uint64_t settingFromEnvironment(const char* name, uint64_t fallback) {
  const char* text = std::getenv(name);
  return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}
