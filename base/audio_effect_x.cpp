#include "audio_effect_x.h"

#include "aeff_editor.h"
#include "pointer_opcodes.h"

namespace {

// The key record of opcodes 59 and 60: the modifier byte is the low byte of opt
// truncated to an unsigned 32-bit integer; opt outside (-1, 2^32) or NaN gives 0.
VstKeyCode keyRecord(VstInt32 index, VstIntPtr value, float opt) {
  VstKeyCode key{};
  key.character = index;
  key.virt = static_cast<unsigned char>(value & 0xFF);
  bool representable = opt > -1.0f && opt < 4294967296.0f;
  key.modifier = representable ? static_cast<unsigned char>(static_cast<uint32_t>(opt) & 0xFF) : 0;
  return key;
}

}  // namespace

VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
  if (opcode < effProcessEvents || opcode > effBeginLoadProgram)
    return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
  if (needsPointer(opcode) && !ptr) return 0;
  char* text = static_cast<char*>(ptr);
  switch (opcode) {
    case effProcessEvents:
      return processEvents(static_cast<VstEvents*>(ptr));
    case effCanBeAutomated:
      return canParameterBeAutomated(index);
    case effString2Parameter:
      return string2parameter(index, text);
    case effGetNumProgramCategories:
      return getNumCategories();
    case effGetProgramNameIndexed:
      return getProgramNameIndexed(VstInt32(value), index, text);
    case effCopyProgram:
      return copyProgram(index);
    case effConnectInput:
      inputConnected(index, value != 0);
      return 1;
    case effConnectOutput:
      outputConnected(index, value != 0);
      return 1;
    case effGetInputProperties:
      return getInputProperties(index, static_cast<VstPinProperties*>(ptr));
    case effGetOutputProperties:
      return getOutputProperties(index, static_cast<VstPinProperties*>(ptr));
    case effGetPlugCategory:
      return getPlugCategory();
    case effGetCurrentPosition:
      return reportCurrentPosition();
    case effGetDestinationBuffer:
      return reinterpret_cast<VstIntPtr>(reportDestinationBuffer());
    case effOfflineNotify:
      return offlineNotify(static_cast<VstAudioFile*>(ptr), VstInt32(value), index != 0);
    case effOfflinePrepare:
      return offlinePrepare(static_cast<VstOfflineTask*>(ptr), VstInt32(value));
    case effOfflineRun:
      return offlineRun(static_cast<VstOfflineTask*>(ptr), VstInt32(value));
    case effProcessVarIo:
      return processVariableIo(static_cast<VstVariableIo*>(ptr));
    case effSetSpeakerArrangement:
      return setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                   static_cast<VstSpeakerArrangement*>(ptr));
    case effSetBlockSizeAndSampleRate:
      setBlockSizeAndSampleRate(VstInt32(value), opt);
      return 1;
    case effSetBypass:
      return setBypass(value != 0);
    case effGetEffectName:
      return getEffectName(text);
    case effGetErrorText:
      return getErrorText(text);
    case effGetVendorString:
      return getVendorString(text);
    case effGetProductString:
      return getProductString(text);
    case effGetVendorVersion:
      return getVendorVersion();
    case effVendorSpecific:
      return vendorSpecific(index, value, ptr, opt);
    case effCanDo:
      return canDo(text);
    case effGetTailSize:
      return getGetTailSize();
    case effIdle:
      return fxIdle();
    case effGetIcon:
      return reinterpret_cast<VstIntPtr>(getIcon());
    case effSetViewPosition:
      return setViewPosition(index, VstInt32(value));
    case effGetParameterProperties:
      return getParameterProperties(index, static_cast<VstParameterProperties*>(ptr));
    case effKeysRequired:
      return keysRequired() ? 0 : 1;  // the published sense is inverted: 1 means keys wanted
    case effGetVstVersion:
      return getVstVersion();
    case effEditKeyDown:
    case effEditKeyUp: {
      if (!editor) return 0;
      VstKeyCode key = keyRecord(index, value, opt);
      return opcode == effEditKeyDown ? editor->onKeyDown(key) : editor->onKeyUp(key);
    }
    case effSetEditKnobMode:
      return editor ? editor->setKnobMode(VstInt32(value)) : 0;
    case effGetMidiProgramName:
      return getMidiProgramName(index, static_cast<MidiProgramName*>(ptr));
    case effGetCurrentMidiProgram:
      return getCurrentMidiProgram(index, static_cast<MidiProgramName*>(ptr));
    case effGetMidiProgramCategory:
      return getMidiProgramCategory(index, static_cast<MidiProgramCategory*>(ptr));
    case effHasMidiProgramsChanged:
      return hasMidiProgramsChanged(index);
    case effGetMidiKeyName:
      return getMidiKeyName(index, static_cast<MidiKeyName*>(ptr));
    case effBeginSetProgram:
      return beginSetProgram();
    case effEndSetProgram:
      return endSetProgram();
    case effGetSpeakerArrangement:
      return getSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(value),
                                   static_cast<VstSpeakerArrangement**>(ptr));
    case effShellGetNextPlugin:
      return getNextShellPlugin(text);
    case effStartProcess:
      return startProcess();
    case effStopProcess:
      return stopProcess();
    case effSetTotalSampleToProcess:
      return setTotalSampleToProcess(value);
    case effSetPanLaw:
      return setPanLaw(VstInt32(value), opt);
    case effBeginLoadBank:
      return beginLoadBank(static_cast<VstPatchChunkInfo*>(ptr));
    case effBeginLoadProgram:
      return beginLoadProgram(static_cast<VstPatchChunkInfo*>(ptr));
    default:
      return 0;
  }
}

bool AudioEffectX::getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output) {
  if (input) *input = nullptr;
  if (output) *output = nullptr;
  return false;
}
