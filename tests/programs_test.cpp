// The eight programs: their selectors, live edits, names.
#include <cstring>
#include <string>

#include "effect_fixture.h"

namespace {

using Programs = EffectFixture;

TEST_F(Programs, AfterConstruction) {
  char name[32];
  EXPECT_EQ(effect->dispatcher(effGetProgram, 0, 0, nullptr, 0.0f), 0);
  effect->getProgramName(name);
  EXPECT_STREQ(name, "Clean");
  EXPECT_EQ(effect->getParameter(0), 0.5f);
  EXPECT_EQ(effect->getParameter(7), 0.1f);
  for (int band = 1; band <= 7; band++) {
    EXPECT_EQ(inspect().gainRow(band), 49);
    EXPECT_EQ(inspect().qSel(band), 1);
    EXPECT_EQ(inspect().gainValue(band), 0.5);
  }
}

// Each program's name and the selectors its values give.
TEST_F(Programs, SelectorsOfEveryProgram) {
  struct Case {
    const char* name;
    int32_t rows[7];
    int32_t qSels[7];
  };
  const Case cases[8] = {
      {"Clean", {49, 49, 49, 49, 49, 49, 49}, {1, 1, 1, 1, 1, 1, 1}},
      {"Ease of Mind", {59, 42, 46, 71, 57, 38, 57}, {2, 0, 0, 0, 1, 2, 0}},
      {"Q Factor", {42, 40, 75, 87, 59, 54, 68}, {2, 0, 2, 2, 1, 1, 1}},
      {"Low Pass", {40, 60, 18, 0, 3, 0, 0}, {0, 2, 0, 0, 0, 0, 0}},
      {"Overall Boost", {67, 33, 67, 60, 67, 59, 49}, {0, 1, 1, 1, 1, 1, 1}},
      {"Basic Brilliance", {49, 49, 49, 49, 49, 69, 81}, {1, 1, 1, 1, 1, 1, 1}},
      {"Smarter With No Drugs", {23, 64, 36, 73, 45, 17, 41}, {2, 0, 0, 1, 0, 2, 0}},
      {"Analog Curve", {45, 59, 65, 85, 75, 31, 45}, {0, 1, 2, 2, 0, 0, 2}},
  };
  for (int program = 7; program >= 0; program--) {  // descending, so no program starts from its own values
    const Case& c = cases[program];
    effect->dispatcher(effSetProgram, 0, program, nullptr, 0.0f);
    char name[32];
    effect->getProgramName(name);
    EXPECT_STREQ(name, c.name);
    for (int band = 1; band <= 7; band++) {
      EXPECT_EQ(inspect().gainRow(band), c.rows[band - 1]) << "program " << program << " band " << band;
      EXPECT_EQ(inspect().qSel(band), c.qSels[band - 1]) << "program " << program << " band " << band;
      EXPECT_EQ(effect->getParameter(14 + band - 1), -1.0f);
    }
  }
}

TEST_F(Programs, EditsSurviveProgramChanges) {
  effect->setProgram(1);
  effect->setParameter(0, 0.9f);
  effect->setParameter(8, 0.2f);
  effect->setProgram(2);
  EXPECT_EQ(effect->getParameter(0), 0.43038f);
  effect->setProgram(1);
  EXPECT_EQ(effect->getParameter(0), 0.9f);
  EXPECT_EQ(inspect().gainRow(1), 89);
  EXPECT_EQ(inspect().qSel(2), 2);
}

TEST_F(Programs, Renaming) {
  struct Case {
    const char* given;
    const char* kept;
  };
  const Case cases[] = {{"Vocal", "Vocal"},
                        {"", ""},
                        {"exactly twenty-three ch", "exactly twenty-three ch"},
                        {"a name well past the limit", "a name well past the li"},
                        {"123456789012345678901234567890", "12345678901234567890123"}};
  effect->setProgram(2);
  for (const Case& c : cases) {
    std::string given = c.given;
    effect->dispatcher(effSetProgramName, 0, 0, &given[0], 0.0f);
    char name[64];
    std::memset(name, 'x', sizeof name);
    effect->dispatcher(effGetProgramName, 0, 0, name, 0.0f);
    EXPECT_STREQ(name, c.kept) << c.given;
    std::memset(name, 'x', sizeof name);
    EXPECT_EQ(effect->dispatcher(effGetProgramNameIndexed, 2, 99, name, 0.0f), 1) << "any category";
    EXPECT_STREQ(name, c.kept);
  }
  char other[32];
  effect->getProgramNameIndexed(0, 3, other);
  EXPECT_STREQ(other, "Low Pass") << "only the current program is renamed";
}

TEST_F(Programs, IndexedNamesOutsideTheRange) {
  for (VstInt32 index : {8, -1, 1000}) {
    char name[32];
    std::memset(name, 'x', sizeof name);
    EXPECT_EQ(effect->dispatcher(effGetProgramNameIndexed, index, 0, name, 0.0f), 0);
    EXPECT_EQ(name[0], 'x') << "nothing written for " << index;
  }
  char name[32];
  EXPECT_EQ(effect->dispatcher(effGetProgramNameIndexed, 7, 0, name, 0.0f), 1);
  EXPECT_STREQ(name, "Analog Curve");
}

TEST_F(Programs, NoChunks) {
  void* data = nullptr;
  EXPECT_EQ(effect->dispatcher(effGetChunk, 0, 0, &data, 0.0f), 0);
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(effect->dispatcher(effCopyProgram, 1, 0, nullptr, 0.0f), 0);
  EXPECT_EQ(effect->getAeffect()->flags & effFlagsProgramChunks, 0);
}

}  // namespace
