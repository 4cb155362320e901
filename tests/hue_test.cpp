// The hue shift of the skin, on single pixels with known answers.
#include <gtest/gtest.h>

#include <algorithm>

#include "gui/hue.h"

namespace {

struct Pixel {
  uint8_t c1, c2, c3;
};

Pixel shifted(Pixel pixel, int hue) {
  uint8_t bytes[3] = {pixel.c1, pixel.c2, pixel.c3};
  shiftHue(bytes, 1, 1, 3, uint8_t(hue));
  return {bytes[0], bytes[1], bytes[2]};
}

TEST(Hue, KnownPixels) {
  struct Case {
    Pixel in;
    int hue;
    Pixel out;
  };
  const Case cases[] = {
      {{0, 192, 128}, 100, {0, 192, 67}},
      {{255, 0, 0}, 0, {255, 0, 0}},      // pure first channel stays at hue 0
      {{255, 0, 0}, 255, {255, 0, 0}},    // 255 is the same hue as 0
      {{0, 0, 255}, 0, {255, 0, 0}},      // saturation and value kept, hue replaced
      {{10, 20, 30}, 0, {30, 10, 10}},
  };
  for (const Case& c : cases) {
    Pixel out = shifted(c.in, c.hue);
    EXPECT_EQ(out.c1, c.out.c1) << int(c.in.c1) << "," << int(c.in.c2) << "," << int(c.in.c3) << " hue " << c.hue;
    EXPECT_EQ(out.c2, c.out.c2);
    EXPECT_EQ(out.c3, c.out.c3);
  }
}

TEST(Hue, GreysNeverChange) {
  for (int grey : {0, 1, 37, 128, 200, 254, 255})
    for (int hue = 0; hue < 256; hue++) {
      Pixel out = shifted({uint8_t(grey), uint8_t(grey), uint8_t(grey)}, hue);
      ASSERT_TRUE(out.c1 == grey && out.c2 == grey && out.c3 == grey) << grey << " at hue " << hue;
    }
}

TEST(Hue, KeepsBrightnessAndNearlySaturation) {
  for (int hue : {1, 60, 100, 180, 240})
    for (Pixel in : {Pixel{0, 192, 128}, Pixel{200, 40, 90}, Pixel{12, 250, 251}}) {
      Pixel out = shifted(in, hue);
      int brightnessIn = std::max({in.c1, in.c2, in.c3}), brightnessOut = std::max({out.c1, out.c2, out.c3});
      EXPECT_EQ(brightnessOut, brightnessIn);
      HsvBytes before = toHsv(in.c1, in.c2, in.c3), after = toHsv(out.c1, out.c2, out.c3);
      EXPECT_NEAR(after.s, before.s, 2);
      EXPECT_NEAR(after.h, hue, 2);
    }
}

}  // namespace
