// The record the effect and the editor share: the effect writes the gains and
// Q selectors, the editor its colour and whether its window is open.
#pragma once

#include <cstdint>

constexpr int kBands = 7;  // bands 1 to 7 are entries 0 to 6 of every per-band array

struct PVAL {
  double gainValue[kBands];  // gain parameters widened to double
  int32_t uiColor;           // interface hue; its low byte is used
  int32_t editorOpen;        // 1 while the editor window is open
  int32_t qSel[kBands];      // 0 wide, 1 medium, 2 narrow; read by the audio thread
};

void initPVAL(PVAL& pval);
