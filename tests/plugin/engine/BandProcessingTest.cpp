#include "plugin/engine/BandProcessing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "plugin/engine/BandDesign.h"
#include "tests/plugin/engine/BandTestSupport.h"

using BandTestSupport::BandResponse;
using BandTestSupport::CascadeOf;
using BandTestSupport::CascadeResponse;
using BandTestSupport::Complex;
using BandTestSupport::Db;
using BandTestSupport::kHalfPowerDb;
using BandTestSupport::kPi;
using BandTestSupport::MeasureWithSine;

namespace {

struct BandCase {
  const char* name;
  int type;
  double f, g, q;
  int slope;
  double rate;
  bool noCorrection;
};

std::string CaseName(const ::testing::TestParamInfo<BandCase>& info) { return info.param.name; }

const BandCase kCases[] = {
    {"APeakCorrected", kTypeAPeak, 1000, 9, 1.5, 0, 48000, false},
    {"APeakCorrectedHigh", kTypeAPeak, 12000, -6, 0.7, 3, 48000, false},
    {"APeakPlain", kTypeAPeak, 1000, 6, 0.7, 0, 96000, true},
    {"ALowCut6", kTypeALowCut, 100, 0, 0.7, 0, 48000, true},
    {"ALowCut24", kTypeALowCut, 200, 0, 2.0, 3, 48000, true},
    {"ALowCut30", kTypeALowCut, 150, 0, 1.2, 4, 48000, true},
    {"ALowCut96", kTypeALowCut, 100, 0, 0.8, 15, 96000, true},
    {"AHighCut6", kTypeAHighCut, 5000, 0, 0.7, 0, 48000, true},
    {"AHighCut12", kTypeAHighCut, 3000, 0, 1.5, 1, 48000, true},
    {"AHighCut42", kTypeAHighCut, 8000, 0, 0.9, 6, 44100, true},
    {"ALowShelf", kTypeALowShelf, 300, 6, 0.7, 0, 48000, true},
    {"AHighShelf", kTypeAHighShelf, 6000, -8, 1.0, 0, 44100, true},
    {"ATiltShelf", kTypeATiltShelf, 1000, 5, 0.7, 0, 48000, true},
    {"AFlatTilt44", kTypeAFlatTilt, 100, 6, 0.7, 0, 44100, true},
    {"AFlatTilt48", kTypeAFlatTilt, 500, -4, 0.7, 0, 48000, true},
    {"AFlatTilt96", kTypeAFlatTilt, 2000, 3, 0.7, 0, 96000, true},
    {"ABandPass", kTypeABandPass, 1000, 0, 2.0, 0, 48000, true},
    {"ABandPass96", kTypeABandPass, 2000, 0, 4.0, 15, 96000, true},
    {"ANotch", kTypeANotch, 1000, 0, 2.0, 0, 48000, true},
    {"ANotch96", kTypeANotch, 4000, 0, 1.0, 15, 44100, true},
    {"DPeak", kTypeDPeak, 1000, 6, 0.7, 1, 48000, true},
    {"DPeakSteep", kTypeDPeak, 3000, -9, 1.4, 7, 96000, true},
    {"DLowCut", kTypeDLowCut, 100, 0, 0.5, 0, 48000, true},
    {"DLowCutResonant", kTypeDLowCut, 200, 0, 2.0, 3, 48000, true},
    {"DHighCut", kTypeDHighCut, 5000, 0, 1.0, 1, 44100, true},
    {"DHighCut96", kTypeDHighCut, 8000, 0, 0.7, 15, 96000, true},
    {"DLowShelf", kTypeDLowShelf, 200, 6, 0.7, 2, 48000, true},
    {"DHighShelf", kTypeDHighShelf, 5000, -6, 0.7, 5, 48000, true},
    {"DTiltShelf", kTypeDTiltShelf, 1000, 4, 0.7, 3, 48000, true},
    {"DBandPass", kTypeDBandPass, 1000, 0, 1.0, 1, 48000, true},
    {"DBandPassSteep", kTypeDBandPass, 2500, 0, 3.0, 9, 96000, true},
    {"GainStage", kBandGainStage, 1000, -6, 0.7, 0, 48000, true},
};

class BandTypes : public ::testing::TestWithParam<BandCase> {
 protected:
  void SetUp() override {
    const BandCase& c = GetParam();
    DesignBand(mBand, c.type, c.f, c.g, c.q, c.slope, c.rate, c.noCorrection);
  }
  double W(double f) const { return 2 * kPi * f / GetParam().rate; }
  BandFilter mBand;
};

// The band edges of a band design in radians and the centre its band-pass
// transform maps the prototype's DC to: cos w0 = cos((wH+wL)/2) / cos((wH-wL)/2).
double BandCentre(double centreHz, double width, double rate) {
  const double low = std::max(centreHz / (1 + 1 / width), 1.0);
  const double high = std::min(centreHz * (1 + 1 / width), rate - 1);
  const double wL = 2 * kPi * low / rate, wH = 2 * kPi * high / rate;
  return std::acos(std::cos((wH + wL) / 2) / std::cos((wH - wL) / 2));
}

}  // namespace

TEST_P(BandTypes, SineThroughThePerSamplePathMatchesTheCoefficients) {
  const BandCase& c = GetParam();
  for (double f : {std::round(c.f / 3), c.f, std::round(c.f * 2.7)}) {
    if (f >= 0.48 * c.rate) continue;
    ResetBand(mBand);
    const Complex measured = MeasureWithSine(mBand, f, c.rate);
    const Complex computed = BandResponse(mBand, W(f), true);
    EXPECT_LT(std::abs(measured - computed), 1e-8 * std::max(1.0, std::abs(computed)))
        << f << " Hz: measured " << Db(measured) << " dB, computed " << Db(computed) << " dB";
  }
}

TEST_P(BandTypes, ResponseMatchesTheCoefficients) {
  const BandCase& c = GetParam();
  for (double f : {20.0, c.f / 3, c.f, c.f * 2.7, 0.45 * c.rate}) {
    if (f >= 0.5 * c.rate - 1.0) continue;
    double expected = 0.0;
    if (mBand.mMode == BandFilter::kModeDesigns) {
      // Each design reads as -144 dB once its magnitude is 6.309e-08 or less.
      const auto floored = [](Complex h) { return std::abs(h) <= 6.309e-08 ? -144.0 : Db(h); };
      expected = floored(CascadeResponse(CascadeOf(*mBand.mDesignSet1[mBand.mIndexA], mBand.mIndexA), W(f)));
      if (BandTestSupport::UsesSecondDesign(c.type)) {
        expected += floored(CascadeResponse(CascadeOf(*mBand.mDesignSet2[mBand.mIndexB], mBand.mIndexB), W(f)));
      }
    } else {
      expected = Db(BandResponse(mBand, W(f), false));
    }
    if (expected < -120.0) {
      EXPECT_LT(GetBandResponseDB(mBand, f, c.rate), -120.0) << f;  // the notch's zero
    } else {
      EXPECT_NEAR(GetBandResponseDB(mBand, f, c.rate), expected, 1e-8) << f;
    }
  }
  // At or above Nyquist the band is read 1 Hz below it.
  const double top = GetBandResponseDB(mBand, 0.5 * c.rate - 1.0, c.rate);
  EXPECT_EQ(GetBandResponseDB(mBand, 0.5 * c.rate, c.rate), top);
  EXPECT_EQ(GetBandResponseDB(mBand, 3.0 * c.rate, c.rate), top);
}

TEST_P(BandTypes, LevelAtItsFrequencyIsWhatTheDesignPromises) {
  const BandCase& c = GetParam();
  const double atF = Db(BandResponse(mBand, W(c.f), true));
  const double cutStages = (c.slope + 1) / 2 * 20 * std::log10(c.q);
  const bool odd = (c.slope + 1) % 2 == 1;
  switch (c.type) {
    case kTypeAPeak:
    case kBandGainStage: EXPECT_NEAR(atF, c.g, 1e-8); break;
    case kTypeALowShelf:
    case kTypeAHighShelf:
    case kTypeDLowShelf:
    case kTypeDHighShelf: EXPECT_NEAR(atF, c.g / 2, 1e-8); break;
    case kTypeATiltShelf:
    case kTypeDTiltShelf: EXPECT_NEAR(atF, 0.0, 1e-8); break;
    case kTypeALowCut: EXPECT_NEAR(atF, cutStages + (odd ? kHalfPowerDb : 0.0), 1e-8); break;
    case kTypeAHighCut:
      // The first-order section runs at twice the rate on a held input;
      // the display reads its design-rate response, -3 dB at f.
      if (odd) {
        EXPECT_NEAR(GetBandResponseDB(mBand, c.f, c.rate), cutStages + kHalfPowerDb, 1e-8);
      } else {
        EXPECT_NEAR(atF, cutStages, 1e-8);
      }
      break;
    case kTypeABandPass: EXPECT_NEAR(atF, 0.0, 1e-8); break;
    case kTypeANotch:
      EXPECT_LT(atF, -150.0);
      EXPECT_LT(Db(MeasureWithSine(mBand, c.f, c.rate)), -100.0);
      break;
    case kTypeDPeak: EXPECT_NEAR(Db(BandResponse(mBand, BandCentre(c.f, c.q / 0.7, c.rate), true)), c.g, 1e-8); break;
    case kTypeDBandPass: EXPECT_NEAR(Db(BandResponse(mBand, BandCentre(c.f, c.q, c.rate), true)), 0.0, 1e-8); break;
    case kTypeDLowCut:
    case kTypeDHighCut: {
      // A Butterworth cut is 3 dB down at f; the resonance shelf adds
      // 20 log10(Q'/0.7) at its own centre.
      const Dsp::Cascade& cut = CascadeOf(*mBand.mDesignSet1[mBand.mIndexA], mBand.mIndexA);
      EXPECT_NEAR(Db(CascadeResponse(cut, W(c.f))), kHalfPowerDb, 1e-8);
      const double resonanceQ = c.slope == 0 ? std::max(c.q, 0.7) : c.q;
      const double width = (c.slope >= 1 ? c.slope : 1) * std::sqrt(resonanceQ);
      const Dsp::Cascade& shelf = CascadeOf(*mBand.mDesignSet2[mBand.mIndexB], mBand.mIndexB);
      EXPECT_NEAR(Db(CascadeResponse(shelf, BandCentre(c.f, width, c.rate))), 20 * std::log10(resonanceQ / 0.7), 1e-8);
      break;
    }
    case kTypeAFlatTilt: EXPECT_NEAR(mBand.mLevelOffsetDb, (3 - std::log10(c.f)) * 4.0 / 3.0 * c.g, 1e-12); break;
    default: FAIL();
  }
}

INSTANTIATE_TEST_SUITE_P(AllTypes, BandTypes, ::testing::ValuesIn(kCases), CaseName);

TEST(BandProcessing, StageCountsFollowTheSlope) {
  struct Case {
    int type, slope;
    int stagesRun;
    bool oddRuns;
  };
  const Case cases[] = {{kTypeALowCut, 0, 0, true},    {kTypeALowCut, 1, 1, false},  {kTypeALowCut, 15, 8, false},
                        {kTypeAHighCut, 4, 2, true},   {kTypeABandPass, 15, 16, false},
                        {kTypeABandPass, 14, 15, false}, {kTypeANotch, 2, 3, false}};
  for (const Case& c : cases) {
    BandFilter band;
    DesignBand(band, c.type, 1000.0, 0.0, 0.9, c.slope, 48000.0, true);
    ProcessBandSample(band, 0.5);
    int ran = 0;
    for (const BiquadSection& s : band.mStages) ran += s.x0 != 0.0 ? 1 : 0;
    EXPECT_EQ(ran, c.stagesRun) << c.type << "/" << c.slope;
    EXPECT_EQ(band.mOddSection.x0 != 0.0, c.oddRuns) << c.type << "/" << c.slope;
  }
}

TEST(BandProcessing, RedesignKeepsStateAndResetClearsIt) {
  // Two identical bands run side by side; one is redesigned with the same
  // settings half way. Its output must not change: no state was lost.
  for (int type : {kTypeAPeak, kTypeALowCut, kTypeANotch, kTypeDPeak, kTypeDLowCut, kTypeDTiltShelf}) {
    BandFilter a, b;
    DesignBand(a, type, 800.0, 6.0, 1.3, 3, 48000.0, false);
    DesignBand(b, type, 800.0, 6.0, 1.3, 3, 48000.0, false);
    for (int i = 0; i < 300; ++i) {
      if (i == 150) DesignBand(b, type, 800.0, 6.0, 1.3, 3, 48000.0, false);
      const double x = std::sin(0.05 * i) + 0.3 * std::sin(0.71 * i);
      ASSERT_EQ(ProcessBandSample(a, x), ProcessBandSample(b, x)) << type << " at " << i;
    }
    // After a reset the first output depends only on the input.
    BandFilter fresh;
    DesignBand(fresh, type, 800.0, 6.0, 1.3, 3, 48000.0, false);
    ResetBand(b);
    for (int i = 0; i < 20; ++i) ASSERT_EQ(ProcessBandSample(b, 0.25 * i), ProcessBandSample(fresh, 0.25 * i)) << type;
  }
  // A peak whose state is cleared gives b0n (x + e) + e for its first sample.
  BandFilter peak;
  DesignBand(peak, kTypeAPeak, 1000.0, 6.0, 0.7, 0, 96000.0, true);
  ProcessBandSample(peak, 0.9);
  ResetBand(peak);
  EXPECT_EQ(ProcessBandSample(peak, 0.5), peak.mStages[0].b0n * (0.5 + 1e-24) + 1e-24);
}

TEST(BandProcessing, DigitalTypesAddNoOffset) {
  // The Butterworth designs run without the sections' 1e-24: silence in
  // gives silence out.
  BandFilter band;
  DesignBand(band, kTypeDLowCut, 100.0, 0.0, 1.0, 5, 48000.0, true);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(ProcessBandSample(band, 0.0), 0.0);
}

TEST(BandProcessing, UnknownModePassesThrough) {
  BandFilter band;
  DesignBand(band, kTypeAPeak, 1000.0, 6.0, 0.7, 0, 48000.0, true);
  band.mMode = 7;
  EXPECT_EQ(ProcessBandSample(band, 0.3), 0.3);
  EXPECT_EQ(GetBandResponseDB(band, 1000.0, 48000.0), 0.0);
}
