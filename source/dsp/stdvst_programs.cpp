// Program selection and names. Programs are live: every parameter change is
// written into the current one.
#include <cstring>

#include "stdvst.h"

void stdvst::initPrograms() { writeBuiltInPrograms(programs); }

void stdvst::applyGains(const PROGRAM& program) {
  for (int band = 0; band < kBands; band++) setParameter(kFirstGainParam + band, program.gain[band]);
}

void stdvst::applyQs(const PROGRAM& program) {
  for (int band = 0; band < kBands; band++) setParameter(kFirstQParam + band, program.q[band]);
}

// The controller bindings are deliberately not applied: they belong to the
// session, not to the program.
void stdvst::setProgram(VstInt32 program) {
  currentProgram = program;
  PROGRAM values = programs[program];  // the calls below write into the same record
  applyGains(values);
  applyQs(values);
  applyGains(values);
}

void stdvst::setProgramName(char* name) {
  char* target = current().name;
  std::strncpy(target, name, kProgramNameChars);
  target[kProgramNameChars] = 0;
}

void stdvst::getProgramName(char* name) { std::strcpy(name, current().name); }

bool stdvst::getProgramNameIndexed(VstInt32, VstInt32 index, char* text) {
  if (index < 0 || index >= kNumPrograms) return false;
  std::strcpy(text, programs[index].name);
  return true;
}
