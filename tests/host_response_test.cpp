// The measured response through the DLL: flat for the neutral program, and at
// a band's centre the gain its table row is designed for.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "measure.h"

namespace {

constexpr int kCentres[7] = {125, 500, 2000, 4900, 8500, 12100, 17000};

// The row gain ladder of the cut rows, in dB.
double cutRowDb(int row) {
  double linear = row == 0 ? 0.25 : row == 50 ? std::pow(10.0, -0.24 / 20.0) : std::pow(10.0, (0.24 * row - 12) / 20);
  return 20.0 * std::log10(linear);
}

TEST(HostResponse, NeutralProgramIsFlat) {
  for (int rate : {44100, 96000}) {
    std::vector<double> gainDb;
    std::string error;
    ASSERT_TRUE(measureResponse("R4-M.dll", rate, PlayerSettings{0, {}, 512}, gainDb, error)) << error;
    ASSERT_EQ(gainDb.size(), size_t(rate / 2 + 1));
    double worst = 0.0;
    for (double gain : gainDb) worst = std::max(worst, std::fabs(gain));
    EXPECT_LT(worst, 1e-5) << rate << " Hz";
  }
}

TEST(HostResponse, BandCentreMeetsItsDesignGain) {
  const struct {
    int rate, band, row, width;  // width: 0 wide, 1 medium, 2 narrow
    double designDb;             // row 99's gain at the centre; cut rows follow the ladder
  } kCases[] = {
      {44100, 1, 0, 2, 0}, {96000, 1, 0, 0, 0},  {44100, 3, 25, 1, 0},       {96000, 4, 48, 2, 0},
      {44100, 7, 50, 0, 0}, {96000, 6, 10, 1, 0}, {44100, 5, 1, 2, 0},        {44100, 2, 99, 0, 11.5208},
      {44100, 7, 99, 0, 12.1872}, {44100, 5, 99, 1, 11.6569}, {44100, 4, 99, 2, 11.5271},
      {96000, 7, 99, 2, 11.5392}, {96000, 4, 99, 0, 11.5353}, {96000, 6, 99, 1, 11.5776},
  };
  const float kWidthValue[3] = {0.0f, 0.1f, 0.2f};
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.rate << " Hz, band " << c.band << ", row " << c.row << ", width " << c.width);
    float gainValue = c.row == 99 ? 1.0f : float((c.row + 0.5) / 99.0);
    PlayerSettings settings{0, {{c.band - 1, gainValue}, {6 + c.band, kWidthValue[c.width]}}, 512};
    std::vector<double> gainDb;
    std::string error;
    ASSERT_TRUE(measureResponse("R4-M.dll", c.rate, settings, gainDb, error)) << error;
    double design = c.row == 99 ? c.designDb : cutRowDb(c.row);
    EXPECT_NEAR(gainDb[size_t(kCentres[c.band - 1])], design, 0.001);
  }
}

}  // namespace
