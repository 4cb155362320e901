// The memory of one second-order section (direct form I).
#pragma once

struct SectionMemory {
  double x1;  // input one frame earlier
  double x2;  // input two frames earlier
  double y1;  // output one frame earlier
  double y2;  // output two frames earlier
};

using BandMemory = SectionMemory[2];  // left, right
