// The benchmark on the same cascade code built natively for Linux: the block
// of processReplacing over its own memory and selectors.
//   native_benchmark [MHZ]   (without it, the clock is measured)
#include <memory>

#include "dsp/cascade_block.h"
#include "measure.h"

namespace {

class NativeProduct {
 public:
  NativeProduct() { ::programSelectors(programs); }
  void setProgram(int program) {
    for (int band = 0; band < kBands; band++) {
      storeShared(gainRow[band], programs[program].gainRow[band]);
      storeShared(qSel[band], programs[program].qSel[band]);
    }
  }
  void processReplacing(float** inputs, float** outputs, int32_t frames) {
    processCascadeBlock(memory, gainRow, qSel, monoInput, sampleRate, inputs, outputs, frames);
  }

 private:
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
  bench::run("the same code built for Linux", [] {
    auto product = std::make_unique<NativeProduct>();
    product->setProgram(0);
    return product;
  }, bench::Clock(argc == 2 ? argv[1] : nullptr));
  return 0;
}
