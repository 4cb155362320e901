// A recording VST host for tests: loads R4-M.dll as a sequencer does, answers
// the plug-in's callback with configurable values and records every call.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <mutex>
#include <vector>

#include "aeffect.h"

struct HostCall {
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  void* ptr;
  float opt;
};

class RecordingHost {
 public:
  RecordingHost();
  ~RecordingHost();

  // The callback to hand to the plug-in; it reaches whichever host was made last.
  static audioMasterCallback callback();

  // Answers by opcode; audioMasterVersion answers 2300 unless set otherwise.
  void answer(VstInt32 opcode, VstIntPtr value) { answers[opcode] = value; }
  // A hook that runs on every call, for answers that depend on the arguments.
  std::function<VstIntPtr(const HostCall&)> respond;

  std::vector<HostCall> calls() const;
  std::vector<HostCall> callsOf(VstInt32 opcode) const;
  void clearCalls();

 private:
  static VstIntPtr VSTCALLBACK dispatch(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                        float opt);
  std::map<VstInt32, VstIntPtr> answers;
  mutable std::mutex mutex;
  std::vector<HostCall> log;
};

// The plug-in library, loaded from the test program's folder.
class PluginLibrary {
 public:
  PluginLibrary();
  ~PluginLibrary();
  using MainEntry = AEffect*(VSTCALLBACK*)(audioMasterCallback);
  MainEntry main = nullptr;
  HMODULE module = nullptr;
};

// Shorthands for driving a record.
VstIntPtr dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                   float opt = 0.0f);
void closeEffect(AEffect* effect);
