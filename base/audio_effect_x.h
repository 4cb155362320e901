// The 2.x extension of the effect base class: opcodes 25 to 76, the 2.x host
// services and the speaker-arrangement helpers, appended to AudioEffect's slots
// in their published order. Adds no data members.
#pragma once

#include "audio_effect.h"

// Host-side records this frame passes through without looking inside.
struct VstTimeInfo;
struct VstPinProperties;
struct VstOfflineTask;
struct VstAudioFile;
struct VstWindow;
struct VstVariableIo;
struct VstParameterProperties;
struct MidiProgramName;
struct MidiProgramCategory;
struct MidiKeyName;
struct VstFileSelect;
struct VstPatchChunkInfo;

constexpr VstInt32 kVstVersion = 2300;

class AudioEffectX : public AudioEffect {
 public:
  using AudioEffect::AudioEffect;

  VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) override;

  virtual AEffEditor* getEditor() { return editor; }
  virtual void wantEvents(VstInt32 filter = 1);
  virtual VstTimeInfo* getTimeInfo(VstInt32 filter);
  virtual VstInt32 tempoAt(VstInt32 pos);
  virtual VstInt32 processEvents(VstEvents*) { return 0; }
  virtual VstInt32 getNumAutomatableParameters();
  virtual VstInt32 getParameterQuantization();
  virtual bool canParameterBeAutomated(VstInt32) { return true; }
  virtual bool string2parameter(VstInt32, char*) { return false; }
  virtual float getChannelParameter(VstInt32, VstInt32) { return 0.0f; }
  virtual VstInt32 getNumCategories() { return 1; }
  virtual bool getProgramNameIndexed(VstInt32, VstInt32, char*) { return false; }
  virtual bool copyProgram(VstInt32) { return false; }
  virtual bool ioChanged();
  virtual bool needIdle();
  virtual bool sizeWindow(VstInt32 width, VstInt32 height);
  virtual double updateSampleRate();
  virtual VstInt32 updateBlockSize();
  virtual VstInt32 getInputLatency();
  virtual VstInt32 getOutputLatency();
  virtual AEffect* getPreviousPlug(VstInt32 input);
  virtual AEffect* getNextPlug(VstInt32 output);
  virtual void inputConnected(VstInt32, bool) {}
  virtual void outputConnected(VstInt32, bool) {}
  virtual bool getInputProperties(VstInt32, VstPinProperties*) { return false; }
  virtual bool getOutputProperties(VstInt32, VstPinProperties*) { return false; }
  virtual VstInt32 getPlugCategory() { return 0; }
  virtual VstInt32 willProcessReplacing();
  virtual VstInt32 getCurrentProcessLevel();
  virtual VstInt32 getAutomationState();
  virtual void wantAsyncOperation(bool state = true) { setFlag(effFlagsExtIsAsync, state); }
  virtual void hasExternalBuffer(bool state = true) { setFlag(effFlagsExtHasBuffer, state); }
  virtual VstInt32 reportCurrentPosition() { return 0; }
  virtual float* reportDestinationBuffer() { return nullptr; }
  virtual bool offlineRead(VstOfflineTask* task, VstInt32 option, bool readSource = true);
  virtual bool offlineWrite(VstOfflineTask* task, VstInt32 option);
  virtual bool offlineStart(VstAudioFile* files, VstInt32 numFiles, VstInt32 numNewFiles);
  virtual VstInt32 offlineGetCurrentPass();
  virtual VstInt32 offlineGetCurrentMetaPass();
  virtual bool offlineNotify(VstAudioFile*, VstInt32, bool) { return false; }
  virtual bool offlinePrepare(VstOfflineTask*, VstInt32) { return false; }
  virtual bool offlineRun(VstOfflineTask*, VstInt32) { return false; }
  virtual VstInt32 offlineGetNumPasses() { return 0; }
  virtual VstInt32 offlineGetNumMetaPasses() { return 0; }
  virtual void setOutputSamplerate(float rate);
  virtual VstSpeakerArrangement* getInputSpeakerArrangement();
  virtual VstSpeakerArrangement* getOutputSpeakerArrangement();
  virtual bool getHostVendorString(char* text);
  virtual bool getHostProductString(char* text);
  virtual VstInt32 getHostVendorVersion();
  virtual VstIntPtr hostVendorSpecific(VstInt32 arg1, VstIntPtr arg2, void* ptrArg, float floatArg);
  virtual VstInt32 canHostDo(char* text);
  virtual void isSynth(bool state = true) { setFlag(effFlagsIsSynth, state); }
  virtual void noTail(bool state = true) { setFlag(effFlagsNoSoundInStop, state); }
  virtual VstInt32 getHostLanguage();
  virtual void* openWindow(VstWindow* window);
  virtual bool closeWindow(VstWindow* window);
  virtual void* getDirectory();
  virtual bool updateDisplay();
  virtual bool processVariableIo(VstVariableIo*) { return false; }
  virtual bool setSpeakerArrangement(VstSpeakerArrangement*, VstSpeakerArrangement*) { return false; }
  virtual bool getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output);
  virtual void setBlockSizeAndSampleRate(VstInt32 size, float rate) {
    blockSize = size;
    sampleRate = rate;
  }
  virtual bool setBypass(bool) { return false; }
  virtual bool getEffectName(char*) { return false; }
  virtual bool getErrorText(char*) { return false; }
  virtual bool getVendorString(char*) { return false; }
  virtual bool getProductString(char*) { return false; }
  virtual VstInt32 getVendorVersion() { return 0; }
  virtual VstIntPtr vendorSpecific(VstInt32, VstIntPtr, void*, float) { return 0; }
  virtual VstInt32 canDo(char*) { return 0; }
  virtual void* getIcon() { return nullptr; }
  virtual bool setViewPosition(VstInt32, VstInt32) { return false; }
  virtual VstInt32 getGetTailSize() { return 0; }
  virtual VstInt32 fxIdle() { return 0; }
  virtual bool getParameterProperties(VstInt32, VstParameterProperties*) { return false; }
  virtual bool keysRequired() { return false; }
  virtual VstInt32 getVstVersion() { return kVstVersion; }
  virtual VstInt32 getMidiProgramName(VstInt32, MidiProgramName*) { return 0; }
  virtual VstInt32 getCurrentMidiProgram(VstInt32, MidiProgramName*) { return -1; }
  virtual VstInt32 getMidiProgramCategory(VstInt32, MidiProgramCategory*) { return 0; }
  virtual bool hasMidiProgramsChanged(VstInt32) { return false; }
  virtual bool getMidiKeyName(VstInt32, MidiKeyName*) { return false; }
  virtual bool beginSetProgram() { return false; }
  virtual bool endSetProgram() { return false; }
  virtual bool beginEdit(VstInt32 index);
  virtual bool endEdit(VstInt32 index);
  virtual bool openFileSelector(VstFileSelect* selector);
  // Pointer-sized, as the dispatcher's value: a 64-bit host's count is not cut to 32 bits.
  virtual VstIntPtr setTotalSampleToProcess(VstIntPtr value) { return value; }
  virtual VstInt32 getNextShellPlugin(char*) { return 0; }
  virtual VstInt32 startProcess() { return 0; }
  virtual VstInt32 stopProcess() { return 0; }
  virtual bool setPanLaw(VstInt32, float) { return false; }
  virtual VstInt32 beginLoadBank(VstPatchChunkInfo*) { return 0; }
  virtual VstInt32 beginLoadProgram(VstPatchChunkInfo*) { return 0; }
  virtual bool allocateArrangement(VstSpeakerArrangement** arrangement, VstInt32 channels);
  virtual bool deallocateArrangement(VstSpeakerArrangement** arrangement);
  virtual bool copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from);
  virtual bool matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from);

  bool sendVstEventsToHost(VstEvents* events);
  bool closeFileSelector(VstFileSelect* selector);
  bool getChunkFile(void* nativePath);
};
