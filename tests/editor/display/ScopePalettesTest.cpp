#include "editor/display/ScopePalettes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct Anchor {
  int r, g, b;
};
constexpr Anchor kAnchors[8] = {{231, 33, 75},  {241, 111, 50}, {253, 199, 50}, {126, 188, 111},
                                {20, 146, 104}, {19, 124, 168}, {48, 57, 142},  {135, 45, 138}};

// The frequency at a place q (0..7) of the palette: q sevenths of the way
// from ln 10 to ln 22000.
double HzAt(double q) { return std::exp(std::log(10.0) + q / 7.0 * std::log(2200.0)); }

void ExpectColor(const IColor& c, int a, int r, int g, int b, const char* what) {
  EXPECT_EQ(c.A, a) << what;
  EXPECT_EQ(c.R, r) << what;
  EXPECT_EQ(c.G, g) << what;
  EXPECT_EQ(c.B, b) << what;
}

TEST(FrequencyPalette, BlendsNeighbouringAnchorsAlongTheLogOfTheFrequency) {
  // 0.37 of the way from each anchor to the next (past the last, back
  // towards the first): no channel lands on a whole number there.
  const auto mix = [](int a, int b, double u) { return static_cast<int>(a + (b - a) * u); };
  for (int k = 0; k < 7; ++k) {
    const Anchor& a = kAnchors[k];
    const Anchor& b = kAnchors[k + 1];
    ExpectColor(FrequencyPaletteColor(HzAt(k + 0.37), 128), 128, mix(a.r, b.r, 0.37), mix(a.g, b.g, 0.37),
                mix(a.b, b.b, 0.37), "between");
  }
  // 1 kHz: q = 7 ln 100 / ln 2200 = 4.1886 between anchors 4 and 5.
  const double q = 7.0 * std::log(100.0) / std::log(2200.0);
  const double u = q - 4.0;
  const IColor k1 = FrequencyPaletteColor(1000.0, 200);
  ExpectColor(k1, 200, mix(20, 19, u), mix(146, 124, u), mix(104, 168, u), "1 kHz");
}

TEST(FrequencyPalette, OutsideTenHertzToTwentyTwoKilohertzTheEndAnchorsHold) {
  for (double hz : {0.0, 5.0, 10.0, -3.0, std::numeric_limits<double>::quiet_NaN()}) {
    ExpectColor(FrequencyPaletteColor(hz, 128), 128, 231, 33, 75, "low");
  }
  for (double hz : {22000.0, 30000.0, 1e9}) ExpectColor(FrequencyPaletteColor(hz, 128), 128, 135, 45, 138, "high");
}

TEST(SpectrogramRamp, FourPartsFromBlackThroughBlueYellowGreenToRed) {
  const struct {
    double t;
    int a, r, g, b;
  } rows[] = {
      {0.0, 0, 0, 0, 0},         {0.125, 64, 0, 0, 127},   {0.25, 128, 0, 0, 255},   {0.375, 128, 127, 127, 127},
      {0.5, 128, 255, 255, 0},   {0.625, 128, 127, 255, 0}, {0.75, 128, 0, 255, 0},  {0.875, 128, 127, 127, 0},
      {1.0, 128, 255, 0, 0},     {1.5, 128, 255, 0, 0},     {-0.5, 0, 0, 0, 0},
      {std::numeric_limits<double>::quiet_NaN(), 0, 0, 0, 0},
  };
  for (const auto& r : rows) {
    const IColor c = SpectrogramRampColor(r.t);
    EXPECT_EQ(c.A, r.a) << r.t;
    EXPECT_EQ(c.R, r.r) << r.t;
    EXPECT_EQ(c.G, r.g) << r.t;
    EXPECT_EQ(c.B, r.b) << r.t;
  }
}

}  // namespace
