// Host services of the 2.x level: each is one call of the host callback, with
// the answer the service gives when there is no callback.
#include "audio_effect_x.h"

namespace {
bool nonZero(VstIntPtr answer) { return answer != 0; }
}  // namespace

void AudioEffectX::wantEvents(VstInt32 filter) { callHost(audioMasterWantMidi, 0, filter, nullptr, 0.0f); }

VstTimeInfo* AudioEffectX::getTimeInfo(VstInt32 filter) {
  return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter, nullptr, 0.0f));
}

VstInt32 AudioEffectX::tempoAt(VstInt32 pos) { return VstInt32(callHost(audioMasterTempoAt, 0, pos, nullptr, 0.0f)); }

bool AudioEffectX::sendVstEventsToHost(VstEvents* events) {
  return callHost(audioMasterProcessEvents, 0, 0, events, 0.0f) == 1;
}

VstInt32 AudioEffectX::getNumAutomatableParameters() {
  return VstInt32(callHost(audioMasterGetNumAutomatableParameters, 0, 0, nullptr, 0.0f));
}

VstInt32 AudioEffectX::getParameterQuantization() {
  return VstInt32(callHost(audioMasterGetParameterQuantization, 0, 0, nullptr, 0.0f));
}

bool AudioEffectX::ioChanged() { return nonZero(callHost(audioMasterIOChanged, 0, 0, nullptr, 0.0f)); }

bool AudioEffectX::needIdle() { return nonZero(callHost(audioMasterNeedIdle, 0, 0, nullptr, 0.0f)); }

bool AudioEffectX::sizeWindow(VstInt32 width, VstInt32 height) {
  return nonZero(callHost(audioMasterSizeWindow, width, height, nullptr, 0.0f));
}

double AudioEffectX::updateSampleRate() {
  VstIntPtr rate = callHost(audioMasterGetSampleRate, 0, 0, nullptr, 0.0f);
  if (rate > 0) sampleRate = float(rate);
  return sampleRate;
}

VstInt32 AudioEffectX::updateBlockSize() {
  VstIntPtr size = callHost(audioMasterGetBlockSize, 0, 0, nullptr, 0.0f);
  if (size > 0) blockSize = VstInt32(size);
  return blockSize;
}

VstInt32 AudioEffectX::getInputLatency() {
  return VstInt32(callHost(audioMasterGetInputLatency, 0, 0, nullptr, 0.0f));
}

VstInt32 AudioEffectX::getOutputLatency() {
  return VstInt32(callHost(audioMasterGetOutputLatency, 0, 0, nullptr, 0.0f));
}

// The published opcodes take no plug number: the host answers its neighbour.
AEffect* AudioEffectX::getPreviousPlug(VstInt32) {
  return reinterpret_cast<AEffect*>(callHost(audioMasterGetPreviousPlug, 0, 0, nullptr, 0.0f));
}

AEffect* AudioEffectX::getNextPlug(VstInt32) {
  return reinterpret_cast<AEffect*>(callHost(audioMasterGetNextPlug, 0, 0, nullptr, 0.0f));
}

VstInt32 AudioEffectX::willProcessReplacing() {
  return VstInt32(callHost(audioMasterWillReplaceOrAccumulate, 0, 0, nullptr, 0.0f));
}

VstInt32 AudioEffectX::getCurrentProcessLevel() {
  return VstInt32(callHost(audioMasterGetCurrentProcessLevel, 0, 0, nullptr, 0.0f));
}

VstInt32 AudioEffectX::getAutomationState() {
  return VstInt32(callHost(audioMasterGetAutomationState, 0, 0, nullptr, 0.0f));
}

bool AudioEffectX::offlineRead(VstOfflineTask* task, VstInt32 option, bool readSource) {
  return nonZero(callHost(audioMasterOfflineRead, readSource, option, task, 0.0f));
}

bool AudioEffectX::offlineWrite(VstOfflineTask* task, VstInt32 option) {
  return nonZero(callHost(audioMasterOfflineWrite, 0, option, task, 0.0f));
}

bool AudioEffectX::offlineStart(VstAudioFile* files, VstInt32 numFiles, VstInt32 numNewFiles) {
  return nonZero(callHost(audioMasterOfflineStart, numNewFiles, numFiles, files, 0.0f));
}

VstInt32 AudioEffectX::offlineGetCurrentPass() {
  return nonZero(callHost(audioMasterOfflineGetCurrentPass, 0, 0, nullptr, 0.0f)) ? 1 : 0;
}

VstInt32 AudioEffectX::offlineGetCurrentMetaPass() {
  return nonZero(callHost(audioMasterOfflineGetCurrentMetaPass, 0, 0, nullptr, 0.0f)) ? 1 : 0;
}

void AudioEffectX::setOutputSamplerate(float rate) { callHost(audioMasterSetOutputSampleRate, 0, 0, nullptr, rate); }

VstSpeakerArrangement* AudioEffectX::getInputSpeakerArrangement() {
  return reinterpret_cast<VstSpeakerArrangement*>(
      callHost(audioMasterGetInputSpeakerArrangement, 0, 0, nullptr, 0.0f));
}

VstSpeakerArrangement* AudioEffectX::getOutputSpeakerArrangement() {
  return reinterpret_cast<VstSpeakerArrangement*>(callHost(audioMasterGetSpeakerArrangement, 0, 0, nullptr, 0.0f));
}

bool AudioEffectX::getHostVendorString(char* text) {
  return nonZero(callHost(audioMasterGetVendorString, 0, 0, text, 0.0f));
}

bool AudioEffectX::getHostProductString(char* text) {
  return nonZero(callHost(audioMasterGetProductString, 0, 0, text, 0.0f));
}

VstInt32 AudioEffectX::getHostVendorVersion() {
  return VstInt32(callHost(audioMasterGetVendorVersion, 0, 0, nullptr, 0.0f));
}

VstIntPtr AudioEffectX::hostVendorSpecific(VstInt32 arg1, VstIntPtr arg2, void* ptrArg, float floatArg) {
  return callHost(audioMasterVendorSpecific, arg1, arg2, ptrArg, floatArg);
}

// Hosts answer 1 or -1 for what they know: both count as yes.
VstInt32 AudioEffectX::canHostDo(char* text) {
  return nonZero(callHost(audioMasterCanDo, 0, 0, text, 0.0f)) ? 1 : 0;
}

VstInt32 AudioEffectX::getHostLanguage() { return VstInt32(callHost(audioMasterGetLanguage, 0, 0, nullptr, 0.0f)); }

void* AudioEffectX::openWindow(VstWindow* window) {
  return reinterpret_cast<void*>(callHost(audioMasterOpenWindow, 0, 0, window, 0.0f));
}

bool AudioEffectX::closeWindow(VstWindow* window) {
  return nonZero(callHost(audioMasterCloseWindow, 0, 0, window, 0.0f));
}

void* AudioEffectX::getDirectory() {
  return reinterpret_cast<void*>(callHost(audioMasterGetDirectory, 0, 0, nullptr, 0.0f));
}

bool AudioEffectX::updateDisplay() { return nonZero(callHost(audioMasterUpdateDisplay, 0, 0, nullptr, 0.0f)); }

bool AudioEffectX::beginEdit(VstInt32 index) {
  return nonZero(callHost(audioMasterBeginEdit, index, 0, nullptr, 0.0f));
}

bool AudioEffectX::endEdit(VstInt32 index) { return nonZero(callHost(audioMasterEndEdit, index, 0, nullptr, 0.0f)); }

// The three file services ask nothing of the host without a record to fill.
bool AudioEffectX::openFileSelector(VstFileSelect* selector) {
  return selector && nonZero(callHost(audioMasterOpenFileSelector, 0, 0, selector, 0.0f));
}

bool AudioEffectX::closeFileSelector(VstFileSelect* selector) {
  return selector && nonZero(callHost(audioMasterCloseFileSelector, 0, 0, selector, 0.0f));
}

bool AudioEffectX::getChunkFile(void* nativePath) {
  return nativePath && nonZero(callHost(audioMasterGetChunkFile, 0, 0, nativePath, 0.0f));
}
