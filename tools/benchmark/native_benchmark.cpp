// The benchmark on the same cascade code built natively for Linux: each kernel
// through the block function of processReplacing, over its own memory and
// selectors, beside the plain scalar loop.
//   native_benchmark [MHZ]   (without it, the clock is measured)
#include <memory>

#include "dsp/cascade_kernels.h"
#include "dsp/table_rates.h"
#include "measure.h"
#include "shared_word.h"

namespace {

class NativeKernel : public bench::Contender {
 public:
  explicit NativeKernel(CascadeKernel kernel) : kernel(kernel) {
    programSelectors(programs);
    setProgram(0);
  }
  void setProgram(int program) override {
    for (int band = 0; band < kBands; band++) {
      storeShared(gainRow[band], programs[program].gainRow[band]);
      storeShared(qSel[band], programs[program].qSel[band]);
    }
  }
  void processReplacing(float** inputs, float** outputs, int32_t frames) override {
    useCascadeKernel(kernel);  // the kernels are timed in turn
    processCascadeBlock(memory, gainRow, qSel, monoInput, sampleRate, inputs, outputs, frames);
  }

 private:
  CascadeKernel kernel;
  ProgramSelectors programs[kNumPrograms];
  BandMemory memory[kBands] = {};
  int32_t gainRow[kBands] = {}, qSel[kBands] = {};
  bool monoInput = false;
  int32_t sampleRate = kRate44k;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2) {
    std::fprintf(stderr, "usage: native_benchmark [MHZ]\n");
    return 2;
  }
  std::vector<bench::Entry> entries;
  if (processorRunsAvx())
    entries.push_back({"AVX kernel", bench::Role::avx, [] { return std::make_unique<NativeKernel>(CascadeKernel::avx); }});
  entries.push_back({"SSE2 kernel", bench::Role::sse2, [] { return std::make_unique<NativeKernel>(CascadeKernel::sse2); }});
  entries.push_back({"plain loop", bench::Role::plain, [] { return std::make_unique<bench::PlainLoop>(); }});
  bench::run("the same code built for Linux", entries, bench::Clock(argc == 2 ? argv[1] : nullptr), processorRunsAvx());
  return 0;
}
