#include "plugin.h"

#include <cstring>

namespace {

VstIntPtr VSTCALLBACK hostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  switch (opcode) {
    case audioMasterVersion:
      return 2300;
    default:
      return 0;  // every pin connected (0), automation accepted, nothing else offered
  }
}

}  // namespace

bool Plugin::load(const std::string& path, std::string& error) {
  module = LoadLibraryA(path.c_str());
  if (!module) {
    error = "cannot load " + path;
    return false;
  }
  using MainEntry = AEffect*(VSTCALLBACK*)(audioMasterCallback);
  auto entry = reinterpret_cast<MainEntry>(reinterpret_cast<void*>(GetProcAddress(module, "main")));
  if (!entry) {
    error = path + " has no entry named main";
    return false;
  }
  effect = entry(hostCallback);
  if (!effect || effect->magic != kEffectMagic) {
    error = path + " answered no VST effect";
    effect = nullptr;
    return false;
  }
  return true;
}

Plugin::~Plugin() {
  if (effect) dispatch(effClose);
  if (module) FreeLibrary(module);
}

std::string Plugin::text(VstInt32 opcode, VstInt32 index, VstIntPtr value) {
  char buffer[256];
  std::memset(buffer, 0, sizeof buffer);
  dispatch(opcode, index, value, buffer);
  buffer[sizeof buffer - 1] = 0;
  return buffer;
}
