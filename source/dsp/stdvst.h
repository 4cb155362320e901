// The equaliser effect: 21 parameters, eight programs, MIDI control and learn,
// the sample-rate policy and the seven-band cascade.
#pragma once

#include <cstdint>

#include "../../base/audio_effect_x.h"
#include "../parameters.h"
#include "../pval.h"
#include "program.h"
#include "rate_warning.h"
#include "section_memory.h"
#include "table_rates.h"

class Gui;

constexpr VstInt32 kUniqueId = 0x1736FB73;

class stdvst : public AudioEffectX {
 public:
  explicit stdvst(audioMasterCallback hostCallback);
  ~stdvst() override;

  // False when the editor, its shared record or the programs could not be allocated.
  bool ready() const { return gui && pval && programs; }

  void setParameter(VstInt32 index, float value) override;
  float getParameter(VstInt32 index) override;
  void process(float** inputs, float** outputs, VstInt32 sampleFrames) override;
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
  void setProgram(VstInt32 program) override;
  void setProgramName(char* name) override;
  void getProgramName(char* name) override;
  void getParameterName(VstInt32 index, char* text) override;
  void suspend() override;
  void resume() override;
  VstInt32 processEvents(VstEvents* events) override;
  bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;
  VstInt32 getPlugCategory() override;
  bool getEffectName(char* name) override;
  bool getVendorString(char* text) override;
  bool getProductString(char* text) override;
  VstInt32 canDo(char* text) override;

  void initPrograms();

  friend struct EffectInspector;  // white-box tests

 private:
  PROGRAM& current() { return programs[currentProgram]; }
  void applyGains(const PROGRAM& program);
  void applyQs(const PROGRAM& program);
  void learnAndFollow(int controller, int controllerValue);

  Gui* gui = nullptr;
  PVAL* pval = nullptr;
  PROGRAM* programs = nullptr;
  int32_t gainRow[kBands] = {};  // table row 0 to 99 of each band; read by the audio thread
  int32_t ccNumber[kBands] = {kUnboundController, kUnboundController, kUnboundController, kUnboundController,
                              kUnboundController, kUnboundController, kUnboundController};
  float lastParameterValue = 0.0f;
  int32_t lastLearnGesture = 0;  // the editor's learn gesture that MIDI learn last acted on
  int32_t sampleRateInt = kRate44k;  // whole hertz; selects the table set
  bool monoInput = false;            // the second input is not connected
  SectionMemory filterMemory[kBands][2] = {};  // band by band, left then right
  RateWarning rateWarning;
};
