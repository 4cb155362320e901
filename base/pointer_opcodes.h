// The dispatcher opcodes whose ptr is text or a record that the effect reads or
// writes: a null ptr there answers 0 without a call. One list for both
// dispatchers, so that an opcode cannot be guarded in one and missed in the other.
#pragma once

#include "aeffect.h"

inline bool needsPointer(VstInt32 opcode) {
  switch (opcode) {
    case effSetProgramName:
    case effGetProgramName:
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
    case effEditGetRect:
    case effProcessEvents:
    case effString2Parameter:
    case effGetProgramNameIndexed:
    case effGetEffectName:
    case effGetErrorText:
    case effGetVendorString:
    case effGetProductString:
    case effCanDo:
    case effShellGetNextPlugin:
      return true;
    default:
      return false;
  }
}
