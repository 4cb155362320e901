// The services through which an effect calls its host, the flag and field
// setters, and the speaker-arrangement helpers.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "probe_effect.h"
#include "test_host.h"

namespace {

void* const kPtr = reinterpret_cast<void*>(0x1234);  // passed through, never read
template <class T>
T* as() {
  return static_cast<T*>(kPtr);
}

struct ServiceCase {
  const char* name;
  std::function<VstIntPtr(ProbeEffect&)> call;
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  void* ptr;
  float opt;
  VstIntPtr hostAnswer;
  VstIntPtr withHost;  // the service's answer to hostAnswer
  VstIntPtr noHost;    // its answer without a callback
};

VstIntPtr ptrOf(const void* pointer) { return reinterpret_cast<VstIntPtr>(pointer); }

const ServiceCase kServices[] = {
    {"getMasterVersion", [](ProbeEffect& e) { return e.getMasterVersion(); }, audioMasterVersion, 0, 0, nullptr, 0,
     2300, 2300, 1},
    {"getMasterVersion of 0", [](ProbeEffect& e) { return e.getMasterVersion(); }, audioMasterVersion, 0, 0, nullptr,
     0, 0, 1, 1},
    {"getCurrentUniqueId", [](ProbeEffect& e) { return e.getCurrentUniqueId(); }, audioMasterCurrentId, 0, 0,
     nullptr, 0, 77, 77, 0},
    {"masterIdle", [](ProbeEffect& e) { return e.masterIdle(), VstIntPtr(0); }, audioMasterIdle, 0, 0, nullptr, 0, 5,
     0, 0},
    {"isInputConnected, connected", [](ProbeEffect& e) { return VstIntPtr(e.isInputConnected(1)); },
     audioMasterPinConnected, 1, 0, nullptr, 0, 0, 1, 1},
    {"isInputConnected, open", [](ProbeEffect& e) { return VstIntPtr(e.isInputConnected(1)); },
     audioMasterPinConnected, 1, 0, nullptr, 0, 1, 0, 1},
    {"isOutputConnected", [](ProbeEffect& e) { return VstIntPtr(e.isOutputConnected(3)); }, audioMasterPinConnected,
     3, 1, nullptr, 0, 0, 1, 1},
    {"wantEvents", [](ProbeEffect& e) { return e.wantEvents(1), VstIntPtr(0); }, audioMasterWantMidi, 0, 1, nullptr, 0,
     1, 0, 0},
    {"getTimeInfo", [](ProbeEffect& e) { return ptrOf(e.getTimeInfo(0x200)); }, audioMasterGetTime, 0, 0x200, nullptr,
     0, 0x5678, 0x5678, 0},
    {"tempoAt", [](ProbeEffect& e) { return VstIntPtr(e.tempoAt(44)); }, audioMasterTempoAt, 0, 44, nullptr, 0,
     120000, 120000, 0},
    {"sendVstEventsToHost, 1", [](ProbeEffect& e) { return VstIntPtr(e.sendVstEventsToHost(as<VstEvents>())); },
     audioMasterProcessEvents, 0, 0, kPtr, 0, 1, 1, 0},
    {"sendVstEventsToHost, 2", [](ProbeEffect& e) { return VstIntPtr(e.sendVstEventsToHost(as<VstEvents>())); },
     audioMasterProcessEvents, 0, 0, kPtr, 0, 2, 0, 0},
    {"getNumAutomatableParameters", [](ProbeEffect& e) { return VstIntPtr(e.getNumAutomatableParameters()); },
     audioMasterGetNumAutomatableParameters, 0, 0, nullptr, 0, 9, 9, 0},
    {"getParameterQuantization", [](ProbeEffect& e) { return VstIntPtr(e.getParameterQuantization()); },
     audioMasterGetParameterQuantization, 0, 0, nullptr, 0, 3, 3, 0},
    {"ioChanged", [](ProbeEffect& e) { return VstIntPtr(e.ioChanged()); }, audioMasterIOChanged, 0, 0, nullptr, 0, 7,
     1, 0},
    {"needIdle", [](ProbeEffect& e) { return VstIntPtr(e.needIdle()); }, audioMasterNeedIdle, 0, 0, nullptr, 0, 0, 0,
     0},
    {"sizeWindow", [](ProbeEffect& e) { return VstIntPtr(e.sizeWindow(600, 155)); }, audioMasterSizeWindow, 600, 155,
     nullptr, 0, 1, 1, 0},
    {"getInputLatency", [](ProbeEffect& e) { return VstIntPtr(e.getInputLatency()); }, audioMasterGetInputLatency, 0,
     0, nullptr, 0, 64, 64, 0},
    {"getOutputLatency", [](ProbeEffect& e) { return VstIntPtr(e.getOutputLatency()); }, audioMasterGetOutputLatency,
     0, 0, nullptr, 0, 32, 32, 0},
    {"getPreviousPlug", [](ProbeEffect& e) { return ptrOf(e.getPreviousPlug(3)); }, audioMasterGetPreviousPlug, 0, 0,
     nullptr, 0, 0x4444, 0x4444, 0},
    {"getNextPlug", [](ProbeEffect& e) { return ptrOf(e.getNextPlug(3)); }, audioMasterGetNextPlug, 0, 0, nullptr, 0,
     0x4448, 0x4448, 0},
    {"willProcessReplacing", [](ProbeEffect& e) { return VstIntPtr(e.willProcessReplacing()); },
     audioMasterWillReplaceOrAccumulate, 0, 0, nullptr, 0, 1, 1, 0},
    {"getCurrentProcessLevel", [](ProbeEffect& e) { return VstIntPtr(e.getCurrentProcessLevel()); },
     audioMasterGetCurrentProcessLevel, 0, 0, nullptr, 0, 2, 2, 0},
    {"getAutomationState", [](ProbeEffect& e) { return VstIntPtr(e.getAutomationState()); },
     audioMasterGetAutomationState, 0, 0, nullptr, 0, 4, 4, 0},
    {"offlineStart", [](ProbeEffect& e) { return VstIntPtr(e.offlineStart(as<VstAudioFile>(), 3, 2)); },
     audioMasterOfflineStart, 2, 3, kPtr, 0, 1, 1, 0},
    {"offlineRead", [](ProbeEffect& e) { return VstIntPtr(e.offlineRead(as<VstOfflineTask>(), 5, true)); },
     audioMasterOfflineRead, 1, 5, kPtr, 0, 9, 1, 0},
    {"offlineWrite", [](ProbeEffect& e) { return VstIntPtr(e.offlineWrite(as<VstOfflineTask>(), 6)); },
     audioMasterOfflineWrite, 0, 6, kPtr, 0, 0, 0, 0},
    {"offlineGetCurrentPass", [](ProbeEffect& e) { return VstIntPtr(e.offlineGetCurrentPass()); },
     audioMasterOfflineGetCurrentPass, 0, 0, nullptr, 0, 5, 1, 0},
    {"offlineGetCurrentMetaPass", [](ProbeEffect& e) { return VstIntPtr(e.offlineGetCurrentMetaPass()); },
     audioMasterOfflineGetCurrentMetaPass, 0, 0, nullptr, 0, -3, 1, 0},
    {"setOutputSamplerate", [](ProbeEffect& e) { return e.setOutputSamplerate(48000.0f), VstIntPtr(0); },
     audioMasterSetOutputSampleRate, 0, 0, nullptr, 48000.0f, 1, 0, 0},
    {"getOutputSpeakerArrangement", [](ProbeEffect& e) { return ptrOf(e.getOutputSpeakerArrangement()); },
     audioMasterGetSpeakerArrangement, 0, 0, nullptr, 0, 0x88, 0x88, 0},
    {"getInputSpeakerArrangement", [](ProbeEffect& e) { return ptrOf(e.getInputSpeakerArrangement()); },
     audioMasterGetInputSpeakerArrangement, 0, 0, nullptr, 0, 0x99, 0x99, 0},
    {"getHostVendorString", [](ProbeEffect& e) { return VstIntPtr(e.getHostVendorString(static_cast<char*>(kPtr))); },
     audioMasterGetVendorString, 0, 0, kPtr, 0, 1, 1, 0},
    {"getHostProductString",
     [](ProbeEffect& e) { return VstIntPtr(e.getHostProductString(static_cast<char*>(kPtr))); },
     audioMasterGetProductString, 0, 0, kPtr, 0, 0, 0, 0},
    {"getHostVendorVersion", [](ProbeEffect& e) { return VstIntPtr(e.getHostVendorVersion()); },
     audioMasterGetVendorVersion, 0, 0, nullptr, 0, 1100, 1100, 0},
    {"hostVendorSpecific", [](ProbeEffect& e) { return e.hostVendorSpecific(11, 22, kPtr, 0.5f); },
     audioMasterVendorSpecific, 11, 22, kPtr, 0.5f, 33, 33, 0},
    {"canHostDo, -1", [](ProbeEffect& e) { return VstIntPtr(e.canHostDo(static_cast<char*>(kPtr))); },
     audioMasterCanDo, 0, 0, kPtr, 0, -1, 1, 0},
    {"canHostDo, 0", [](ProbeEffect& e) { return VstIntPtr(e.canHostDo(static_cast<char*>(kPtr))); },
     audioMasterCanDo, 0, 0, kPtr, 0, 0, 0, 0},
    {"getHostLanguage", [](ProbeEffect& e) { return VstIntPtr(e.getHostLanguage()); }, audioMasterGetLanguage, 0, 0,
     nullptr, 0, 2, 2, 0},
    {"openWindow", [](ProbeEffect& e) { return ptrOf(e.openWindow(as<VstWindow>())); }, audioMasterOpenWindow, 0, 0,
     kPtr, 0, 0x77, 0x77, 0},
    {"closeWindow", [](ProbeEffect& e) { return VstIntPtr(e.closeWindow(as<VstWindow>())); }, audioMasterCloseWindow,
     0, 0, kPtr, 0, 1, 1, 0},
    {"getDirectory", [](ProbeEffect& e) { return ptrOf(e.getDirectory()); }, audioMasterGetDirectory, 0, 0, nullptr,
     0, 0x66, 0x66, 0},
    {"updateDisplay", [](ProbeEffect& e) { return VstIntPtr(e.updateDisplay()); }, audioMasterUpdateDisplay, 0, 0,
     nullptr, 0, 1, 1, 0},
    {"beginEdit", [](ProbeEffect& e) { return VstIntPtr(e.beginEdit(4)); }, audioMasterBeginEdit, 4, 0, nullptr, 0, 1,
     1, 0},
    {"endEdit", [](ProbeEffect& e) { return VstIntPtr(e.endEdit(4)); }, audioMasterEndEdit, 4, 0, nullptr, 0, 0, 0,
     0},
    {"openFileSelector", [](ProbeEffect& e) { return VstIntPtr(e.openFileSelector(as<VstFileSelect>())); },
     audioMasterOpenFileSelector, 0, 0, kPtr, 0, 1, 1, 0},
    {"closeFileSelector", [](ProbeEffect& e) { return VstIntPtr(e.closeFileSelector(as<VstFileSelect>())); },
     audioMasterCloseFileSelector, 0, 0, kPtr, 0, 1, 1, 0},
    {"getChunkFile", [](ProbeEffect& e) { return VstIntPtr(e.getChunkFile(kPtr)); }, audioMasterGetChunkFile, 0, 0,
     kPtr, 0, 1, 1, 0},
};

TEST(HostServices, EveryServiceWithAndWithoutHost) {
  for (const ServiceCase& c : kServices) {
    SCOPED_TRACE(c.name);
    RecordingHost host;
    host.answer(c.opcode, c.hostAnswer);
    ProbeEffect effect(RecordingHost::callback());
    EXPECT_EQ(c.call(effect), c.withHost);
    auto calls = host.calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].opcode, c.opcode);
    EXPECT_EQ(calls[0].index, c.index);
    EXPECT_EQ(calls[0].value, c.value);
    EXPECT_EQ(calls[0].ptr, c.ptr);
    EXPECT_EQ(calls[0].opt, c.opt);

    ProbeEffect alone(nullptr);
    EXPECT_EQ(c.call(alone), c.noHost);
  }
}

TEST(HostServices, FileServicesWithoutARecordAskNothing) {
  RecordingHost host;
  host.answer(audioMasterOpenFileSelector, 1);
  ProbeEffect effect(RecordingHost::callback());
  EXPECT_FALSE(effect.openFileSelector(nullptr));
  EXPECT_FALSE(effect.closeFileSelector(nullptr));
  EXPECT_FALSE(effect.getChunkFile(nullptr));
  EXPECT_TRUE(host.calls().empty());
}

TEST(HostServices, SampleRateAndBlockSizeFromTheHost) {
  RecordingHost host;
  ProbeEffect effect(RecordingHost::callback());
  host.answer(audioMasterGetSampleRate, 0);
  EXPECT_EQ(effect.updateSampleRate(), 44100.0);
  host.answer(audioMasterGetSampleRate, 48000);
  EXPECT_EQ(effect.updateSampleRate(), 48000.0);
  EXPECT_EQ(effect.getSampleRate(), 48000.0f);
  host.answer(audioMasterGetSampleRate, -5);
  EXPECT_EQ(effect.updateSampleRate(), 48000.0);
  host.answer(audioMasterGetBlockSize, 0);
  EXPECT_EQ(effect.updateBlockSize(), 1024);
  host.answer(audioMasterGetBlockSize, 256);
  EXPECT_EQ(effect.updateBlockSize(), 256);
  EXPECT_EQ(effect.getBlockSize(), 256);

  ProbeEffect alone(nullptr);
  alone.setBlockSizeAndSampleRate(64, 96000.0f);
  EXPECT_EQ(alone.updateSampleRate(), 96000.0);
  EXPECT_EQ(alone.updateBlockSize(), 64);
}

TEST(HostServices, FlagSetters) {
  struct Case {
    const char* name;
    std::function<void(ProbeEffect&, bool)> set;
    VstInt32 bit;
  };
  const Case cases[] = {
      {"hasClip", [](ProbeEffect& e, bool s) { e.hasClip(s); }, 2},
      {"hasVu", [](ProbeEffect& e, bool s) { e.hasVu(s); }, 4},
      {"canMono", [](ProbeEffect& e, bool s) { e.canMono(s); }, 8},
      {"canProcessReplacing", [](ProbeEffect& e, bool s) { e.canProcessReplacing(s); }, 16},
      {"programsAreChunks", [](ProbeEffect& e, bool s) { e.programsAreChunks(s); }, 32},
      {"isSynth", [](ProbeEffect& e, bool s) { e.isSynth(s); }, 256},
      {"noTail", [](ProbeEffect& e, bool s) { e.noTail(s); }, 512},
      {"wantAsyncOperation", [](ProbeEffect& e, bool s) { e.wantAsyncOperation(s); }, 1024},
      {"hasExternalBuffer", [](ProbeEffect& e, bool s) { e.hasExternalBuffer(s); }, 2048},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingHost host;
    ProbeEffect effect(RecordingHost::callback());
    effect.record().flags = 0x0F0F0 & ~c.bit;  // other bits set, to see they survive
    VstInt32 others = effect.record().flags;
    c.set(effect, true);
    EXPECT_EQ(effect.record().flags, others | c.bit);
    c.set(effect, false);
    EXPECT_EQ(effect.record().flags, others);
    EXPECT_TRUE(host.calls().empty());
  }
  ProbeEffect defaults(nullptr);
  defaults.hasVu();
  EXPECT_EQ(defaults.record().flags, 4) << "the argument defaults to true";
}

TEST(HostServices, FieldSetters) {
  RecordingHost host;
  ProbeEffect effect(RecordingHost::callback());
  effect.setUniqueID(0x11223344);
  effect.setNumInputs(6);
  effect.setNumOutputs(5);
  effect.setRealtimeQualities(3);
  effect.setOfflineQualities(4);
  effect.setInitialDelay(128);
  effect.setSampleRate(22050.0f);
  effect.setBlockSize(32);
  const AEffect& record = effect.record();
  EXPECT_EQ(record.uniqueID, 0x11223344);
  EXPECT_EQ(record.numInputs, 6);
  EXPECT_EQ(record.numOutputs, 5);
  EXPECT_EQ(record.realQualities, 3);
  EXPECT_EQ(record.offQualities, 4);
  EXPECT_EQ(record.initialDelay, 128);
  EXPECT_EQ(effect.getSampleRate(), 22050.0f);
  EXPECT_EQ(effect.getBlockSize(), 32);
  EXPECT_EQ(effect.getEditor(), nullptr);
  EXPECT_TRUE(host.calls().empty());
}

VstSpeakerProperties speaker(const char* name, float azimuth, VstInt32 type) {
  VstSpeakerProperties properties{};
  std::strcpy(properties.name, name);
  properties.azimuth = azimuth;
  properties.elevation = 0.25f;
  properties.radius = 2.0f;
  properties.reserved = 7.0f;
  properties.type = type;
  std::memset(properties.future, 0x5A, sizeof properties.future);
  return properties;
}

TEST(SpeakerArrangements, AllocateFillsAndReplaces) {
  ProbeEffect effect(nullptr);
  VstSpeakerArrangement* arrangement = nullptr;
  ASSERT_TRUE(effect.allocateArrangement(&arrangement, 2));
  ASSERT_NE(arrangement, nullptr);
  EXPECT_EQ(arrangement->numChannels, 2);
  EXPECT_EQ(arrangement->type, 0);
  EXPECT_EQ(arrangement->speakers[1].azimuth, 0.0f);
  arrangement->speakers[0] = speaker("L", -1.0f, 1);
  ASSERT_TRUE(effect.allocateArrangement(&arrangement, 12));  // frees the first record
  EXPECT_EQ(arrangement->numChannels, 12);
  EXPECT_EQ(arrangement->speakers[0].name[0], 0) << "a fresh, zeroed record";
  EXPECT_TRUE(effect.deallocateArrangement(&arrangement));
  EXPECT_EQ(arrangement, nullptr);
  EXPECT_TRUE(effect.deallocateArrangement(&arrangement)) << "nothing to free is fine";
  EXPECT_FALSE(effect.allocateArrangement(nullptr, 2));
}

TEST(SpeakerArrangements, CopyAndMatch) {
  ProbeEffect effect(nullptr);
  VstSpeakerProperties from = speaker("Centre", 0.5f, 3);
  VstSpeakerProperties to{};
  EXPECT_FALSE(effect.copySpeaker(nullptr, &from));
  EXPECT_FALSE(effect.copySpeaker(&to, nullptr));
  ASSERT_TRUE(effect.copySpeaker(&to, &from));
  EXPECT_EQ(std::memcmp(&to, &from, sizeof to), 0);

  VstSpeakerArrangement* source = nullptr;
  ASSERT_TRUE(effect.allocateArrangement(&source, 3));
  source->type = 5;
  for (int channel = 0; channel < 3; channel++) source->speakers[channel] = speaker("S", float(channel), channel);
  VstSpeakerArrangement* target = nullptr;
  ASSERT_TRUE(effect.allocateArrangement(&target, 1));
  VstSpeakerArrangement* before = target;
  EXPECT_FALSE(effect.matchArrangement(&target, nullptr));
  EXPECT_EQ(target, before) << "a null source leaves the target untouched";
  ASSERT_TRUE(effect.matchArrangement(&target, source));
  EXPECT_EQ(target->type, 5);
  EXPECT_EQ(target->numChannels, 3);
  for (int channel = 0; channel < 3; channel++)
    EXPECT_EQ(std::memcmp(&target->speakers[channel], &source->speakers[channel], sizeof(VstSpeakerProperties)), 0);
  effect.deallocateArrangement(&source);
  effect.deallocateArrangement(&target);
}

}  // namespace
