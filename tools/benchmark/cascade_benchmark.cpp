// The benchmark on the product DLL as a host loads it, through its plug-in
// record: R4-M.dll from the program's folder with the kernel chosen for this
// processor, and a copy of it told to take the SSE2 kernel.
//   cascade_benchmark.exe [MHZ]   (without it, the clock is measured)
#include <windows.h>

#include <memory>

#include "aeffect.h"
#include "dsp/cascade_kernels.h"
#include "measure.h"

namespace {

VstIntPtr VSTCALLBACK host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2300 : 0;
}

using MainEntry = AEffect*(VSTCALLBACK*)(audioMasterCallback);

class DllEffect : public bench::Contender {
 public:
  explicit DllEffect(MainEntry main) : effect(main(host)) { effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f); }
  ~DllEffect() override { effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f); }
  DllEffect(const DllEffect&) = delete;
  DllEffect& operator=(const DllEffect&) = delete;
  void setProgram(int program) override { effect->dispatcher(effect, effSetProgram, 0, program, nullptr, 0.0f); }
  void processReplacing(float** inputs, float** outputs, int32_t frames) override {
    effect->processReplacing(effect, inputs, outputs, frames);
  }

 private:
  AEffect* effect;
};

// The entry of a DLL loaded with R4M_CASCADE_KERNEL set as given (null: unset);
// the DLL reads it once, when it loads.
MainEntry loadWithKernel(const char* path, const char* kernel) {
  SetEnvironmentVariableA("R4M_CASCADE_KERNEL", kernel);
  HMODULE module = LoadLibraryA(path);
  SetEnvironmentVariableA("R4M_CASCADE_KERNEL", nullptr);
  // FARPROC has no arguments: go through void* to the real signature.
  return module ? reinterpret_cast<MainEntry>(reinterpret_cast<void*>(GetProcAddress(module, "main"))) : nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  // A second module needs a second file: one name is loaded once per process.
  const bool copied = CopyFileA("R4-M.dll", "R4-M sse2.dll", FALSE);
  MainEntry chosen = loadWithKernel("R4-M.dll", nullptr);
  MainEntry sse2 = copied ? loadWithKernel("R4-M sse2.dll", "sse2") : nullptr;
  if (!chosen || !sse2 || argc > 2) {
    std::fprintf(stderr, "usage: cascade_benchmark.exe [MHZ], beside R4-M.dll, in a folder it can write\n");
    return 2;
  }
  std::vector<bench::Entry> entries;
  if (processorRunsAvx())
    entries.push_back({"DLL, AVX kernel", bench::Role::avx, [chosen] { return std::make_unique<DllEffect>(chosen); }});
  entries.push_back({"DLL, SSE2 kernel", bench::Role::sse2, [sse2] { return std::make_unique<DllEffect>(sse2); }});
  entries.push_back({"plain loop", bench::Role::plain, [] { return std::make_unique<bench::PlainLoop>(); }});
  bench::run(sizeof(void*) == 8 ? "R4-M.dll (64-bit) under Wine" : "R4-M.dll (32-bit) under Wine", entries,
             bench::Clock(argc == 2 ? argv[1] : nullptr), processorRunsAvx());
  return 0;
}
