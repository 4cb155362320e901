// Effect base class: owns the AEffect record the host sees, turns the record's
// five entries into virtual calls, and answers opcodes 0 to 24 with defaults.
// The virtual operations are declared in their published slot order.
#pragma once

#include "aeffect.h"

class AEffEditor;

class AudioEffect {
 public:
  AudioEffect(audioMasterCallback hostCallback, VstInt32 numPrograms, VstInt32 numParams);
  virtual ~AudioEffect();

  virtual void setParameter(VstInt32, float) {}
  virtual float getParameter(VstInt32) { return 0.0f; }
  virtual void setParameterAutomated(VstInt32 index, float value);
  virtual void process(float** inputs, float** outputs, VstInt32 sampleFrames) = 0;
  virtual void processReplacing(float**, float**, VstInt32) {}
  virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
  virtual void open() {}
  virtual void close() {}
  virtual VstInt32 getProgram() { return currentProgram; }
  virtual void setProgram(VstInt32 program) { currentProgram = program; }
  virtual void setProgramName(char*) {}
  virtual void getProgramName(char* name) { *name = 0; }
  virtual void getParameterLabel(VstInt32, char* label) { *label = 0; }
  virtual void getParameterDisplay(VstInt32, char* text) { *text = 0; }
  virtual void getParameterName(VstInt32, char* text) { *text = 0; }
  virtual float getVu() { return 0.0f; }
  virtual VstInt32 getChunk(void**, bool = false) { return 0; }
  virtual VstInt32 setChunk(void*, VstInt32, bool = false) { return 0; }
  virtual void setSampleRate(float rate) { sampleRate = rate; }
  virtual void setBlockSize(VstInt32 size) { blockSize = size; }
  virtual void suspend() {}
  virtual void resume() {}
  virtual void setUniqueID(VstInt32 id) { effectRecord.uniqueID = id; }
  virtual void setNumInputs(VstInt32 inputs) { effectRecord.numInputs = inputs; }
  virtual void setNumOutputs(VstInt32 outputs) { effectRecord.numOutputs = outputs; }
  virtual void hasVu(bool state = true) { setFlag(effFlagsHasVu, state); }
  virtual void hasClip(bool state = true) { setFlag(effFlagsHasClip, state); }
  virtual void canMono(bool state = true) { setFlag(effFlagsCanMono, state); }
  virtual void canProcessReplacing(bool state = true) { setFlag(effFlagsCanReplacing, state); }
  virtual void programsAreChunks(bool state = true) { setFlag(effFlagsProgramChunks, state); }
  virtual void setRealtimeQualities(VstInt32 qualities) { effectRecord.realQualities = qualities; }
  virtual void setOfflineQualities(VstInt32 qualities) { effectRecord.offQualities = qualities; }
  virtual void setInitialDelay(VstInt32 delay) { effectRecord.initialDelay = delay; }
  virtual float getSampleRate() { return sampleRate; }
  virtual VstInt32 getBlockSize() { return blockSize; }
  virtual VstInt32 getMasterVersion();
  virtual VstInt32 getCurrentUniqueId();
  virtual void masterIdle();
  virtual bool isInputConnected(VstInt32 input);
  virtual bool isOutputConnected(VstInt32 output);
  virtual void dB2string(float value, char* text);
  virtual void Hz2string(float samples, char* text);
  virtual void ms2string(float samples, char* text);
  virtual void float2string(float value, char* text);
  virtual void long2string(VstInt32 value, char* text);

  // Attaching an editor sets the HasEditor flag; detaching clears it.
  void setEditor(AEffEditor* newEditor);
  AEffect* getAeffect() { return &effectRecord; }

 protected:
  void setFlag(VstInt32 bit, bool state);
  // Calls the host, or answers `noHost` when there is no callback.
  VstIntPtr callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt,
                     VstIntPtr noHost = 0);

  float sampleRate = 44100.0f;
  AEffEditor* editor = nullptr;
  audioMasterCallback hostCallback;
  VstInt32 numPrograms;
  VstInt32 numParams;
  VstInt32 currentProgram = 0;
  VstInt32 blockSize = 1024;
  AEffect effectRecord;
};
