// Silence after an impulse: in processReplacing the decaying memories never
// hold a subnormal value, where the plain arithmetic keeps subnormal values
// alive for ever; and whatever floating-point mode the host has set, the
// output is the same and the host's mode comes back exactly.
//
// Flushing does not bring every memory to exactly zero: a flushed result acts
// as a dead zone of the smallest normal double, and the low bands' resonances
// keep a cycle of values a few times that size going (about 1e-307, normal
// numbers at full speed).
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <vector>

#include "dsp/denormal_guard.h"
#include "effect_fixture.h"
#include "mxcsr_mode.h"
#include "reference_cascade.h"

namespace {

constexpr float kOffsetSample = 1.0000000031710769e-29f;  // the float nearest to 1e-29
constexpr int kChunk = 4096;
constexpr float kImpulse = 1000.0f;
constexpr double kBottomOfTheRange = 1e-305;  // a few hundred times the smallest normal double

// Every band narrow at the lowest row, 44.1 kHz: the quickest of the settings to decay.
const CascadeSettings kNarrowCut{0, {0, 0, 0, 0, 0, 0, 0}, {2, 2, 2, 2, 2, 2, 2}};

// The largest pole radius of the section: its memory shrinks by this factor per frame.
double poleRadius(const CoefficientSet& c) {
  const double discriminant = c.a1 * c.a1 - 4.0 * c.a2;
  if (discriminant < 0.0) return std::sqrt(c.a2);
  return (std::fabs(c.a1) + std::sqrt(discriminant)) / 2.0;
}

// Frames of silence after which the slowest band has decayed from the
// impulse to below the smallest normal double, with a quarter to spare for the
// bands in series and the peaks of the response.
long silenceFor(const CascadeSettings& s) {
  double slowest = 0.0;
  for (int band = 0; band < 7; band++)
    slowest = std::max(slowest, poleRadius(coefficientTables[s.rateSet][band][s.qSel[band]][s.gainRow[band]]));
  const double frames = (std::log(100.0 * kImpulse) - std::log(DBL_MIN)) / -std::log(slowest);
  return long(frames * 1.25 / kChunk + 1) * kChunk;
}

struct MemoryCensus {
  int zero = 0, subnormal = 0, normal = 0;
  double largest = 0.0;
};

MemoryCensus census(const SectionMemory (&memory)[7][2]) {
  MemoryCensus c;
  for (const auto& band : memory)
    for (const SectionMemory& m : band)
      for (double v : {m.x1, m.x2, m.y1, m.y2}) {
        if (v == 0.0)
          c.zero++;
        else if (std::fpclassify(v) == FP_SUBNORMAL)
          c.subnormal++;
        else
          c.normal++;
        c.largest = std::max(c.largest, std::fabs(v));
      }
  return c;
}

StereoBlock impulseOnBoth(size_t frames) {
  StereoBlock block{std::vector<float>(frames, 0.0f), std::vector<float>(frames, 0.0f)};
  block.left[0] = block.right[0] = kImpulse;
  return block;
}

class SilentTail : public EffectFixture {
 protected:
  void apply(const CascadeSettings& s) {
    for (int band = 0; band < 7; band++) {
      effect->setParameter(band, (float(s.gainRow[band]) + 0.5f) / 99.0f);
      effect->setParameter(7 + band, (float(s.qSel[band]) + 0.5f) / 10.0f);
    }
  }
  // One call with the host's floating-point mode set; the mode it leaves behind.
  unsigned processUnder(unsigned hostMode, StereoBlock& input, StereoBlock& output) {
    float* inputs[2] = {input.left.data(), input.right.data()};
    float* outputs[2] = {output.left.data(), output.right.data()};
    unsigned after = 0;
    underMode(hostMode, [&] {
      effect->processReplacing(inputs, outputs, int32_t(input.left.size()));
      after = _mm_getcsr();
    });
    return after;
  }
};

TEST_F(SilentTail, MemoryDecaysWithoutSubnormalsAndOutputIsTheOffset) {
  const long silence = silenceFor(kNarrowCut);
  ASSERT_LT(silence, 2000000) << "too slow a setting for a test";
  apply(kNarrowCut);
  // The host's mode, unusual on purpose: round toward zero, flags raised, no flush.
  const unsigned hostMode = kNearestMasked | _MM_ROUND_TOWARD_ZERO | _MM_EXCEPT_INEXACT | _MM_EXCEPT_INVALID;
  StereoBlock impulse = impulseOnBoth(kChunk), output = impulseOnBoth(kChunk);
  ASSERT_EQ(processUnder(hostMode, impulse, output), hostMode);
  StereoBlock silent = impulseOnBoth(kChunk);
  silent.left[0] = silent.right[0] = 0.0f;
  for (long done = 0; done < silence; done += kChunk) {
    ASSERT_EQ(processUnder(hostMode, silent, output), hostMode);
    ASSERT_EQ(census(inspect().filterMemory()).subnormal, 0) << "after " << done << " frames of silence";
  }
  const MemoryCensus c = census(inspect().filterMemory());
  EXPECT_LT(c.largest, kBottomOfTheRange);
  // The cycle the memory ends in is the plain step's, flushed the same way.
  ReferenceCascade flushed;
  underMode(kAudioPathMode, [&] {
    flushed.run(kNarrowCut, impulse);
    for (long done = 0; done < silence; done += kChunk) flushed.run(kNarrowCut, silent);
  });
  EXPECT_EQ(std::memcmp(inspect().filterMemory(), flushed.memory, sizeof flushed.memory), 0);
  for (int i = 0; i < kChunk; i++) {
    ASSERT_EQ(output.left[i], kOffsetSample) << i;
    ASSERT_EQ(output.right[i], kOffsetSample) << i;
  }
}

TEST_F(SilentTail, PlainArithmeticKeepsSubnormalMemoryForEver) {
  // The same impulse and silence through the plain step without flushing:
  // the memory settles into subnormal values and stays there.
  const long silence = silenceFor(kNarrowCut);
  ReferenceCascade reference;
  const StereoBlock impulse = impulseOnBoth(kChunk);
  StereoBlock silent = impulseOnBoth(kChunk);
  silent.left[0] = silent.right[0] = 0.0f;
  MemoryCensus atTheEnd, later;
  underMode(kNearestMasked, [&] {
    reference.run(kNarrowCut, impulse);
    for (long done = 0; done < silence; done += kChunk) reference.run(kNarrowCut, silent);
    atTheEnd = census(reference.memory);
    for (long done = 0; done < silence / 4; done += kChunk) reference.run(kNarrowCut, silent);
    later = census(reference.memory);
  });
  EXPECT_GT(atTheEnd.subnormal, 0);
  EXPECT_EQ(atTheEnd.normal, 0);
  EXPECT_GT(later.subnormal, 0);
  EXPECT_EQ(later.normal, 0);
}

TEST_F(SilentTail, HostModeNeitherChangesTheOutputNorIsChanged) {
  StereoBlock input = noiseBlock(2000, 17);
  for (float& sample : input.left) sample *= 1e3f;
  input.left[1000] = 1e-40f;  // subnormal input, read as zero
  ReferenceCascade reference;
  StereoBlock expected;
  underMode(kAudioPathMode, [&] { expected = reference.run(kNarrowCut, input); });

  const unsigned hostModes[] = {
      kNearestMasked,
      kNearestMasked | _MM_ROUND_TOWARD_ZERO | _MM_EXCEPT_INEXACT | _MM_EXCEPT_INVALID,
      kNearestMasked | _MM_ROUND_UP | kFlushToZero,
      (kNearestMasked & ~_MM_MASK_UNDERFLOW) | _MM_ROUND_DOWN | kDenormalsAreZero | _MM_EXCEPT_DIV_ZERO,
  };
  for (unsigned hostMode : hostModes) {
    SCOPED_TRACE(testing::Message() << std::hex << "host MXCSR " << hostMode);
    effect = std::make_unique<stdvst>(RecordingHost::callback());
    apply(kNarrowCut);
    StereoBlock output = input;
    ASSERT_EQ(processUnder(hostMode, input, output), hostMode);
    EXPECT_EQ(std::memcmp(output.left.data(), expected.left.data(), 2000 * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(output.right.data(), expected.right.data(), 2000 * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(inspect().filterMemory(), reference.memory, sizeof reference.memory), 0);
  }
}

// Setting an MXCSR bit the processor lacks faults: the first SSE2 processors
// report a zero mask and have no denormals-are-zero.
TEST(AudioPathMode, KeepsOnlyTheBitsTheProcessorAccepts) {
  const struct {
    unsigned mask, mode;
  } cases[] = {
      {0xFFFF, kAudioPathMode},
      {0x0000, kAudioPathMode & ~kDenormalsAreZero},
      {0xFFBF, kAudioPathMode & ~kDenormalsAreZero},
  };
  for (const auto& c : cases) EXPECT_EQ(audioModeFor(c.mask), c.mode) << std::hex << c.mask;
  // This processor has every bit the audio path wants.
  EXPECT_EQ(audioPathMode, kAudioPathMode);
}

}  // namespace
