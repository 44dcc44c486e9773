#include "dsp/filters/BandEdges.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPi = 3.141592653589793;

TEST(BandEdges, GeometricAroundTheCentre) {
  const Dsp::BandEdges e = Dsp::ComputeBandEdges(48000, 1000, 2.0);
  EXPECT_NEAR(e.wL, 2 * kPi * (1000 / 1.5) / 48000, 1e-14);
  EXPECT_NEAR(e.wH, 2 * kPi * (1000 * 1.5) / 48000, 1e-14);
}

TEST(BandEdges, ClampedInHertzAndInRadians) {
  struct Case { double fs, fc, q, wL, wH; };
  const Case cases[] = {
      // lower edge 10 / 21 Hz -> 1 Hz
      {44100, 10, 0.05, 2 * kPi * 1 / 44100, 2 * kPi * 210 / 44100},
      // upper edge 60 kHz -> fs - 1, then -> pi - 0.001
      {48000, 20000, 0.5, 2 * kPi * 20000 / 3 / 48000, 3.1405926535897932},
      // upper edge 23999 Hz is below fs - 1 but above pi - 0.001 in radians
      {48000, 23999 / 1.25, 4.0, 2 * kPi * 23999 / 1.25 / 1.25 / 48000, 3.1405926535897932},
  };
  for (const Case& c : cases) {
    const Dsp::BandEdges e = Dsp::ComputeBandEdges(c.fs, c.fc, c.q);
    EXPECT_NEAR(e.wL, c.wL, 1e-12) << c.fc;
    EXPECT_NEAR(e.wH, c.wH, 1e-12) << c.fc;
    EXPECT_LE(e.wH, kPi - 0.001);
  }
}

}  // namespace
