// One block of the seven-band cascade with the bands in the lanes of vector
// registers: lane b holds band b of one channel, and in each step band b works
// on the frame that entered b steps earlier (a software pipeline), taking what
// band b - 1 gave in the step before, shifted one lane up. One vector
// operation so does the same scalar operation for several bands at once; each
// lane does exactly the plain step's double arithmetic in its order, so every
// value is that of the frame-by-frame cascade.
//
// Every frame reads the layout (mono or stereo) and the rate once, as it
// enters; all its bands use them. When a frame reads another, the frames in
// flight are finished first. In every step each band's width selector is read
// once, and its row once for each channel, for the frame the band works on:
// all seven at once, compared with what the last step read. Only when
// something changed are the coefficients of the changed bands fetched again,
// each (rate set, band, width) from its own table; the others stay in their
// lanes. So a change from another thread lands at the latest with that band's
// next frame, and there is no preparation per block to miss it.
//
// Lanes is the instruction set's vectors: kWidth doubles, kGroups of them for
// the eight lanes of a channel (lane 7 has no band: its coefficients are
// zero).
// Internal linkage, as cascade_block.h says.
#pragma once

#include <emmintrin.h>

#include <cstring>
#include <utility>

#include "cascade_block.h"

namespace {

constexpr int kLanes = 8;  // bands 1 to 7 and one spare

// The selectors as read in one step, lane by lane: the first read gives
// lanes 0 to 3 (bands 1 to 4), the second, of words 3 to 6, lanes 4 to 7, of
// which lane 4 repeats band 4 and is never used.
struct alignas(16) SelectorLanes {
  int32_t width[kLanes];
  int32_t leftRow[kLanes];
  int32_t rightRow[kLanes];
};
constexpr int laneOfWord(int band) { return band < 4 ? band : band + 1; }

// The coefficients in lanes, for each channel, which bands pass their input
// on (a width outside 0 to 2, from a Q parameter of 0.3 or more), and the
// selectors they were fetched for.
struct alignas(32) CoefficientLanes {
  double value[2][5][kLanes];  // channel, b0 b1 b2 a1 a2, band
  uint64_t passing[kLanes];    // all ones where the band passes its input on
  bool anyPassing;
  SelectorLanes selectors;
};

// One read of a selector array, all seven words: the first load gives lanes
// 0 to 3, the second, of words 3 to 6, lanes 4 to 7. Lane 4 repeats word 3
// and is never used for band 4 (lane 3 is), but it takes part in the
// comparison: a change of word 3 between the two loads only fetches again.
struct SelectorRead {
  __m128i low, high;
  __m128i changedFrom(const int32_t (&lanes)[kLanes]) const {
    const __m128i lowChange = _mm_xor_si128(low, _mm_load_si128(reinterpret_cast<const __m128i*>(lanes)));
    return _mm_or_si128(lowChange, _mm_xor_si128(high, _mm_load_si128(reinterpret_cast<const __m128i*>(lanes + 4))));
  }
  void storeTo(int32_t (&lanes)[kLanes]) const {
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), low);
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes + 4), high);
  }
};
R4M_INLINE SelectorRead read(const int32_t (&words)[kBands]) { return {loadSharedWords(&words[0]), loadSharedWords(&words[3])}; }

// The bands at one rate set and layout for a run of frames that read this
// mode. A local of its own run(), where no store to an output buffer can
// reach it, so its values stay in registers.
template <class Lanes, int RateSet, int Channels>
class LaneCascade {
  using Vector = typename Lanes::Vector;
  static constexpr int kWidth = Lanes::kWidth;
  static constexpr int kGroups = kLanes / kWidth;
  static constexpr int kOutGroup = kLastBand / kWidth, kOutLane = kLastBand % kWidth;

  struct Memory {
    Vector x1, x2, y1, y2;
  };

 public:
  // From `frame` on while each frame reads this mode. Answers the first frame
  // that did not, its mode read into the block; the first frame's mode is
  // already there.
  static int32_t run(Block& block, int32_t frame) {
    // Apart from the cascade: the rare refresh takes it by address, and the
    // cascade's own values must not be reachable through one.
    CoefficientLanes coefficients;
    LaneCascade cascade(block, coefficients);
    frame = cascade.runFrom(frame);
    cascade.storeMemory();  // both channels' lanes; only the layout's are written back
    return frame;
  }

 private:
  LaneCascade(Block& block, CoefficientLanes& coefficients)
      : block(block), inputLeft(block.inputs[0]), inputRight(Channels == 2 ? block.inputs[1] : nullptr),
        outputLeft(block.outputs[0]), outputRight(block.outputs[1]), coefficients(coefficients) {
    loadMemory();
    std::memset(&coefficients, 0, sizeof coefficients);
    // No selector reads like this: the first step fetches all.
    std::memset(&coefficients.selectors, 0xFF, sizeof coefficients.selectors);
  }

  // A frame enters in each step while the frames read this mode; the oldest
  // leaves once it has passed band 7. Band b works on the frame that entered
  // b steps before.
  R4M_INLINE int32_t runFrom(int32_t frame) {
    const int32_t first = frame;
    int32_t done = frame;  // the oldest frame not yet written
    bool more = true;      // `frame` may enter: it read this mode
    readSelectors();       // for the first step; each step reads them for the next
    while (more || done < frame) {
      if (more && frame - done == kLastBand && !coefficients.anyPassing) {
        // Steady: every band busy, every band with a table. A loop of its own,
        // so that nothing else shares its registers.
        do {
          entering = frame++;
          sections(fresh(coefficients), kGroupList);
          step++;
          leave(done++);
          more = admits(frame);
          readSelectors();
        } while (more && !coefficients.anyPassing);
        continue;
      }
      // Filling, draining, or a band passing its input on: the bands without a
      // frame, and those, keep their memory.
      if (more) entering = frame++;
      const int newest = step - (frame - 1 - first), oldest = step - (done - first);
      maskedSections(fresh(coefficients), kGroupList, newest, oldest);
      step++;
      if (oldest == kLastBand) leave(done++);
      if (more) more = admits(frame);
      readSelectors();
    }
    return frame;
  }

  R4M_INLINE bool admits(int32_t frame) { return readsMode<RateSet, Channels>(block, frame); }

  // Each band's selectors, read once for the frame it works on, and compared
  // with the last step's; the coefficients of the bands whose selectors
  // changed are fetched anew.
  R4M_INLINE void readSelectors() {
    const SelectorRead widths = read(block.qSel), leftRows = read(block.gainRow), rightRows = read(block.gainRow);
    const __m128i changed = _mm_or_si128(
        _mm_or_si128(widths.changedFrom(coefficients.selectors.width), leftRows.changedFrom(coefficients.selectors.leftRow)),
        rightRows.changedFrom(coefficients.selectors.rightRow));
    if (__builtin_expect(!Lanes::allZero(changed), 0)) {
      SelectorLanes now;
      widths.storeTo(now.width);
      leftRows.storeTo(now.leftRow);
      rightRows.storeTo(now.rightRow);
      refresh(coefficients, now);
    }
  }

  // The coefficients as this step is to read them from memory, each as an
  // operand of its multiplication: held in registers across steps instead,
  // they would push the memory out of them.
  static R4M_INLINE const CoefficientLanes& fresh(const CoefficientLanes& coefficients) {
    const CoefficientLanes* here = &coefficients;
    __asm__("" : "+r"(here));
    return *here;
  }

  // Out of line, the rare part.
  __attribute__((noinline)) static void refresh(CoefficientLanes& coefficients, const SelectorLanes& now) {
    refreshBands(coefficients, now, std::make_integer_sequence<int, kBands>());
    coefficients.selectors = now;
    coefficients.anyPassing = false;
    for (uint64_t lane : coefficients.passing) coefficients.anyPassing |= lane != 0;
  }
  template <int... Bands>
  R4M_INLINE static void refreshBands(CoefficientLanes& coefficients, const SelectorLanes& now,
                                      std::integer_sequence<int, Bands...>) {
    (refreshBand<Bands>(coefficients, now), ...);
  }
  template <int Band>
  R4M_INLINE static void refreshBand(CoefficientLanes& coefficients, const SelectorLanes& now) {
    constexpr int word = laneOfWord(Band);
    const SelectorLanes& before = coefficients.selectors;
    const int32_t width = now.width[word], leftRow = now.leftRow[word], rightRow = now.rightRow[word];
    if (width == before.width[word] && leftRow == before.leftRow[word] && rightRow == before.rightRow[word]) return;
    switch (width) {
      case 0: return fetch<Band, 0>(coefficients, leftRow, rightRow);
      case 1: return fetch<Band, 1>(coefficients, leftRow, rightRow);
      case 2: return fetch<Band, 2>(coefficients, leftRow, rightRow);
      default: coefficients.passing[Band] = ~uint64_t(0);
    }
  }
  // Each (rate set, band, width) addresses its own table, a row for each channel.
  template <int Band, int Width>
  R4M_INLINE static void fetch(CoefficientLanes& coefficients, int32_t leftRow, int32_t rightRow) {
    const CoefficientSet(&table)[kGainRows] = coefficientTables[RateSet][Band][Width];
    const int32_t rows[2] = {leftRow, rightRow};
    for (int channel = 0; channel < 2; channel++) {
      const CoefficientSet& c = table[rows[channel]];
      double(&lanes)[5][kLanes] = coefficients.value[channel];
      lanes[0][Band] = c.b0, lanes[1][Band] = c.b1, lanes[2][Band] = c.b2, lanes[3][Band] = c.a1, lanes[4][Band] = c.a2;
    }
    coefficients.passing[Band] = 0;
  }

  static constexpr auto kGroupList = std::make_integer_sequence<int, kGroups>();

  // The arithmetic of one step, every band at once, in the plain step's
  // order; groups highest first, as each takes the outputs of the group below
  // from the step before.
  template <int... Groups>
  R4M_INLINE void sections(const CoefficientLanes& c, std::integer_sequence<int, Groups...>) {
    (section<0, kGroups - 1 - Groups>(c), ...);
    if constexpr (Channels == 2) (section<1, kGroups - 1 - Groups>(c), ...);
  }
  template <int Channel, int Group>
  R4M_INLINE void section(const CoefficientLanes& c) {
    const Vector x = inputOf(Channel, Group);
    Memory& m = memory[Channel][Group];
    const Vector y = sectionOf(c, Channel, Group, x, m);
    m = {x, m.x1, y, m.y1};
    out[Channel][Group] = y;
  }

  // The same where some bands keep their memory: those without a frame (outside
  // newest to oldest) and those whose width names no table, which pass their
  // input on.
  template <int... Groups>
  R4M_INLINE void maskedSections(const CoefficientLanes& c, std::integer_sequence<int, Groups...>, int newest,
                                 int oldest) {
    const Vector frozen[kGroups] = {
        Lanes::either(Lanes::mask(&c.passing[Groups * kWidth]), Lanes::outside(Groups * kWidth, newest, oldest))...};
    (maskedSection<0, kGroups - 1 - Groups>(c, frozen[kGroups - 1 - Groups]), ...);
    if constexpr (Channels == 2) (maskedSection<1, kGroups - 1 - Groups>(c, frozen[kGroups - 1 - Groups]), ...);
  }
  template <int Channel, int Group>
  R4M_INLINE void maskedSection(const CoefficientLanes& c, Vector keep) {
    const Vector x = inputOf(Channel, Group);
    Memory& m = memory[Channel][Group];
    const Vector y = sectionOf(c, Channel, Group, x, m);
    m = {Lanes::select(keep, m.x1, x), Lanes::select(keep, m.x2, m.x1), Lanes::select(keep, m.y1, y),
         Lanes::select(keep, m.y2, m.y1)};
    out[Channel][Group] = Lanes::select(keep, x, y);
  }

  static R4M_INLINE Vector sectionOf(const CoefficientLanes& coefficients, int channel, int group, Vector x,
                                     const Memory& m) {
    const double(&c)[5][kLanes] = coefficients.value[channel];
    const int lane = group * kWidth;
    Vector y = Lanes::mul(Lanes::load(&c[0][lane]), x);
    y = Lanes::add(y, Lanes::mul(Lanes::load(&c[1][lane]), m.x1));
    y = Lanes::add(y, Lanes::mul(Lanes::load(&c[2][lane]), m.x2));
    y = Lanes::sub(y, Lanes::mul(Lanes::load(&c[3][lane]), m.y1));
    y = Lanes::sub(y, Lanes::mul(Lanes::load(&c[4][lane]), m.y2));
    return y;
  }

  // Band b's input: what band b - 1 gave in the last step, one lane up; band
  // 1's is the entering frame. A mono host's second input buffer is never read.
  R4M_INLINE Vector inputOf(int channel, int group) const {
    if (group == 0) return Lanes::enter(double((channel == 0 ? inputLeft : inputRight)[entering]), out[channel][0]);
    return Lanes::shiftIn(out[channel][group - 1], out[channel][group]);
  }

  // In mono the second output carries the first.
  R4M_INLINE void leave(int32_t frame) {
    const float left = float(Lanes::lane(out[0][kOutGroup], kOutLane) + kOutputOffset);
    outputLeft[frame] = left;
    outputRight[frame] = Channels == 2 ? float(Lanes::lane(out[1][kOutGroup], kOutLane) + kOutputOffset) : left;
  }

  // The memory of the block into lanes and back, each group by its own
  // constant index: the cascade's arrays are then plain values to the
  // compiler, which keeps them in registers.
  void loadMemory() {
    double lanes[2][4][kLanes] = {};  // channel, x1 x2 y1 y2, band
    for (int channel = 0; channel < 2; channel++)
      for (int band = 0; band < kBands; band++) {
        const SectionMemory& m = block.filterMemory[band][channel];
        lanes[channel][0][band] = m.x1, lanes[channel][1][band] = m.x2;
        lanes[channel][2][band] = m.y1, lanes[channel][3][band] = m.y2;
      }
    loadGroups(lanes, kGroupList);
  }
  template <int... Groups>
  R4M_INLINE void loadGroups(const double (&lanes)[2][4][kLanes], std::integer_sequence<int, Groups...>) {
    ((memory[0][Groups] = loadGroup(lanes[0], Groups), out[0][Groups] = Lanes::zero()), ...);
    ((memory[1][Groups] = loadGroup(lanes[1], Groups), out[1][Groups] = Lanes::zero()), ...);
  }
  static R4M_INLINE Memory loadGroup(const double (&lanes)[4][kLanes], int group) {
    const int lane = group * kWidth;
    return {Lanes::load(&lanes[0][lane]), Lanes::load(&lanes[1][lane]), Lanes::load(&lanes[2][lane]),
            Lanes::load(&lanes[3][lane])};
  }
  void storeMemory() {
    double lanes[2][4][kLanes];
    storeGroups(lanes, kGroupList);
    for (int channel = 0; channel < Channels; channel++)
      for (int band = 0; band < kBands; band++)
        block.filterMemory[band][channel] = {lanes[channel][0][band], lanes[channel][1][band],
                                             lanes[channel][2][band], lanes[channel][3][band]};
  }
  template <int... Groups>
  R4M_INLINE void storeGroups(double (&lanes)[2][4][kLanes], std::integer_sequence<int, Groups...>) {
    (storeGroup(lanes[0], Groups, memory[0][Groups]), ...);
    (storeGroup(lanes[1], Groups, memory[1][Groups]), ...);
  }
  static R4M_INLINE void storeGroup(double (&lanes)[4][kLanes], int group, const Memory& m) {
    const int lane = group * kWidth;
    Lanes::store(&lanes[0][lane], m.x1), Lanes::store(&lanes[1][lane], m.x2);
    Lanes::store(&lanes[2][lane], m.y1), Lanes::store(&lanes[3][lane], m.y2);
  }

  Block& block;
  const float* const inputLeft;
  const float* const inputRight;
  float* const outputLeft;
  float* const outputRight;
  int32_t entering = 0;  // the frame band 1 takes in this step
  int step = 0;          // steps taken in this run
  CoefficientLanes& coefficients;
  Memory memory[2][kGroups];
  Vector out[2][kGroups];  // each group's outputs in the last step
};

}  // namespace
