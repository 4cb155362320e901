// Times cascades in one run, interleaved: for each block size, every
// contender's runs are taken in turn, so that all see the same load on the
// machine; the median of several runs is kept. ns per stereo frame at
// 44.1 kHz: noise with a program change every 100 blocks; for our kernels
// also the silent tail after a loud burst, and noise with the upper halves of
// the AVX registers left dirty before every call, as a careless host or
// plug-in leaves them.
#pragma once

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core_clock.h"
#include "plain_loop_cascade.h"
#include "program_selectors.h"

namespace bench {

constexpr int kBlockSizes[] = {64, 512, 4096};
constexpr int kSizes = 3;
constexpr int kRuns = 7;
constexpr int kNoiseFrames = 1 << 20;
constexpr int kNoisePool = 1 << 16;  // frames of noise the blocks are cut from
constexpr int kProgramEvery = 100;   // blocks
constexpr int kTailProgram = 1;      // its slowest pole (0.9984) is the quickest to reach subnormals
constexpr int kBurstFrames = 4096;
constexpr int kTailLead = 1 << 20;  // 24 s of silence at 44.1 kHz before the tail is timed
constexpr int kTailFrames = 1 << 20;
constexpr int kSlowTailFrames = 1 << 16;  // for the plain loop, far slower there

// What is timed: a cascade that takes programs and blocks.
class Contender {
 public:
  virtual ~Contender() = default;
  virtual void setProgram(int program) = 0;
  virtual void processReplacing(float** inputs, float** outputs, int32_t frames) = 0;
};

enum class Role { avx, sse2, plain, peer };

struct Entry {
  std::string name;
  Role role;
  std::function<std::unique_ptr<Contender>()> make;  // fresh, at 44.1 kHz, stereo, program 0
};

// The same cascade as plain scalar code, in the host's floating-point mode.
class PlainLoop : public Contender {
 public:
  PlainLoop() { programSelectors(programs); }
  void setProgram(int program) override {
    std::copy(programs[program].gainRow, programs[program].gainRow + kBands, cascade.gainRow);
    std::copy(programs[program].qSel, programs[program].qSel + kBands, cascade.qSel);
  }
  void processReplacing(float** inputs, float** outputs, int32_t frames) override {
    cascade.processReplacing(inputs, outputs, frames);
  }

 private:
  ProgramSelectors programs[kNumPrograms];
  PlainLoopCascade cascade;
};

struct Stereo {
  explicit Stereo(int frames, uint32_t seed = 0, float scale = 1.0f)
      : left(size_t(frames)), right(size_t(frames)) {
    for (int i = 0; seed != 0 && i < frames; i++) {
      seed = seed * 1664525u + 1013904223u;
      left[size_t(i)] = scale * float(int32_t(seed) / 2147483648.0);
      seed = seed * 1664525u + 1013904223u;
      right[size_t(i)] = scale * float(int32_t(seed) / 2147483648.0);
    }
  }
  std::vector<float> left, right;
};

// The upper halves of the AVX registers in use, as after a 256-bit
// instruction with no vzeroupper after it.
inline void dirtyUpperHalves() { __asm__ volatile("vpcmpeqd %%ymm7, %%ymm7, %%ymm7" ::: "xmm7"); }
// And clean again, so that the state does not reach what is timed next.
inline void cleanUpperHalves() { __asm__ volatile("vzeroupper" ::: "xmm0", "xmm1", "xmm2", "xmm3", "xmm4", "xmm5", "xmm6", "xmm7"); }

inline void processAt(Contender& cascade, Stereo& in, Stereo& out, int start, int frames, bool dirty) {
  float* inputs[2] = {in.left.data() + start, in.right.data() + start};
  float* outputs[2] = {out.left.data(), out.right.data()};
  if (dirty) dirtyUpperHalves();
  cascade.processReplacing(inputs, outputs, frames);
}

inline double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

inline double now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// One run of noise in blocks of blockSize, the program changed every 100 blocks.
inline double noiseRun(Contender& cascade, int blockSize, bool dirty) {
  Stereo in(kNoisePool, 12345), out(blockSize);
  int program = 0;
  const double start = now();
  for (int block = 0; block * blockSize < kNoiseFrames; block++) {
    if (block % kProgramEvery == 0) cascade.setProgram(program = (program + 1) % kNumPrograms);
    processAt(cascade, in, out, (block * blockSize) % kNoisePool, blockSize, dirty);
  }
  const double ns = (now() - start) * 1e9 / kNoiseFrames;
  if (dirty) cleanUpperHalves();
  return ns;
}

// A loud burst, then silence long enough for the memory to settle.
inline void burstAndSilence(Contender& cascade) {
  cascade.setProgram(kTailProgram);
  Stereo burst(kBurstFrames, 777, 1000.0f), silence(kBurstFrames), out(kBurstFrames);
  processAt(cascade, burst, out, 0, kBurstFrames, false);
  for (int done = 0; done < kTailLead; done += kBurstFrames) processAt(cascade, silence, out, 0, kBurstFrames, false);
}

// One run further into the silence.
inline double tailRun(Contender& cascade, int blockSize, int frames) {
  Stereo silence(blockSize), out(blockSize);
  const double start = now();
  for (int done = 0; done < frames; done += blockSize) processAt(cascade, silence, out, 0, blockSize, false);
  return (now() - start) * 1e9 / frames;
}

// A contender's output for noise with program changes, beside the plain loop's.
// Blocks of even and odd lengths, a new program for each.
inline bool sameAsThePlainLoop(Contender& contender) {
  PlainLoop plain;
  Stereo in(20000, 99);
  const int lengths[] = {1000, 999, 1, 2, 37, 4096, 13, 700};
  int start = 0;
  for (int block = 0; start + 4096 <= 20000; block++) {
    const int length = lengths[block % 8];
    Stereo a(length), b(length);
    contender.setProgram(block % kNumPrograms);
    plain.setProgram(block % kNumPrograms);
    processAt(contender, in, a, start, length, false);
    processAt(plain, in, b, start, length, false);
    if (a.left != b.left || a.right != b.right) return false;
    start += length;
  }
  return true;
}

// The figures of one entry: medians per block size.
struct Figures {
  std::array<double, kSizes> noise{}, tail{}, dirty{};
};

inline bool ours(Role role) { return role == Role::avx || role == Role::sse2; }

inline void row(const std::string& name, const std::array<double, kSizes>& values, const char* format) {
  std::printf("  %-56s", name.c_str());
  for (double v : values) std::printf(format, v);
  std::printf("\n");
}

inline std::array<double, kSizes> ratio(const std::array<double, kSizes>& a, const std::array<double, kSizes>& b) {
  return {a[0] / b[0], a[1] / b[1], a[2] / b[2]};
}

inline void run(const char* title, const std::vector<Entry>& entries, const Clock& clock, bool dirtyRuns) {
  std::printf("%s, 44100 Hz stereo\n", title);
  for (const Entry& entry : entries)
    if (entry.role != Role::peer)
      std::printf("%s: same output as the plain loop: %s\n", entry.name.c_str(),
                  sameAsThePlainLoop(*entry.make()) ? "yes" : "NO");
  std::vector<Figures> figures(entries.size());
  for (int s = 0; s < kSizes; s++) {
    const int size = kBlockSizes[s];
    std::vector<std::unique_ptr<Contender>> noisy, tails;
    for (const Entry& entry : entries) {
      noisy.push_back(entry.make());
      tails.push_back(entry.role == Role::peer ? nullptr : entry.make());
      if (tails.back()) burstAndSilence(*tails.back());
    }
    std::vector<std::vector<double>> noise(entries.size()), tail(entries.size()), dirty(entries.size());
    for (int r = 0; r < kRuns; r++)
      for (size_t e = 0; e < entries.size(); e++) {
        noise[e].push_back(noiseRun(*noisy[e], size, false));
        if (dirtyRuns && ours(entries[e].role)) dirty[e].push_back(noiseRun(*noisy[e], size, true));
        if (tails[e])
          tail[e].push_back(tailRun(*tails[e], size, entries[e].role == Role::plain ? kSlowTailFrames : kTailFrames));
      }
    for (size_t e = 0; e < entries.size(); e++) {
      figures[e].noise[s] = median(noise[e]);
      if (!tail[e].empty()) figures[e].tail[s] = median(tail[e]);
      if (!dirty[e].empty()) figures[e].dirty[s] = median(dirty[e]);
    }
  }
  char heading[80];
  std::snprintf(heading, sizeof heading, "ns per stereo frame, median of %d runs", kRuns);
  std::printf("%-58s %10s %10s %10s\n", heading, "block 64", "block 512", "block 4096");
  for (size_t e = 0; e < entries.size(); e++) {
    row(entries[e].name + ": noise", figures[e].noise, " %10.2f");
    if (entries[e].role != Role::peer) row(entries[e].name + ": silent tail", figures[e].tail, " %10.2f");
    if (dirtyRuns && ours(entries[e].role))
      row(entries[e].name + ": noise, upper halves dirty", figures[e].dirty, " %10.2f");
  }
  std::printf("ratios\n");
  const Figures* plain = nullptr;
  for (size_t e = 0; e < entries.size(); e++)
    if (entries[e].role == Role::plain) plain = &figures[e];
  for (size_t e = 0; e < entries.size(); e++) {
    if (!ours(entries[e].role)) continue;
    const Figures& f = figures[e];
    const std::string& name = entries[e].name;
    for (size_t p = 0; p < entries.size(); p++)
      if (entries[p].role == Role::peer)
        row(entries[p].name + " / " + name, ratio(figures[p].noise, f.noise), " %10.2f");
    if (plain) row("plain loop / " + name, ratio(plain->noise, f.noise), " %10.2f");
    row(name + ": tail / noise (target <= 1.15)", ratio(f.tail, f.noise), " %10.2f");
    if (dirtyRuns) row(name + ": dirty / clean (target <= 1.1)", ratio(f.dirty, f.noise), " %10.2f");
    char cycles[96];
    std::snprintf(cycles, sizeof cycles, "%s: cycles per frame at %.0f MHz (%s)", name.c_str(), clock.megahertz,
                  clock.measured ? "measured" : "given");
    row(cycles, {f.noise[0] * clock.megahertz / 1000, f.noise[1] * clock.megahertz / 1000,
                 f.noise[2] * clock.megahertz / 1000},
        " %10.1f");
  }
}

}  // namespace bench
