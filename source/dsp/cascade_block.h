// The frame of a cascade block shared by both kernels: what a block works on,
// the runs of frames of one mode, and the frames at a rate without tables.
// A kernel gives its run as Run<RateSet, Channels>::run(block, frame).
//
// Everything here has internal linkage: each kernel's file compiles its own
// copy for its own instruction set, and no copy built for one can stand in
// for another at link time.
#pragma once

#include <cstdint>

#include "../pval.h"
#include "../shared_word.h"
#include "../tables/coefficient_tables.h"
#include "section_memory.h"
#include "table_rates.h"

// Inlined whatever the size: only inside one function can a pipeline's
// values stay in registers.
#define R4M_INLINE __attribute__((always_inline)) inline

namespace {

constexpr double kOutputOffset = 1e-29;  // added to every filtered output sample
constexpr int kLastBand = kBands - 1;

// What one block works on and with. mono and rate hold the mode that the
// next frame to run read.
struct Block {
  BandMemory (&filterMemory)[kBands];
  const int32_t (&gainRow)[kBands];
  const int32_t (&qSel)[kBands];
  const bool& monoInput;
  const int32_t& sampleRateInt;
  float** inputs;
  float** outputs;
  int32_t frames;
  bool mono;
  int32_t rate;
};

// Reads the mode of `frame` (once): true when it is RateSet's and the
// layout's; otherwise the block keeps what it read, for the next run.
template <int RateSet, int Channels>
R4M_INLINE bool readsMode(Block& block, int32_t frame) {
  if (frame >= block.frames) return false;
  const bool mono = loadShared(block.monoInput);
  const int32_t rate = loadShared(block.sampleRateInt);
  // One test for both: this is every frame's.
  if (__builtin_expect(((mono != (Channels == 1)) | (rate != (RateSet == 0 ? kRate44k : kRate96k))) == 0, 1))
    return true;
  block.mono = mono, block.rate = rate;
  return false;
}

// No table for this rate: the frame is passed through, the memory frozen until
// a supported rate returns.
inline void bypassFrame(bool mono, float** inputs, float** outputs, int32_t frame) {
  const float left = inputs[0][frame], right = mono ? left : inputs[1][frame];
  outputs[0][frame] = left;
  outputs[1][frame] = right;
}

// The whole block, run by run; `frames` is at least 1 and the audio path's
// floating-point mode is already set.
template <template <int RateSet, int Channels> class Run>
inline void runCascadeBlock(BandMemory (&filterMemory)[kBands], const int32_t (&gainRow)[kBands],
                            const int32_t (&qSel)[kBands], const bool& monoInput, const int32_t& sampleRateInt,
                            float** inputs, float** outputs, int32_t frames) {
  Block block{filterMemory, gainRow, qSel, monoInput, sampleRateInt, inputs, outputs, frames, loadShared(monoInput),
              loadShared(sampleRateInt)};
  for (int32_t frame = 0; frame < frames;) {
    if (block.rate == kRate44k && block.mono)
      frame = Run<0, 1>::run(block, frame);
    else if (block.rate == kRate44k)
      frame = Run<0, 2>::run(block, frame);
    else if (block.rate == kRate96k && block.mono)
      frame = Run<1, 1>::run(block, frame);
    else if (block.rate == kRate96k)
      frame = Run<1, 2>::run(block, frame);
    else {
      bypassFrame(block.mono, inputs, outputs, frame);
      if (++frame < frames) {
        block.mono = loadShared(monoInput);
        block.rate = loadShared(sampleRateInt);
      }
    }
  }
}

}  // namespace
