// Recolouring of the skin: each pixel keeps its saturation and brightness and
// takes a new hue. Single-precision byte arithmetic, channels in stored order.
// No platform dependency.
#pragma once

#include <cstddef>
#include <cstdint>

struct HsvBytes {
  int h, s, v;
};

inline HsvBytes toHsv(int c1, int c2, int c3) {
  int v = c1 > c2 ? (c1 > c3 ? c1 : c3) : (c2 > c3 ? c2 : c3);
  int m = c1 < c2 ? (c1 < c3 ? c1 : c3) : (c2 < c3 ? c2 : c3);
  int d = v - m;
  if (v == 0 || d == 0) return {0, 0, v};
  int s = int(255.0f * float(d) / float(v));
  float position;  // hue position 0 to 6 (negative just below 0)
  if (c1 == v)
    position = float(c2 - c3) / float(d);
  else if (c2 == v)
    position = float(c3 - c1) / float(d) + 2.0f;
  else
    position = float(c1 - c2) / float(d) + 4.0f;
  float hue = 42.5f * position;
  if (hue < 0) hue += 255.0f;
  return {int(hue), s, v};
}

inline void fromHsv(HsvBytes hsv, uint8_t& c1, uint8_t& c2, uint8_t& c3) {
  if (hsv.s == 0) {
    c1 = c2 = c3 = uint8_t(hsv.v);
    return;
  }
  int h = hsv.h == 255 ? 0 : hsv.h;  // 255 is the same hue as 0
  float x = float(h) * (1.0f / 60.0f) * (360.0f / 255.0f);
  int sextant = int(x);
  float f = x - float(sextant);
  float v = float(hsv.v);
  float k = v * float(hsv.s) / 255.0f;
  auto byte = [](float value) { return uint8_t(int(value)); };
  uint8_t p = byte(v - k), q = byte(v - f * k), t = byte(v - k + f * k), top = uint8_t(hsv.v);
  switch (sextant) {
    case 0: c1 = top, c2 = t, c3 = p; break;
    case 1: c1 = q, c2 = top, c3 = p; break;
    case 2: c1 = p, c2 = top, c3 = t; break;
    case 3: c1 = p, c2 = q, c3 = top; break;
    case 4: c1 = t, c2 = p, c3 = top; break;
    default: c1 = top, c2 = p, c3 = q; break;
  }
}

// Gives every pixel of a 24-bit image the hue byte `hue`, in place.
inline void shiftHue(uint8_t* pixels, int width, int height, ptrdiff_t bytesPerRow, uint8_t hue) {
  for (int row = 0; row < height; row++) {
    uint8_t* pixel = pixels + row * bytesPerRow;
    for (int column = 0; column < width; column++, pixel += 3) {
      HsvBytes hsv = toHsv(pixel[0], pixel[1], pixel[2]);
      hsv.h = hue;
      fromHsv(hsv, pixel[0], pixel[1], pixel[2]);
    }
  }
}
