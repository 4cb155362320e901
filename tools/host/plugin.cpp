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

std::string Plugin::machine() const {
  const auto* base = reinterpret_cast<const BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* pe = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  switch (pe->FileHeader.Machine) {
    case IMAGE_FILE_MACHINE_I386: return "i386";
    case IMAGE_FILE_MACHINE_AMD64: return "x86-64";
    default: return "unknown";
  }
}

std::string Plugin::text(VstInt32 opcode, VstInt32 index, VstIntPtr value) {
  char buffer[256];
  std::memset(buffer, 0, sizeof buffer);
  dispatch(opcode, index, value, buffer);
  buffer[sizeof buffer - 1] = 0;
  return buffer;
}
