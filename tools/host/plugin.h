// The plug-in as our command-line host holds it: the library and one instance.
#pragma once

#include <windows.h>

#include <string>

#include "aeffect.h"

class Plugin {
 public:
  // Loads the library and calls its main; `error` says what failed.
  bool load(const std::string& path, std::string& error);
  ~Plugin();

  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  }
  std::string text(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0);
  // The machine the loaded library was built for, from its PE header in memory
  // ("i386" or "x86-64"), as proof of what really runs.
  std::string machine() const;
  AEffect* effect = nullptr;

 private:
  HMODULE module = nullptr;
};
