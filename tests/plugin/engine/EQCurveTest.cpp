#include "plugin/engine/EQCurve.h"

#include <gtest/gtest.h>

#include "plugin/engine/BandDesign.h"
#include "plugin/engine/BandProcessing.h"
#include "plugin/engine/BandTypes.h"

namespace {

constexpr double kHostRate = 48000.0;
constexpr double kDisplayRate = 2 * kHostRate;

// Twelve peaks of distinct gains and frequencies, so every band's share of
// the sum can be told apart.
class EQCurve : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int b = 0; b < kNumBands; ++b) {
      DesignBand(mBands[b], kTypeAPeak, mMirrors.bandFreq[b], 1.0 + b, 1.0, 0, kDisplayRate, true);
    }
  }
  double Band(int b, double f) const { return GetBandResponseDB(mBands[b], f, kDisplayRate); }
  double Curve(double f, int channel, int band) const {
    return GetEQCurveValue(mBands, mMirrors, kHostRate, f, channel, band);
  }
  BandFilter mBands[kNumBands];
  ParamMirrors mMirrors;
};

}  // namespace

TEST_F(EQCurve, SumFollowsActiveAndSolo) {
  for (double f : {30.0, 1000.0, 15000.0}) {
    EXPECT_EQ(Curve(f, kChannelAll, -1), 0.0);  // nothing active
    mMirrors.bandActive[2] = mMirrors.bandActive[5] = 1;
    EXPECT_NEAR(Curve(f, kChannelAll, -1), Band(2, f) + Band(5, f), 1e-12);
    mMirrors.bandSolo[5] = 1;
    EXPECT_NEAR(Curve(f, kChannelAll, -1), Band(5, f), 1e-12);
    // A soloed band that is off adds nothing, and still mutes the others.
    mMirrors.bandSolo[5] = 0;
    mMirrors.bandSolo[7] = 1;
    EXPECT_EQ(Curve(f, kChannelAll, -1), 0.0);
    mMirrors = ParamMirrors{};
  }
}

TEST_F(EQCurve, SumFollowsTheChannelModes) {
  const double f = 1000.0;
  mMirrors.bandActive[1] = mMirrors.bandActive[6] = mMirrors.bandActive[9] = 1;
  mMirrors.bandChMode[1] = kChannelAll;
  mMirrors.bandChMode[6] = kChannelLeft;
  mMirrors.bandChMode[9] = kChannelSide;
  // An "All" band sounds on every channel; the others on their own only.
  EXPECT_NEAR(Curve(f, kChannelAll, -1), Band(1, f), 1e-12);
  EXPECT_NEAR(Curve(f, kChannelLeft, -1), Band(1, f) + Band(6, f), 1e-12);
  EXPECT_NEAR(Curve(f, kChannelRight, -1), Band(1, f), 1e-12);
  EXPECT_NEAR(Curve(f, kChannelMid, -1), Band(1, f), 1e-12);
  EXPECT_NEAR(Curve(f, kChannelSide, -1), Band(1, f) + Band(9, f), 1e-12);
}

TEST_F(EQCurve, SingleBandIgnoresTheSwitchesAndReadsAtTwiceTheRate) {
  mMirrors.bandSolo[0] = 1;
  mMirrors.bandChMode[3] = kChannelRight;
  // Band 3 is off, not soloed and on the right channel: its curve is still drawn.
  EXPECT_EQ(Curve(100.0, kChannelLeft, 3), Band(3, 100.0));
  // 30 kHz lies above the host's Nyquist but below the display bank's.
  EXPECT_EQ(Curve(30000.0, kChannelAll, 10), Band(10, 30000.0));
  EXPECT_NE(Curve(30000.0, kChannelAll, 10), Band(10, 0.5 * kDisplayRate - 1.0));
}

TEST_F(EQCurve, BandIndexOutsideTheBankGivesZero) {
  for (int b = 0; b < kNumBands; ++b) mMirrors.bandActive[b] = 1;
  for (int band : {-2, 12, 13, 1000, -1000}) EXPECT_EQ(Curve(1000.0, kChannelAll, band), 0.0) << band;
}
