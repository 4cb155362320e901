// The generated coefficient tables as the plug-in holds them: known rows and
// the properties of the design at DC, at f0 and at Nyquist.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "significant_digits.h"
#include "tables/coefficient_tables.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kRates[2] = {44100.0, 96000.0};
constexpr double kCentres[7] = {125.0, 500.0, 2000.0, 4900.0, 8500.0, 12100.0, 17000.0};
enum Width { kWide = 0, kMedium = 1, kNarrow = 2 };

double gainAt(const CoefficientSet& c, double w) {
  const std::complex<double> z1 = std::polar(1.0, -w), z2 = z1 * z1;
  return std::abs((c.b0 + c.b1 * z1 + c.b2 * z2) / (1.0 + c.a1 * z1 + c.a2 * z2));
}

double centreOf(int rateSet, int band) { return 2.0 * kPi * kCentres[band] / kRates[rateSet]; }

double decibels(double gain) { return 20.0 * std::log10(gain); }

// Every set of every table, with where it sits.
template <class Check>
void forEverySet(Check check) {
  for (int rateSet = 0; rateSet < kRateSets; rateSet++)
    for (int band = 0; band < kTableBands; band++)
      for (int width = 0; width < kWidths; width++)
        for (int row = 0; row < kGainRows; row++) {
          SCOPED_TRACE(testing::Message() << "rate set " << rateSet << " band " << band + 1 << " width " << width
                                          << " row " << row);
          check(rateSet, band, width, row, coefficientTables[rateSet][band][width][row]);
        }
}

TEST(CoefficientTables, TellingRowsToTenDigits) {
  struct Case {
    int rateSet, band, width, row;
    double expected[5];
  };
  // 44100 Hz band 7 wide row 99 is also the worked example of the design.
  const Case cases[] = {
      {0, 0, kNarrow, 0, {0.9303694841, -1.815162190, 0.8850805720, -1.818556488, 0.8188443543}},
      {0, 0, kNarrow, 49, {0.9999999905, -1.817341143, 0.8176288184, -1.817341144, 0.8176288097}},
      {0, 0, kNarrow, 50, {0.9974173624, -1.817214452, 0.8200847671, -1.817411525, 0.8176992020}},
      {0, 0, kNarrow, 51, {1.000000000, -1.817340561, 0.8176288094, -1.817340561, 0.8176288094}},
      {0, 0, kNarrow, 99, {1.310174056, -1.856484413, 0.5465946526, -1.797015543, 0.7972998392}},
      {0, 6, kWide, 0, {0.7178854360, 0.9410162814, 0.5400518192, 0.9023129185, 0.2966406181}},
      {0, 6, kWide, 49, {0.9999999616, 0.8991278550, 0.2934080246, 0.8991278475, 0.2934079937}},
      {0, 6, kWide, 50, {0.9895433322, 0.9013365844, 0.3020154795, 0.8993073376, 0.2935880585}},
      {0, 6, kWide, 51, {1.000000000, 0.9301832910, 0.2934079930, 0.9301832910, 0.2934079930}},
      {0, 6, kWide, 99, {2.267569023, 0.5313226808, -0.7105116142, 0.8471661655, 0.2412139238}},
      {0, 6, kMedium, 51, {1.000000000, 1.098529686, 0.5274915062, 1.098529686, 0.5274915062}},
      {1, 3, kMedium, 0, {0.8112926250, -1.428441802, 0.6938028786, -1.453405815, 0.5300595165}},
      {1, 3, kMedium, 49, {0.9999999737, -1.450986099, 0.5274915277, -1.450986104, 0.5274915067}},
      {1, 3, kMedium, 50, {0.9928453352, -1.449688782, 0.5333574299, -1.451126026, 0.5276400084}},
      {1, 3, kMedium, 51, {1.000000000, -1.449610288, 0.5274915062, -1.449610288, 0.5274915062}},
      {1, 3, kMedium, 99, {1.902257984, -1.791486127, -0.03670922333, -1.411495897, 0.4855585303}},
  };
  for (const Case& c : cases) {
    const CoefficientSet& s = coefficientTables[c.rateSet][c.band][c.width][c.row];
    const double actual[5] = {s.b0, s.b1, s.b2, s.a1, s.a2};
    for (int i = 0; i < 5; i++)
      EXPECT_NEAR(actual[i], c.expected[i], roundingOf(c.expected[i], 10))
          << "rate set " << c.rateSet << " band " << c.band + 1 << " width " << c.width << " row " << c.row
          << " coefficient " << i;
  }
}

TEST(CoefficientTables, UnityAtDcInEveryRow) {
  // 1 + a1 + a2 is tiny for the lowest band at 96 kHz: its rows carry up to
  // about 1e-11 of rounding here.
  forEverySet([](int, int, int, int, const CoefficientSet& c) {
    EXPECT_NEAR((c.b0 + c.b1 + c.b2) / (1.0 + c.a1 + c.a2), 1.0, 2e-11);
  });
}

TEST(CoefficientTables, CutRowsMeetTheLadderAtTheCentre) {
  auto ladder = [](int row) {
    if (row == 0) return 0.25;
    if (row == 49) return 0.9999999;
    if (row == 50) return std::pow(10.0, -0.24 / 20.0);
    return std::pow(10.0, (0.24 * row - 12.0) / 20.0);
  };
  forEverySet([&](int rateSet, int band, int, int row, const CoefficientSet& c) {
    if (row > 50) return;
    EXPECT_NEAR(gainAt(c, centreOf(rateSet, band)) / ladder(row), 1.0, 1e-13);
  });
}

TEST(CoefficientTables, CentreRowsStepAsTheLadderSays) {
  // Not monotonic: 48 to 52 stand for -0.48, 0, -0.24, 0 and +0.24 dB. Like
  // every boost row, row 52 lands slightly above its design gain at f0, by
  // up to 0.01 dB in the highest band.
  const double expected[5] = {-0.48, 0.0, -0.24, 0.0, 0.24};
  const double above[5] = {0.0, 0.0, 0.0, 0.0, 0.01};
  forEverySet([&](int rateSet, int band, int, int row, const CoefficientSet& c) {
    if (row < 48 || row > 52) return;
    double dB = decibels(gainAt(c, centreOf(rateSet, band)));
    EXPECT_GE(dB, expected[row - 48] - 1e-6);
    EXPECT_LE(dB, expected[row - 48] + above[row - 48] + 1e-6);
  });
}

TEST(CoefficientTables, NeutralRowIsFlatFromDcToNyquist) {
  forEverySet([](int, int, int, int row, const CoefficientSet& c) {
    if (row != 49) return;
    for (int step = 0; step <= 4096; step++) {
      double w = kPi * step / 4096.0;
      ASSERT_NEAR(gainAt(c, w), 1.0, 1e-7) << "at " << w;
    }
  });
}

TEST(CoefficientTables, FlatRowHasNumeratorEqualToDenominator) {
  forEverySet([](int, int, int, int row, const CoefficientSet& c) {
    if (row != 51) return;
    EXPECT_EQ(c.b0, 1.0);
    EXPECT_NEAR(c.b1, c.a1, 4e-16 * std::fabs(c.a1));
    EXPECT_NEAR(c.b2, c.a2, 4e-16 * std::fabs(c.a2));
  });
  // Two tables made their flat row with sqrt(0.75)·tan²(w0/2): a1 shows it, a2 does not.
  struct Case {
    int width;
    double a1, a1WithPlainTanSquare, a2;
  };
  const Case cases[] = {{kMedium, 1.098529686, 1.148877224, 0.5274915062},
                        {kWide, 0.9301832910, 0.9728152196, 0.2934079930}};
  for (const Case& c : cases) {
    const CoefficientSet& s = coefficientTables[0][6][c.width][51];
    EXPECT_NEAR(s.a1, c.a1, roundingOf(c.a1, 10)) << "width " << c.width;
    EXPECT_GT(std::fabs(s.a1 - c.a1WithPlainTanSquare), 0.04);
    EXPECT_NEAR(s.a2, c.a2, roundingOf(c.a2, 10)) << "width " << c.width;
  }
}

TEST(CoefficientTables, TopRowGainAtTheCentre) {
  // dB by band; columns 44.1 kHz narrow, medium, wide, then 96 kHz the same.
  const double expected[7][6] = {
      {11.5200, 11.5200, 11.5200, 11.5200, 11.5200, 11.5200}, {11.5201, 11.5205, 11.5208, 11.5200, 11.5201, 11.5202},
      {11.5212, 11.5274, 11.5321, 11.5202, 11.5216, 11.5226}, {11.5271, 11.5647, 11.5916, 11.5215, 11.5294, 11.5353},
      {11.5432, 11.6569, 11.7284, 11.5245, 11.5483, 11.5658}, {11.5755, 11.8086, 11.9196, 11.5293, 11.5776, 11.6117},
      {11.7078, 12.1414, 12.1872, 11.5392, 11.6350, 11.6973}};
  const int columnWidths[3] = {kNarrow, kMedium, kWide};
  for (int band = 0; band < 7; band++)
    for (int column = 0; column < 6; column++) {
      int rateSet = column / 3, width = columnWidths[column % 3];
      double gain = gainAt(coefficientTables[rateSet][band][width][99], centreOf(rateSet, band));
      EXPECT_NEAR(decibels(gain), expected[band][column], 0.00005 + 1e-9)
          << "band " << band + 1 << " rate set " << rateSet << " width " << width;
    }
}

TEST(CoefficientTables, GainAtNyquist) {
  struct Case {
    int band, width, row;
    double gain;
  };
  const Case cases[] = {{6, kWide, 0, 0.8036994968},
                        {6, kWide, 99, 2.603072105},
                        {0, kNarrow, 0, 0.9981336684},
                        {0, kNarrow, 99, 1.033090513}};
  for (const Case& c : cases)
    EXPECT_NEAR(gainAt(coefficientTables[0][c.band][c.width][c.row], kPi), c.gain, roundingOf(c.gain, 10))
        << "band " << c.band + 1 << " width " << c.width << " row " << c.row;
}

TEST(CoefficientTables, EveryPoleInsideTheUnitCircle) {
  // 1 + a1 z^-1 + a2 z^-2 has both roots inside the circle exactly when the
  // coefficients lie inside the stability triangle.
  forEverySet([](int, int, int, int, const CoefficientSet& c) {
    EXPECT_LT(std::fabs(c.a2), 1.0);
    EXPECT_LT(std::fabs(c.a1), 1.0 + c.a2);
  });
}

}  // namespace
