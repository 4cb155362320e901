// Times a product cascade beside the plain scalar loop in one run: ns per
// stereo frame for noise with a program change every 100 blocks and for the
// silent tail after a loud burst, the median of several runs, and the ratios
// the product is held to. A product has setProgram(int) and
// processReplacing(float**, float**, int32_t).
#pragma once

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core_clock.h"
#include "plain_loop_cascade.h"
#include "program_selectors.h"

namespace bench {

constexpr int kBlockSizes[] = {64, 512, 4096};
constexpr int kRuns = 7;
constexpr int kNoiseFrames = 1 << 20;
constexpr int kNoisePool = 1 << 16;  // frames of noise the blocks are cut from
constexpr int kProgramEvery = 100;   // blocks
constexpr int kTailProgram = 1;      // its slowest pole (0.9984) is the quickest to reach subnormals
constexpr int kBurstFrames = 4096;
constexpr int kTailLead = 1 << 20;  // 24 s of silence at 44.1 kHz before the tail is timed
constexpr int kTailFrames = 1 << 20;
constexpr int kSlowTailFrames = 1 << 16;  // for the plain loop, a hundred times slower there
// The throughput bound the product is held to, in cycles per frame: the 35
// packed multiplications of a frame (five per band, both channels at once) on
// two multiply ports.
constexpr double kBoundCyclesPerFrame = 17.5;

class Baseline {
 public:
  explicit Baseline(const ProgramSelectors (&programs)[kNumPrograms]) : programs(programs) {}
  void setProgram(int program) {
    std::copy(programs[program].gainRow, programs[program].gainRow + kBands, cascade.gainRow);
    std::copy(programs[program].qSel, programs[program].qSel + kBands, cascade.qSel);
  }
  void processReplacing(float** inputs, float** outputs, int32_t frames) {
    cascade.processReplacing(inputs, outputs, frames);
  }
  int subnormalMemory() const {
    int n = 0;
    for (const auto& band : cascade.memory)
      for (const SectionMemory& m : band)
        for (double v : {m.x1, m.x2, m.y1, m.y2}) n += std::fpclassify(v) == FP_SUBNORMAL;
    return n;
  }

 private:
  const ProgramSelectors (&programs)[kNumPrograms];
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

template <class Cascade>
void processAt(Cascade& cascade, Stereo& in, Stereo& out, int start, int frames) {
  float* inputs[2] = {in.left.data() + start, in.right.data() + start};
  float* outputs[2] = {out.left.data(), out.right.data()};
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
template <class Cascade>
double noiseRun(Cascade& cascade, int blockSize) {
  Stereo in(kNoisePool, 12345), out(blockSize);
  int program = 0;
  const double start = now();
  for (int block = 0; block * blockSize < kNoiseFrames; block++) {
    if (block % kProgramEvery == 0) cascade.setProgram(program = (program + 1) % kNumPrograms);
    processAt(cascade, in, out, (block * blockSize) % kNoisePool, blockSize);
  }
  return (now() - start) * 1e9 / kNoiseFrames;
}

// A loud burst, then silence long enough for the memory to settle.
template <class Cascade>
void burstAndSilence(Cascade& cascade) {
  cascade.setProgram(kTailProgram);
  Stereo burst(kBurstFrames, 777, 1000.0f), silence(kBurstFrames), out(kBurstFrames);
  processAt(cascade, burst, out, 0, kBurstFrames);
  for (int done = 0; done < kTailLead; done += kBurstFrames) processAt(cascade, silence, out, 0, kBurstFrames);
}

// One run further into the silence.
template <class Cascade>
double tailRun(Cascade& cascade, int blockSize, int frames) {
  Stereo silence(blockSize), out(blockSize);
  const double start = now();
  for (int done = 0; done < frames; done += blockSize) processAt(cascade, silence, out, 0, blockSize);
  return (now() - start) * 1e9 / frames;
}

// For one block size, the medians of runs taken in turn (product and baseline,
// noise and tail), so that all four see the same load on the machine.
template <class MakeProduct>
void medians(MakeProduct makeProduct, const ProgramSelectors (&programs)[kNumPrograms], int size, double (&noise)[2],
             double (&tail)[2], int& subnormals) {
  auto product = makeProduct(), tailProduct = makeProduct();
  Baseline baseline(programs), tailBaseline(programs);
  burstAndSilence(*tailProduct);
  burstAndSilence(tailBaseline);
  std::vector<double> runs[4];
  for (int i = 0; i < kRuns; i++) {
    runs[0].push_back(noiseRun(*product, size));
    runs[1].push_back(noiseRun(baseline, size));
    runs[2].push_back(tailRun(*tailProduct, size, kTailFrames));
    runs[3].push_back(tailRun(tailBaseline, size, kSlowTailFrames));
  }
  noise[0] = median(runs[0]), noise[1] = median(runs[1]);
  tail[0] = median(runs[2]), tail[1] = median(runs[3]);
  subnormals = tailBaseline.subnormalMemory();
}

// The product's output for noise with program changes, beside the baseline's.
template <class Product>
bool sameOutput(Product& product, Baseline& baseline) {
  Stereo in(20000, 99), a(1000), b(1000);
  for (int start = 0; start < 20000; start += 1000) {
    product.setProgram(start / 1000 % kNumPrograms);
    baseline.setProgram(start / 1000 % kNumPrograms);
    processAt(product, in, a, start, 1000);
    processAt(baseline, in, b, start, 1000);
    if (a.left != b.left || a.right != b.right) return false;
  }
  return true;
}

// makeProduct() gives a fresh product at 44.1 kHz, stereo, program 0.
template <class MakeProduct>
void run(const char* title, MakeProduct makeProduct, const Clock& clock) {
  const double megahertz = clock.megahertz;
  ProgramSelectors programs[kNumPrograms];
  programSelectors(programs);
  {
    auto product = makeProduct();
    Baseline baseline(programs);
    std::printf("%s, 44100 Hz stereo\nsame output as the plain loop: %s\n", title,
                sameOutput(*product, baseline) ? "yes" : "NO");
  }
  double noise[3][2], tail[3][2];  // per block size: product, plain loop
  int subnormals[3];
  for (int s = 0; s < 3; s++) medians(makeProduct, programs, kBlockSizes[s], noise[s], tail[s], subnormals[s]);
  auto row = [](const char* name, const std::array<double, 3>& v, const char* format) {
    std::printf("  %-52s", name);
    for (double x : v) std::printf(format, x);
    std::printf("\n");
  };
  auto column = [](const double (&v)[3][2], int which) {
    return std::array<double, 3>{v[0][which], v[1][which], v[2][which]};
  };
  char heading[80];
  std::snprintf(heading, sizeof heading, "ns per stereo frame, median of %d runs", kRuns);
  std::printf("%-54s %10s %10s %10s\n", heading, "block 64", "block 512", "block 4096");
  std::printf("noise, a program change every %d blocks\n", kProgramEvery);
  row("product", column(noise, 0), " %10.2f");
  row("plain scalar loop", column(noise, 1), " %10.2f");
  std::printf("silent tail, program %d, %d s after a loud burst\n", kTailProgram, (kTailLead + 22050) / 44100);
  row("product", column(tail, 0), " %10.2f");
  row("plain scalar loop", column(tail, 1), " %10.2f");
  std::printf("  %-52s %10d %10d %10d\n", "(plain loop: subnormal memory values at the end)", subnormals[0],
              subnormals[1], subnormals[2]);
  std::array<double, 3> speedUp, tailRatio, boundRatio, cycles;
  for (int s = 0; s < 3; s++) {
    speedUp[s] = noise[s][1] / noise[s][0];
    tailRatio[s] = tail[s][0] / noise[s][0];
    cycles[s] = noise[s][0] * megahertz / 1000.0;
    boundRatio[s] = cycles[s] / kBoundCyclesPerFrame;
  }
  std::printf("ratios\n");
  row("plain loop / product, noise (target >= 1.6)", speedUp, " %10.2f");
  row("product tail / product noise (target <= 1.15)", tailRatio, " %10.2f");
  char name[80];
  std::snprintf(name, sizeof name, "product cycles per frame at %.0f MHz (%s)", megahertz,
                clock.measured ? "measured" : "given");
  row(name, cycles, " %10.1f");
  std::snprintf(name, sizeof name, "  / bound of %.1f cycles (target <= 2)", kBoundCyclesPerFrame);
  row(name, boundRatio, " %10.2f");
}

}  // namespace bench
