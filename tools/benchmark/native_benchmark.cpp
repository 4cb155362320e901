// The benchmark on the same cascade code built natively for Linux: each kernel
// through the block function of processReplacing, over its own memory and
// selectors, beside the plain scalar loop and the peer equaliser with 7 and 8
// bells, all native Linux code.
//   native_benchmark [MHZ]   (without it, the clock is measured)
#include <memory>
#include <stdexcept>
#include <string>

#include "dsp/cascade_kernels.h"
#include "dsp/table_rates.h"
#include "measure.h"
#include "lv2_peer.h"
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

// The peer as the benchmark times a contender.
class PeerContender : public bench::Contender {
 public:
  explicit PeerContender(const std::vector<peer::Bell>& bells) : equaliser(bells) {}
  void setProgram(int) override {}  // its settings stay as given
  void processReplacing(float** inputs, float** outputs, int32_t frames) override {
    equaliser.processReplacing(inputs, outputs, frames);
  }

 private:
  peer::PeerEqualiser equaliser;
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
  // The peer, once it shows that it filters: its output departs from its input
  // with the bells timed, and is its input but for rounding with every bell at 0 dB.
  try {
    const std::vector<peer::Bell> bells(8, peer::Bell{6.0, 1.0});
    peer::PeerEqualiser(bells).printSettings(stdout);
    const peer::FilteringProof proof = peer::proveFiltering(bells);
    std::printf("peer check: with these bells its output departs from its input by %+.1f dB (RMS of the difference);\n"
                "            with every bell at 0 dB by %.1f dB, at most %.2g; latency %d frames\n\n",
                proof.differenceDb, proof.flatDifferenceDb, proof.flatLargestDifference, proof.latency);
    for (int count : {8, 7})
      entries.push_back({"peer, " + std::to_string(count) + " bells", bench::Role::peer, [count] {
                           return std::make_unique<PeerContender>(std::vector<peer::Bell>(size_t(count), {6.0, 1.0}));
                         }});
  } catch (const std::exception& failure) {
    std::printf("the peer could not run: %s\n\n", failure.what());
  }
  bench::run("the same code built for Linux", entries, bench::Clock(argc == 2 ? argv[1] : nullptr), processorRunsAvx());
  return 0;
}
