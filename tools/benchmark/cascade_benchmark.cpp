// The benchmark on the product DLL as a host loads it: R4-M.dll from the
// program's folder, through its plug-in record.
//   cascade_benchmark.exe [MHZ]   (without it, the clock is measured)
#include <windows.h>

#include <memory>

#include "aeffect.h"
#include "measure.h"

namespace {

VstIntPtr VSTCALLBACK host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2300 : 0;
}

using MainEntry = AEffect*(VSTCALLBACK*)(audioMasterCallback);

class DllProduct {
 public:
  explicit DllProduct(MainEntry main) : effect(main(host)) { effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f); }
  ~DllProduct() { effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f); }
  DllProduct(const DllProduct&) = delete;
  DllProduct& operator=(const DllProduct&) = delete;
  void setProgram(int program) { effect->dispatcher(effect, effSetProgram, 0, program, nullptr, 0.0f); }
  void processReplacing(float** inputs, float** outputs, int32_t frames) {
    effect->processReplacing(effect, inputs, outputs, frames);
  }

 private:
  AEffect* effect;
};

}  // namespace

int main(int argc, char** argv) {
  HMODULE module = LoadLibraryA("R4-M.dll");
  // FARPROC has no arguments: go through void* to the real signature.
  auto entry = module ? reinterpret_cast<MainEntry>(reinterpret_cast<void*>(GetProcAddress(module, "main"))) : nullptr;
  if (!entry || argc > 2) {
    std::fprintf(stderr, "usage: cascade_benchmark.exe [MHZ], beside R4-M.dll\n");
    return 2;
  }
  bench::run("R4-M.dll (64-bit) under Wine", [entry] { return std::make_unique<DllProduct>(entry); },
             bench::Clock(argc == 2 ? argv[1] : nullptr));
  return 0;
}
