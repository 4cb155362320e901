// One block of the seven-band cascade, software-pipelined across the bands:
// frames enter in pairs, and in each step band b works on the pair that
// entered b steps earlier, so the seven bands of a step do not wait for each
// other and the processor runs them side by side. Within a band the frames
// still pass in order, each on the band's memory as the frame before left it,
// so every value is that of the plain frame-by-frame cascade.
//
// Every frame reads the layout (mono or stereo) and the rate once, as it
// enters; all its bands use them. When a frame reads another, the frames in
// flight are finished first. Each band reads its width selector once for
// every frame, just before it processes that frame, and its row once for
// each channel, so a change from another thread lands at the latest with that
// band's next frame. The second frame of a pair that reads what the first
// read goes on with the first's coefficients, still in registers; anything
// else takes the general step. There is no preparation per block to miss a
// change.
//
// Templates give every (rate set, band, width) its own block addressing its
// own table. Rows is the kernel's way of putting a row's coefficients into
// both lanes. Internal linkage, as cascade_block.h says.
#pragma once

#include <cstdint>
#include <utility>

#include "section_lanes.h"

namespace {

// A band's memory and output after one frame.
struct BandStep {
  LaneMemory memory;
  __m128d output;
};

// One frame of one band with the selectors it read, the memory in the given
// phase. Stereo rotates the memory; mono runs the left lane alone, shifted.
// A width outside 0 to 2 (a Q parameter of 0.3 or more) names no table: the
// band passes its input on, its memory untouched, which in stereo takes a
// swap, so that the next frame's phase reads the memory as it was.
template <class Rows, int RateSet, int Band, int Width, int Channels, int Phase>
R4M_INLINE __m128d runAtWidth(LaneMemory& memory, int32_t leftRow, int32_t rightRow, __m128d input) {
  const CoefficientSet(&table)[kGainRows] = coefficientTables[RateSet][Band][Width];
  if constexpr (Channels == 1) return runLeftSection(Rows::bothLanes(table[leftRow]), memory, input);
  if (__builtin_expect(rightRow == leftRow, 1))
    return runSection<Phase>(Rows::bothLanes(table[leftRow]), memory, input);
  return runSection<Phase>(pairOfRows(table[leftRow], table[rightRow]), memory, input);
}

// The general step, out of line: the memory travels by value, so that the
// pipeline's own copy, held in registers, is never reached through an address.
template <class Rows, int RateSet, int Band, int Channels, int Phase>
__attribute__((noinline)) BandStep runWithSelectors(LaneMemory memory, int32_t width, int32_t leftRow,
                                                    int32_t rightRow, __m128d input) {
  __m128d output;
  switch (width) {
    case 0: output = runAtWidth<Rows, RateSet, Band, 0, Channels, Phase>(memory, leftRow, rightRow, input); break;
    case 1: output = runAtWidth<Rows, RateSet, Band, 1, Channels, Phase>(memory, leftRow, rightRow, input); break;
    case 2: output = runAtWidth<Rows, RateSet, Band, 2, Channels, Phase>(memory, leftRow, rightRow, input); break;
    default:
      if constexpr (Channels == 2) swapPhase(memory);
      output = input;
  }
  return {memory, output};
}

// The bands at one rate set and layout, their memory and the pairs between
// them, for a run of frames that read this mode. A local of its own run(),
// where no store to an output buffer can reach it, so its values stay in
// registers. Between steps every band's memory is in phase 0.
template <class Rows, int RateSet, int Channels>
class BandCascade {
 public:
  // From `frame` on while each frame reads this mode. Answers the first frame
  // that did not, its mode read into the block; the first frame's mode is
  // already there.
  static int32_t run(Block& block, int32_t frame) {
    BandCascade cascade(block);
    frame = cascade.runFrom(frame);
    for (int band = 0; band < kBands; band++) fromLanes(cascade.memory[band], block.filterMemory[band]);
    return frame;
  }

 private:
  // Everything the steps use is copied here, out of reach of the stores to
  // the output buffers, so that none of it is read again after each store.
  explicit BandCascade(Block& block)
      : block(block), gainRow(block.gainRow), qSel(block.qSel), inputLeft(block.inputs[0]),
        inputRight(Channels == 2 ? block.inputs[1] : nullptr), outputLeft(block.outputs[0]),
        outputRight(block.outputs[1]) {
    for (int band = 0; band < kBands; band++) memory[band] = toLanes(block.filterMemory[band]);
  }

  R4M_INLINE int32_t runFrom(int32_t frame) {
    const int32_t first = frame;
    int32_t done = frame;  // the oldest frame not yet written
    bool more = true;      // `frame` may enter: it read this mode
    bool alone = false;    // `frame` read this mode, the one after it did not
    for (int step = 0;; step++) {
      if (more && !(alone = !admits(frame + 1))) {
        if (frame - done == 2 * kLastBand) {
          // Steady: every band busy.
          enter(frame);
          fullStep(kBandList);
          leave(done);
          frame += 2, done += 2;
          more = admits(frame);
          continue;
        }
        enter(frame);
        frame += 2;
      } else {
        more = false;
        if (done == frame) break;
      }
      // Filling or draining: only the bands from the newest pair's to the
      // oldest's have a pair.
      const int newest = step - (frame - 2 - first) / 2, oldest = step - (done - first) / 2;
      partialStep(newest, oldest, kBandList);
      if (oldest == kLastBand) leave(done), done += 2;
      if (more) more = admits(frame);
    }
    if (alone) runAlone(frame++);
    return frame;
  }

  R4M_INLINE bool admits(int32_t frame) { return readsMode<RateSet, Channels>(block, frame); }

  R4M_INLINE __m128d frameAt(int32_t frame) const {
    // A mono host's second input buffer is never read.
    const double right = Channels == 2 ? inputRight[frame] : 0.0;
    return _mm_set_pd(right, inputLeft[frame]);
  }

  R4M_INLINE void enter(int32_t frame) {
    enteringFirst = frameAt(frame);
    enteringSecond = frameAt(frame + 1);
  }

  // In mono the second output carries the first.
  R4M_INLINE void write(int32_t frame, __m128d filtered) {
    const __m128d samples = _mm_add_pd(filtered, _mm_set1_pd(kOutputOffset));
    const float left = float(_mm_cvtsd_f64(samples));
    outputLeft[frame] = left;
    outputRight[frame] = Channels == 2 ? float(_mm_cvtsd_f64(_mm_unpackhi_pd(samples, samples))) : left;
  }

  R4M_INLINE void leave(int32_t frame) {
    const __m128d offset = _mm_set1_pd(kOutputOffset);
    const __m128 firstFrame = _mm_cvtpd_ps(_mm_add_pd(pairFirst[kLastBand], offset));
    const __m128 secondFrame = _mm_cvtpd_ps(_mm_add_pd(pairSecond[kLastBand], offset));
    const __m128 byChannel = _mm_unpacklo_ps(firstFrame, secondFrame);  // left, left, right, right
    _mm_storel_pi(reinterpret_cast<__m64*>(outputLeft + frame), byChannel);
    if constexpr (Channels == 2) _mm_storeh_pi(reinterpret_cast<__m64*>(outputRight + frame), byChannel);
    else _mm_storel_pi(reinterpret_cast<__m64*>(outputRight + frame), byChannel);
  }

  // A frame whose partner read another mode, or the last of an odd block:
  // through all the bands in turn, on its own.
  void runAlone(int32_t frame) {
    __m128d samples = frameAt(frame);
    runAloneThrough(samples, kBandList);
    write(frame, samples);
  }
  template <int... Bands>
  R4M_INLINE void runAloneThrough(__m128d& samples, std::integer_sequence<int, Bands...>) {
    ((samples = runBandAlone<Bands>(samples)), ...);
  }
  template <int Band>
  R4M_INLINE __m128d runBandAlone(__m128d input) {
    const int32_t width = loadShared(qSel[Band]);
    const int32_t leftRow = loadShared(gainRow[Band]), rightRow = Channels == 2 ? loadShared(gainRow[Band]) : 0;
    BandStep done = runWithSelectors<Rows, RateSet, Band, Channels, 0>(memory[Band], width, leftRow, rightRow, input);
    if constexpr (Channels == 2) swapPhase(done.memory);  // back to phase 0 after one frame
    memory[Band] = done.memory;
    return done.output;
  }

  // Band b takes the pair that band b - 1 gave in the previous step, so the
  // bands go highest first. The pair's first frame runs in phase 0, its
  // second in phase 1, which leaves the band in phase 0.
  template <int Band>
  R4M_INLINE void band() {
    const __m128d inputFirst = Band == 0 ? enteringFirst : pairFirst[Band > 0 ? Band - 1 : 0];
    const __m128d inputSecond = Band == 0 ? enteringSecond : pairSecond[Band > 0 ? Band - 1 : 0];
    switch (loadShared(qSel[Band])) {
      case 0: return pairAtWidth<Band, 0>(inputFirst, inputSecond);
      case 1: return pairAtWidth<Band, 1>(inputFirst, inputSecond);
      case 2: return pairAtWidth<Band, 2>(inputFirst, inputSecond);
      default:
        if constexpr (Channels == 2) swapPhase(memory[Band]);
        pairFirst[Band] = inputFirst;
        pairSecond[Band] = secondFrame<Band>(inputSecond);
    }
  }

  template <int Band, int Width>
  R4M_INLINE void pairAtWidth(__m128d inputFirst, __m128d inputSecond) {
    const int32_t leftRow = loadShared(gainRow[Band]), rightRow = Channels == 2 ? loadShared(gainRow[Band]) : leftRow;
    if (__builtin_expect(rightRow != leftRow, 0)) {
      pairFirst[Band] = runGeneral<Band, 0>(Width, leftRow, rightRow, inputFirst);
      pairSecond[Band] = secondFrame<Band>(inputSecond);
      return;
    }
    const RowInLanes coefficients = Rows::bothLanes(coefficientTables[RateSet][Band][Width][leftRow]);
    pairFirst[Band] = Channels == 2 ? runSection<0>(coefficients, memory[Band], inputFirst)
                                : runLeftSection(coefficients, memory[Band], inputFirst);
    const int32_t width = loadShared(qSel[Band]);
    if (__builtin_expect(width == Width, 1)) {
      const int32_t leftAgain = loadShared(gainRow[Band]);
      if (__builtin_expect(leftAgain == leftRow, 1)) {
        const int32_t rightAgain = Channels == 2 ? loadShared(gainRow[Band]) : leftAgain;
        if (__builtin_expect(rightAgain == leftRow, 1)) {
          pairSecond[Band] = Channels == 2 ? runSection<1>(coefficients, memory[Band], inputSecond)
                                       : runLeftSection(coefficients, memory[Band], inputSecond);
          return;
        }
        pairSecond[Band] = runGeneral<Band, 1>(width, leftAgain, rightAgain, inputSecond);
        return;
      }
      const int32_t rightAgain = Channels == 2 ? loadShared(gainRow[Band]) : leftAgain;
      pairSecond[Band] = runGeneral<Band, 1>(width, leftAgain, rightAgain, inputSecond);
      return;
    }
    pairSecond[Band] = secondFrameFrom<Band>(width, inputSecond);
  }

  // The second frame of a pair whose first did not leave its coefficients.
  template <int Band>
  R4M_INLINE __m128d secondFrameFrom(int32_t width, __m128d input) {
    const int32_t leftRow = loadShared(gainRow[Band]);
    const int32_t rightRow = Channels == 2 ? loadShared(gainRow[Band]) : leftRow;
    return runGeneral<Band, 1>(width, leftRow, rightRow, input);
  }
  template <int Band>
  R4M_INLINE __m128d secondFrame(__m128d input) {
    const int32_t width = loadShared(qSel[Band]), leftRow = loadShared(gainRow[Band]);
    const int32_t rightRow = Channels == 2 ? loadShared(gainRow[Band]) : leftRow;
    return runGeneral<Band, 1>(width, leftRow, rightRow, input);
  }

  template <int Band, int Phase>
  R4M_INLINE __m128d runGeneral(int32_t width, int32_t leftRow, int32_t rightRow, __m128d input) {
    const BandStep done =
        runWithSelectors<Rows, RateSet, Band, Channels, Phase>(memory[Band], width, leftRow, rightRow, input);
    memory[Band] = done.memory;
    return done.output;
  }

  static constexpr auto kBandList = std::make_integer_sequence<int, kBands>();

  template <int... Bands>
  R4M_INLINE void fullStep(std::integer_sequence<int, Bands...>) {
    (band<kLastBand - Bands>(), ...);
  }

  template <int... Bands>
  R4M_INLINE void partialStep(int newest, int oldest, std::integer_sequence<int, Bands...>) {
    ((kLastBand - Bands >= newest && kLastBand - Bands <= oldest ? band<kLastBand - Bands>() : void()), ...);
  }

  Block& block;
  const int32_t (&gainRow)[kBands];
  const int32_t (&qSel)[kBands];
  const float* const inputLeft;
  const float* const inputRight;
  float* const outputLeft;
  float* const outputRight;
  LaneMemory memory[kBands];
  __m128d enteringFirst{}, enteringSecond{};
  __m128d pairFirst[kBands] = {};  // band b's outputs in the last step: band b + 1's next pair
  __m128d pairSecond[kBands] = {};
};

}  // namespace
