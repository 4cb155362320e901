// Times processReplacing in nanoseconds per stereo frame, for noise and for the
// silent tail after a loud burst (where the memory decays through subnormal
// numbers), beside the same cascade written as a plain loop over the bands.
//   cascade_benchmark.exe
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "dsp/stdvst.h"
#include "module_instance.h"
#include "shared_word.h"
#include "tables/coefficient_tables.h"

namespace {

constexpr int32_t kBenchGainRows[kBands] = {0, 99, 49, 51, 50, 73, 12};
constexpr int32_t kBenchQSels[kBands] = {2, 0, 1, 2, 0, 1, 2};
constexpr int kBlockSizes[] = {64, 512, 4096};
constexpr int kNoiseFrames = 1 << 21;
constexpr int kTailFrames = 1 << 18;  // six seconds at 44.1 kHz
constexpr int kLateTailStart = 1 << 19;  // twelve seconds: band 1's slowest pole has decayed into subnormals
constexpr int kTailHorizon = 1 << 22;
constexpr int kRuns = 5;
constexpr int kBurst = 4096;

VstIntPtr VSTCALLBACK host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2300 : 0;
}

// The baseline: every band found through its indices in every frame.
class PlainLoopCascade {
 public:
  void processReplacing(float** inputs, float** outputs, int32_t frames) {
    for (int32_t i = 0; i < frames; i++) {
      double samples[2] = {inputs[0][i], inputs[1][i]};
      for (int band = 0; band < kBands; band++) {
        const int32_t width = loadShared(widths[band]);
        if (width < 0 || width > 2) continue;
        for (int channel = 0; channel < 2; channel++) {
          const CoefficientSet& c = coefficientTables[0][band][width][loadShared(rows[band])];
          SectionMemory& m = memory[band][channel];
          double y = c.b0 * samples[channel];
          y = y + c.b1 * m.x1;
          y = y + c.b2 * m.x2;
          y = y - c.a1 * m.y1;
          y = y - c.a2 * m.y2;
          m = {samples[channel], m.x1, y, m.y1};
          samples[channel] = y;
        }
      }
      for (int channel = 0; channel < 2; channel++) outputs[channel][i] = float(samples[channel] + 1e-29);
    }
  }
  int32_t rows[kBands], widths[kBands];
  SectionMemory memory[kBands][2] = {};
};

struct Buffers {
  explicit Buffers(int frames) : in{std::vector<float>(frames), std::vector<float>(frames)},
                                 out{std::vector<float>(frames), std::vector<float>(frames)} {}
  float* inputs[2];
  float* outputs[2];
  std::vector<float> in[2], out[2];
  float** ins() {
    inputs[0] = in[0].data(), inputs[1] = in[1].data();
    return inputs;
  }
  float** outs() {
    outputs[0] = out[0].data(), outputs[1] = out[1].data();
    return outputs;
  }
};

void fillNoise(Buffers& b, uint32_t seed) {
  for (auto& channel : b.in)
    for (float& sample : channel) {
      seed = seed * 1664525u + 1013904223u;
      sample = float(int32_t(seed) / 2147483648.0);
    }
}

double seconds() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return double(count.QuadPart) / double(frequency.QuadPart);
}

// Best of several runs in blocks of blockSize; before each run, prepare()
// sets the memory up (a burst, for the tail).
template <class Cascade, class Prepare>
double nanosecondsPerFrame(Cascade& cascade, int blockSize, bool silent, Prepare prepare) {
  Buffers block(blockSize);
  if (!silent) fillNoise(block, 12345);
  const int frames = silent ? kTailFrames : kNoiseFrames;
  double best = 1e30;
  for (int run = 0; run < kRuns; run++) {
    prepare(cascade);
    double start = seconds();
    for (int done = 0; done < frames; done += blockSize) cascade.processReplacing(block.ins(), block.outs(), blockSize);
    best = std::min(best, (seconds() - start) * 1e9 / frames);
  }
  return best;
}

template <class Cascade>
void loudBurst(Cascade& cascade, int silenceAfter = 0) {
  Buffers burst(kBurst);
  fillNoise(burst, 777);
  for (auto& channel : burst.in)
    for (float& sample : channel) sample *= 1000.0f;
  cascade.processReplacing(burst.ins(), burst.outs(), kBurst);
  Buffers silence(kBurst);
  for (int done = 0; done < silenceAfter; done += kBurst) cascade.processReplacing(silence.ins(), silence.outs(), kBurst);
}

// How long the memory of the tail holds subnormal numbers, and when it is all zero.
void describeTail() {
  PlainLoopCascade cascade;
  std::copy(kBenchGainRows, kBenchGainRows + kBands, cascade.rows);
  std::copy(kBenchQSels, kBenchQSels + kBands, cascade.widths);
  loudBurst(cascade);
  Buffers silence(1);
  long subnormalFrames = 0, frame = 0;
  for (; frame < kTailHorizon; frame++) {
    cascade.processReplacing(silence.ins(), silence.outs(), 1);
    bool anySubnormal = false, allZero = true;
    for (auto& band : cascade.memory)
      for (const SectionMemory& m : band)
        for (double v : {m.x1, m.x2, m.y1, m.y2}) {
          anySubnormal = anySubnormal || std::fpclassify(v) == FP_SUBNORMAL;
          allZero = allZero && v == 0.0;
        }
    subnormalFrames += anySubnormal;
    if (allZero) break;
  }
  std::printf("silent tail: subnormal memory in %ld frames; all zero %s %ld\n", subnormalFrames,
              frame < kTailHorizon ? "from frame" : "not within", frame < kTailHorizon ? frame : long(kTailHorizon));
}

bool sameOutput(stdvst& effect, PlainLoopCascade& plain) {
  Buffers a(10000), b(10000);
  fillNoise(a, 99);
  fillNoise(b, 99);
  effect.processReplacing(a.ins(), a.outs(), 10000);
  plain.processReplacing(b.ins(), b.outs(), 10000);
  return std::memcmp(a.out[0].data(), b.out[0].data(), 40000) == 0 &&
         std::memcmp(a.out[1].data(), b.out[1].data(), 40000) == 0;
}

}  // namespace

int main() {
  moduleInstance = GetModuleHandleA(nullptr);
  stdvst effect(host);
  PlainLoopCascade plain;
  for (int band = 0; band < kBands; band++) {
    effect.setParameter(band, (float(kBenchGainRows[band]) + 0.5f) / 99.0f);
    effect.setParameter(kBands + band, (float(kBenchQSels[band]) + 0.5f) / 10.0f);
    plain.rows[band] = kBenchGainRows[band];
    plain.widths[band] = kBenchQSels[band];
  }
  std::printf("44100 Hz, stereo, rows 0 99 49 51 50 73 12, widths 2 0 1 2 0 1 2\n");
  std::printf("same output as the plain loop: %s\n\n", sameOutput(effect, plain) ? "yes" : "NO");
  describeTail();
  std::printf("\nns per stereo frame, best of %d runs (noise %d frames, tail %d frames)\n", kRuns, kNoiseFrames,
              kTailFrames);
  std::printf("%-34s %10s %10s %10s\n", "", "block 64", "block 512", "block 4096");
  auto noPreparation = [](auto&) {};
  auto burst = [](auto& cascade) { loudBurst(cascade); };
  auto burstLongAgo = [](auto& cascade) { loudBurst(cascade, kLateTailStart); };
  auto report = [&](const char* name, bool silent, auto prepare) {
    std::printf("%s\n  %-32s", name, "processReplacing");
    for (int size : kBlockSizes) std::printf(" %10.2f", nanosecondsPerFrame(effect, size, silent, prepare));
    std::printf("\n  %-32s", "plain loop over the bands");
    for (int size : kBlockSizes) std::printf(" %10.2f", nanosecondsPerFrame(plain, size, silent, prepare));
    std::printf("\n");
  };
  report("noise", false, noPreparation);
  report("silent tail, first 6 s after a loud burst", true, burst);
  report("silent tail, 12 s to 18 s after a loud burst", true, burstLongAgo);
  return 0;
}
