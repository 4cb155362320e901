// The clock the core really runs at, for turning times into cycles: the
// nominal figure of /proc/cpuinfo (and the time-stamp counter) ignores turbo.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>

namespace bench {

// A chain of dependent 32-bit multiplications: 3 cycles each on every x86-64
// core since Nehalem and K10. The loop's own work runs beside the chain. The
// fastest of several tries, since interruptions only ever slow one down.
inline double measuredMegahertz() {
  constexpr long kRounds = 20000000, kChainPerRound = 8, kCyclesPerLink = 3;
  double best = 0.0;
  for (int attempt = 0; attempt < 5; attempt++) {
    uint32_t x = 3;  // 32-bit, so that the same chain runs in both word sizes
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < kRounds; i++)
      __asm__ volatile("imul %0, %0\n\timul %0, %0\n\timul %0, %0\n\timul %0, %0\n\t"
                       "imul %0, %0\n\timul %0, %0\n\timul %0, %0\n\timul %0, %0"
                       : "+r"(x));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    best = std::max(best, double(kRounds * kChainPerRound * kCyclesPerLink) / seconds / 1e6);
  }
  return best;
}

// The clock the cycles are counted in: given in MHz, or measured.
struct Clock {
  explicit Clock(const char* givenMegahertz)
      : megahertz(givenMegahertz ? std::atof(givenMegahertz) : measuredMegahertz()), measured(!givenMegahertz) {}
  double megahertz;
  bool measured;
};

}  // namespace bench
