// The code without a Windows dependency, built natively with AddressSanitizer
// and UndefinedBehaviorSanitizer and driven at random: parameter conversion,
// programs, the cascade on the real tables, the base dispatcher, the text tools
// and the speaker arrangements. Any report stops the run (-fno-sanitize-recover).
//   sanitized_driver SEED ROUNDS
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "audio_effect_x.h"
#include "dsp/cascade_kernels.h"
#include "dsp/program.h"
#include "parameters.h"

namespace {

std::mt19937_64 random64;

int pick(int lowest, int highest) { return std::uniform_int_distribution<int>(lowest, highest)(random64); }

float anyFloat() {
  static const float notable[] = {0.0f, 1.0f, 0.5f, 0.1f, 0.2f, 0.35f, -1.0f, 2.0f, 1e30f, -1e30f,
                                  std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                                  -std::numeric_limits<float>::infinity(), 4294967296.0f, 1e-40f, 99999999.0f};
  if (pick(0, 1)) {
    uint32_t bits = uint32_t(random64());
    float any;
    std::memcpy(&any, &bits, sizeof any);
    return any;
  }
  return notable[pick(0, 15)];
}

void fail(const char* what, double value) {
  std::fprintf(stderr, "FAIL: %s (%g)\n", what, value);
  std::exit(1);
}

void parameterConversions() {
  float value = anyFloat();
  int32_t row = gainRowFor(value), width = qSelFor(value), controller = ccNumberFor(value);
  if (row < 0 || row > 99) fail("gain row outside the table", value);
  if (width < 0 || width > 10) fail("Q selector outside 0 to 10", value);
  if (controller < -1000 || controller > 1000) fail("controller outside -1000 to 1000", value);
  int32_t band = forgetBandFor(value);
  if (band < 0 || band > 8) fail("forget band", value);
}

void programs() {
  auto* table = new PROGRAM[kNumPrograms];
  writeBuiltInPrograms(table);
  for (int i = 0; i < kNumPrograms; i++)
    if (std::strlen(table[i].name) > size_t(kProgramNameChars)) fail("program name too long", i);
  delete[] table;
}

// Whole blocks through both kernels, each on buffers exactly as long as the
// block, so that any read or write beyond a frame is reported; selectors, the
// layout and the rate (supported or not) change between blocks.
void cascade() {
  static BandMemory memory[2][kBands] = {};
  int32_t gainRow[kBands], qSel[kBands];
  for (int band = 0; band < kBands; band++) gainRow[band] = gainRowFor(anyFloat()), qSel[band] = qSelFor(anyFloat());
  const bool mono = pick(0, 3) == 0;
  const int32_t rates[] = {44100, 96000, 48000};
  const int32_t rate = rates[pick(0, 2)];
  const int frames = pick(0, 300);
  std::vector<float> left(static_cast<size_t>(frames)), right(static_cast<size_t>(frames));
  for (int frame = 0; frame < frames; frame++) {
    left[size_t(frame)] = float(std::uniform_real_distribution<double>(-1, 1)(random64));
    right[size_t(frame)] = float(std::uniform_real_distribution<double>(-1, 1)(random64));
  }
  for (int kernel = 0; kernel < 2; kernel++) {
    if (kernel == 1 && !processorRunsAvx()) break;
    useCascadeKernel(kernel == 0 ? CascadeKernel::sse2 : CascadeKernel::avx);
    std::vector<float> outLeft(static_cast<size_t>(frames)), outRight(static_cast<size_t>(frames));
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    processCascadeBlock(memory[kernel], gainRow, qSel, mono, rate, inputs, outputs, frames);
    for (int frame = 0; frame < frames; frame++)
      if (!std::isfinite(outLeft[size_t(frame)]) || !std::isfinite(outRight[size_t(frame)]))
        fail("cascade output not finite", frame);
  }
  if (processorRunsAvx() && std::memcmp(memory[0], memory[1], sizeof memory[0]) != 0)
    fail("the kernels' memories differ", frames);
}

class Probe : public AudioEffectX {
 public:
  Probe() : AudioEffectX(nullptr, 8, 21) {}
  void process(float**, float**, VstInt32) override {}
};

void baseFrame() {
  Probe probe;
  char* text = static_cast<char*>(std::calloc(1, 512));  // heap, so an overflow is caught
  for (int call = 0; call < 50; call++) {
    VstInt32 opcode = pick(-10, 100);
    if (opcode == effClose || opcode == effProcessEvents || opcode == effSetSpeakerArrangement ||
        opcode == effGetSpeakerArrangement || opcode == effEditGetRect)
      continue;  // these take records, not text; covered below
    std::memset(text, 0, 512);
    probe.dispatcher(opcode, VstInt32(random64()), VstIntPtr(pick(-5, 5)), pick(0, 3) ? text : nullptr, anyFloat());
  }
  VstSpeakerArrangement record{};
  VstSpeakerArrangement* input = &record;
  VstSpeakerArrangement* output = &record;
  probe.dispatcher(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), &output, 0.0f);
  if (input || output) fail("arrangement pointers not cleared", 0);
  for (int i = 0; i < 20; i++) {
    probe.float2string(anyFloat(), text);
    if (std::strlen(text) > 8) fail("float text longer than 8", 0);
    probe.dB2string(anyFloat(), text);
    probe.setSampleRate(anyFloat());
    probe.Hz2string(anyFloat(), text);
    probe.ms2string(anyFloat(), text);
    probe.long2string(VstInt32(random64()), text);
    if (std::strlen(text) > 8) fail("integer text longer than 8", 0);
  }
  VstSpeakerArrangement* arrangement = nullptr;
  VstSpeakerArrangement* copy = nullptr;
  for (int i = 0; i < 5; i++) {
    if (!probe.allocateArrangement(&arrangement, pick(0, 24))) fail("allocation", 0);
    for (int channel = 0; channel < arrangement->numChannels; channel++)
      std::snprintf((arrangement->speakers + channel)->name, 64, "speaker %d", channel);
    if (!probe.matchArrangement(&copy, arrangement)) fail("match", 0);
  }
  probe.deallocateArrangement(&arrangement);
  probe.deallocateArrangement(&copy);
  std::free(text);
}

}  // namespace

int main(int argc, char** argv) {
  unsigned long long seed = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1;
  long rounds = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 2000;
  random64.seed(seed);
  for (long round = 0; round < rounds; round++) {
    parameterConversions();
    if (round % 100 == 0) programs();
    cascade();
    if (round % 10 == 0) baseFrame();
  }
  std::printf("sanitized run: seed %llu, %ld rounds, no report\n", seed, rounds);
  return 0;
}
