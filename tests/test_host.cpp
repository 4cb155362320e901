#include "test_host.h"

namespace {
RecordingHost* currentHost = nullptr;
}

RecordingHost::RecordingHost() {
  answers[audioMasterVersion] = 2300;
  currentHost = this;
}

RecordingHost::~RecordingHost() {
  if (currentHost == this) currentHost = nullptr;
}

audioMasterCallback RecordingHost::callback() { return &RecordingHost::dispatch; }

VstIntPtr VSTCALLBACK RecordingHost::dispatch(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                              float opt) {
  RecordingHost* host = currentHost;
  if (!host) return 0;
  HostCall call{opcode, index, value, ptr, opt};
  {
    std::lock_guard<std::mutex> lock(host->mutex);
    host->log.push_back(call);
  }
  if (host->respond) return host->respond(call);
  auto found = host->answers.find(opcode);
  return found == host->answers.end() ? 0 : found->second;
}

std::vector<HostCall> RecordingHost::calls() const {
  std::lock_guard<std::mutex> lock(mutex);
  return log;
}

std::vector<HostCall> RecordingHost::callsOf(VstInt32 opcode) const {
  std::vector<HostCall> matching;
  for (const HostCall& call : calls())
    if (call.opcode == opcode) matching.push_back(call);
  return matching;
}

void RecordingHost::clearCalls() {
  std::lock_guard<std::mutex> lock(mutex);
  log.clear();
}

PluginLibrary::PluginLibrary() {
  module = LoadLibraryA("R4-M.dll");
  // FARPROC has no arguments: go through void* to the real signature.
  if (module) main = reinterpret_cast<MainEntry>(reinterpret_cast<void*>(GetProcAddress(module, "main")));
}

PluginLibrary::~PluginLibrary() {
  if (module) FreeLibrary(module);
}

VstIntPtr dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

void closeEffect(AEffect* effect) { dispatch(effect, effClose); }
