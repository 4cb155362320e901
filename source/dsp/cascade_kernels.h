// The cascade block in two kernels, one chosen when the module loads: SSE2 on
// every processor, and the same pipeline in VEX-encoded AVX instructions where
// the processor and the operating system have AVX. Both give the same output
// and memory bit for bit.
#pragma once

#include <cstdint>

#include "../pval.h"
#include "section_memory.h"

enum class CascadeKernel : int32_t { sse2, avx };

using CascadeBlock = void (*)(BandMemory (&filterMemory)[kBands], const int32_t (&gainRow)[kBands],
                              const int32_t (&qSel)[kBands], const bool& monoInput, const int32_t& sampleRateInt,
                              float** inputs, float** outputs, int32_t frames);

// Each kernel in its own file, built for its own instruction set; frames >= 1,
// in the audio path's floating-point mode.
void runCascadeBlockSse2(BandMemory (&filterMemory)[kBands], const int32_t (&gainRow)[kBands],
                         const int32_t (&qSel)[kBands], const bool& monoInput, const int32_t& sampleRateInt,
                         float** inputs, float** outputs, int32_t frames);
void runCascadeBlockAvx(BandMemory (&filterMemory)[kBands], const int32_t (&gainRow)[kBands],
                        const int32_t (&qSel)[kBands], const bool& monoInput, const int32_t& sampleRateInt,
                        float** inputs, float** outputs, int32_t frames);

// True when the processor has AVX and the operating system saves its registers.
bool processorRunsAvx();
// The kernel for a processor, with the one asked for by name ("sse2" or "avx",
// from R4M_CASCADE_KERNEL) where it can run; AVX is never taken without AVX.
CascadeKernel kernelFor(bool runsAvx, const char* asked);

// The kernel in use: chosen at load, and changed only by tests and benchmarks
// before any audio runs.
CascadeKernel cascadeKernel();
void useCascadeKernel(CascadeKernel kernel);

// One block of processReplacing: nothing for frames <= 0; otherwise the
// kernel in use, in the audio path's floating-point mode, with the caller's
// mode given back after.
void processCascadeBlock(BandMemory (&filterMemory)[kBands], const int32_t (&gainRow)[kBands],
                         const int32_t (&qSel)[kBands], const bool& monoInput, const int32_t& sampleRateInt,
                         float** inputs, float** outputs, int32_t frames);
