#include "audio_effect.h"

#include <cstring>

#include "aeff_editor.h"
#include "pointer_opcodes.h"
#include "truncate.h"

namespace {

AudioEffect* effectOf(AEffect* record) { return static_cast<AudioEffect*>(record->object); }

VstIntPtr VSTCALLBACK dispatchEffectClass(AEffect* record, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                          void* ptr, float opt) {
  AudioEffect* effect = effectOf(record);
  if (opcode == effClose) {
    effect->dispatcher(opcode, index, value, ptr, opt);
    delete effect;  // the host must not touch the record after this
    return 1;
  }
  return effect->dispatcher(opcode, index, value, ptr, opt);
}

void VSTCALLBACK processClass(AEffect* record, float** inputs, float** outputs, VstInt32 sampleFrames) {
  effectOf(record)->process(inputs, outputs, sampleFrames);
}

void VSTCALLBACK processClassReplacing(AEffect* record, float** inputs, float** outputs, VstInt32 sampleFrames) {
  effectOf(record)->processReplacing(inputs, outputs, sampleFrames);
}

void VSTCALLBACK setParameterClass(AEffect* record, VstInt32 index, float value) {
  effectOf(record)->setParameter(index, value);
}

float VSTCALLBACK getParameterClass(AEffect* record, VstInt32 index) { return effectOf(record)->getParameter(index); }

}  // namespace

AudioEffect::AudioEffect(audioMasterCallback hostCallback, VstInt32 numPrograms, VstInt32 numParams)
    : hostCallback(hostCallback), numPrograms(numPrograms), numParams(numParams) {
  std::memset(&effectRecord, 0, sizeof effectRecord);
  effectRecord.magic = kEffectMagic;
  effectRecord.dispatcher = dispatchEffectClass;
  effectRecord.process = processClass;
  effectRecord.setParameter = setParameterClass;
  effectRecord.getParameter = getParameterClass;
  effectRecord.numPrograms = numPrograms;
  effectRecord.numParams = numParams;
  effectRecord.numInputs = 1;
  effectRecord.numOutputs = 2;
  effectRecord.ioRatio = 1.0f;
  effectRecord.object = this;
  effectRecord.uniqueID = fourCharCode('N', 'o', 'E', 'f');  // placeholder until the effect sets its own
  effectRecord.version = 1;
  effectRecord.processReplacing = processClassReplacing;
}

AudioEffect::~AudioEffect() { delete editor; }

void AudioEffect::setEditor(AEffEditor* newEditor) {
  editor = newEditor;
  setFlag(effFlagsHasEditor, newEditor != nullptr);
}

void AudioEffect::setFlag(VstInt32 bit, bool state) {
  if (state)
    effectRecord.flags |= bit;
  else
    effectRecord.flags &= ~bit;
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt,
                                VstIntPtr noHost) {
  if (!hostCallback) return noHost;
  return hostCallback(&effectRecord, opcode, index, value, ptr, opt);
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
  setParameter(index, value);
  callHost(audioMasterAutomate, index, 0, nullptr, value);
}

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  if (needsPointer(opcode) && !ptr) return 0;
  char* text = static_cast<char*>(ptr);
  switch (opcode) {
    case effOpen:
      open();
      return 0;
    case effClose:
      close();
      return 0;
    case effSetProgram:
      if (value >= 0 && value < numPrograms) setProgram(VstInt32(value));
      return 0;
    case effGetProgram:
      return getProgram();
    case effSetProgramName:
      setProgramName(text);
      return 0;
    case effGetProgramName:
      getProgramName(text);
      return 0;
    case effGetParamLabel:
      getParameterLabel(index, text);
      return 0;
    case effGetParamDisplay:
      getParameterDisplay(index, text);
      return 0;
    case effGetParamName:
      getParameterName(index, text);
      return 0;
    case effGetVu:
      return truncateClamped(double(getVu()) * 32767.0, INT32_MIN, INT32_MAX, 0);
    case effSetSampleRate:
      setSampleRate(opt);
      return 0;
    case effSetBlockSize:
      setBlockSize(VstInt32(value));
      return 0;
    case effMainsChanged:
      if (value)
        resume();
      else
        suspend();
      return 0;
    case effEditGetRect:
      return editor ? editor->getRect(static_cast<ERect**>(ptr)) : 0;
    case effEditOpen:
      return editor ? editor->open(ptr) : 0;
    case effEditClose:
      if (editor) editor->close();
      return 0;
    case effEditIdle:
      if (editor) editor->idle();
      return 0;
    case effIdentify:
      return fourCharCode('N', 'v', 'E', 'f');
    case effGetChunk:
      return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
      return setChunk(ptr, VstInt32(value), index != 0);
    default:  // effEditDraw, effEditMouse, effEditKey, effEditTop, effEditSleep and unknown opcodes
      return 0;
  }
}
