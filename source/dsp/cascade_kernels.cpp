// Which kernel runs, and the floating-point mode around it.
#include "cascade_kernels.h"

#include <cpuid.h>

#include <cstdlib>
#include <cstring>

#include "denormal_guard.h"

namespace {

constexpr unsigned kSseAndAvxState = 0x6;  // XCR0 bits: the OS saves the XMM and the upper YMM halves

const bool runsAvx = processorRunsAvx();  // asked once: CPUID can cost microseconds in a virtual machine
CascadeKernel inUse = kernelFor(runsAvx, std::getenv("R4M_CASCADE_KERNEL"));  // a plain word after load

}  // namespace

bool processorRunsAvx() {
  unsigned eax, ebx, ecx, edx;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
  if (!(ecx & bit_AVX) || !(ecx & bit_OSXSAVE)) return false;
  unsigned low, high;
  __asm__("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
  return (low & kSseAndAvxState) == kSseAndAvxState;
}

CascadeKernel kernelFor(bool runsAvx, const char* asked) {
  if (asked && std::strcmp(asked, "sse2") == 0) return CascadeKernel::sse2;
  return runsAvx ? CascadeKernel::avx : CascadeKernel::sse2;
}

CascadeKernel cascadeKernel() { return inUse; }

void useCascadeKernel(CascadeKernel kernel) { inUse = kernel == CascadeKernel::avx && !runsAvx ? CascadeKernel::sse2 : kernel; }

void processCascadeBlock(BandMemory (&filterMemory)[kBands], const int32_t (&gainRow)[kBands],
                         const int32_t (&qSel)[kBands], const bool& monoInput, const int32_t& sampleRateInt,
                         float** inputs, float** outputs, int32_t frames) {
  if (frames <= 0) return;
  DenormalGuard guard;
  const CascadeBlock run = inUse == CascadeKernel::avx ? runCascadeBlockAvx : runCascadeBlockSse2;
  run(filterMemory, gainRow, qSel, monoInput, sampleRateInt, inputs, outputs, frames);
}
