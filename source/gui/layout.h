// The editor's geometry, in client pixels. No platform dependency.
#pragma once

#include <cstdint>

struct Region {
  int32_t left, top, right, bottom;  // all inclusive
};

inline void fillRegion(Region& region, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  region = {left, top, right, bottom};
}

// x and y arrive as signed 16-bit values: negative while the mouse is captured outside.
inline bool checkMouseRgn(const Region& region, int16_t x, int16_t y) {
  return region.left <= x && x <= region.right && region.top <= y && y <= region.bottom;
}

constexpr int16_t kEditorWidth = 600, kEditorHeight = 155;
constexpr int32_t kKnobFrames = 80;
constexpr int32_t kKnobSize = 24;
constexpr int32_t kQButtons = 3;
constexpr int32_t kQButtonWidth = 21, kQButtonHeight = 15;
constexpr int32_t kFirstKnobControl = 1001;  // activeControl of the knob of band 1
constexpr int32_t kDragSteps = 158;          // pixels of travel for the whole gain range

inline Region knobRegion(int band) {  // band 1 to 7
  int32_t left = 48 + 80 * (band - 1);
  return {left, 89, left + kKnobSize - 1, 89 + kKnobSize - 1};
}

// One row more than the image: the hit area is 21 by 16.
inline Region qButtonRegion(int band, int button) {  // button 1 to 3
  int32_t left = 29 + 80 * (band - 1) + kQButtonWidth * (button - 1);
  return {left, 46, left + 20, 61};
}

constexpr Region kConfigRegion = {6, 5, 74, 12};  // the logo
// The frame round the inner panel (10,42)-(586,146), right and bottom exclusive:
// every coloured pixel of the skin lies there.
constexpr int32_t kInnerLeft = 10, kInnerTop = 42, kInnerRight = 586, kInnerBottom = 146;
