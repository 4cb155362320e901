#include "program.h"

#include <cstring>

#include "../parameters.h"

namespace {

struct BuiltInProgram {
  const char* name;
  float q[kBands];
  float gain[kBands];
};

// Programs 1 to 7. Q 0 is wide, 0.1 medium, 0.2 narrow.
const BuiltInProgram kBuiltIn[kNumPrograms - 1] = {
    {"Ease of Mind",
     {0.2f, 0.0f, 0.0f, 0.0f, 0.1f, 0.2f, 0.0f},
     {0.600127f, 0.43038f, 0.467089f, 0.721519f, 0.582278f, 0.392405f, 0.582278f}},
    {"Q Factor",
     {0.2f, 0.0f, 0.2f, 0.2f, 0.1f, 0.1f, 0.1f},
     {0.43038f, 0.405063f, 0.759494f, 0.879747f, 0.601266f, 0.550633f, 0.689873f}},
    {"Low Pass",
     {0.0f, 0.2f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
     {0.411392f, 0.607595f, 0.183544f, 0.0f, 0.031646f, 0.006329f, 0.0f}},
    {"Overall Boost",
     {0.0f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f},
     {0.683544f, 0.335443f, 0.683544f, 0.613924f, 0.683544f, 0.601266f, 0.5f}},
    {"Basic Brilliance",
     {0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f},
     {0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.702532f, 0.82532f}},
    {"Smarter With No Drugs",
     {0.2f, 0.0f, 0.0f, 0.1f, 0.0f, 0.2f, 0.0f},
     {0.235443f, 0.65f, 0.367089f, 0.746835f, 0.462025f, 0.177215f, 0.424051f}},
    {"Analog Curve",
     {0.0f, 0.1f, 0.2f, 0.2f, 0.0f, 0.0f, 0.2f},
     {0.457468f, 0.601266f, 0.664557f, 0.860759f, 0.759494f, 0.316456f, 0.462025f}},
};

}  // namespace

PROGRAM::PROGRAM() {
  std::memset(name, 0, sizeof name);
  std::strcpy(name, "Clean");
  for (int band = 0; band < kBands; band++) {
    q[band] = 0.1f;
    gain[band] = 0.5f;
    cc[band] = kUnboundValue;
  }
}

void writeBuiltInPrograms(PROGRAM programs[kNumPrograms]) {
  for (int index = 1; index < kNumPrograms; index++) {
    const BuiltInProgram& source = kBuiltIn[index - 1];
    PROGRAM& target = programs[index];
    std::memset(target.name, 0, sizeof target.name);
    std::strncpy(target.name, source.name, kProgramNameChars);
    std::memcpy(target.q, source.q, sizeof target.q);
    std::memcpy(target.gain, source.gain, sizeof target.gain);
  }
}
