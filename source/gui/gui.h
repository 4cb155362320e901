// The editor. The effect tells it of every parameter change through
// updateControl, which only marks controls; the window's timer redraws them.
#pragma once

#include <cstdint>

#include "../../base/aeff_editor.h"
#include "../parameters.h"
#include "../pval.h"

class AudioEffect;

struct Region {
  int32_t left, top, right, bottom;  // client pixels, all inclusive
};

struct Knob {
  Region region;
  int32_t frame;    // 0 to 79, the strip frame shown
  int32_t dragPos;  // 0 to 158, kept between drags
  bool resync;      // changed from elsewhere: the next drag starts from frame × 2
};

constexpr int32_t kKnobFrames = 80;
constexpr int32_t kFirstKnobControl = 1001;  // activeControl of the knob of band 1

// trunc(value × 79) in double, limited to the strip; NaN shows the middle frame.
inline int32_t knobFrameFor(float value) { return truncateClamped(double(value) * 79.0, 0, kKnobFrames - 1, 39); }

class Gui : public AEffEditor {
 public:
  explicit Gui(AudioEffect* effect);
  ~Gui() override = default;

  VstInt32 getRect(ERect** rect) override;
  VstInt32 open(void* parentWindow) override;
  void close() override;

  // Called by the effect, on any thread, after it stored a value.
  void updateControl(float value, int32_t index);

  PVAL* sharedRecord() const { return pval; }
  int32_t learnTarget = -1;  // -1 never armed, 0 cleared, 1 to 7 the band waiting for a controller

  friend struct GuiInspector;  // white-box tests

 private:
  ERect rect{0, 0, 155, 600};
  PVAL* pval;
  Knob knob[kBands] = {};
  int32_t activeControl = 0;  // 0, or 1000 + band while that knob is dragged
  bool anyChanged = false;
  bool knobChanged[kBands] = {};
  bool qChanged[kBands] = {};
};
