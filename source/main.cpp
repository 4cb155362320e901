// The library entry: DllMain keeps the module handle, and the exported entry
// (named "main" by the module definition file) builds one effect per call.
#include <new>

#include "dsp/stdvst.h"
#include "module_instance.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID) {
  moduleInstance = instance;
  return TRUE;
}

extern "C" AEffect* VSTCALLBACK pluginMain(audioMasterCallback hostCallback) {
  if (!hostCallback || !hostCallback(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f)) return nullptr;
  stdvst* effect = new (std::nothrow) stdvst(hostCallback);
  if (!effect) return nullptr;
  if (!effect->ready()) {
    delete effect;
    return nullptr;
  }
  return effect->getAeffect();
}
