#include "plugin/engine/BandFilter.h"

#include <gtest/gtest.h>

#include <cmath>

#include "plugin/engine/BandDesign.h"
#include "tests/plugin/engine/BandTestSupport.h"

using BandTestSupport::BandResponse;
using BandTestSupport::Db;
using BandTestSupport::kPi;

namespace {

bool SameDesign(const BiquadSection& a, const BiquadSection& b) {
  return a.kind == b.kind && a.a0 == b.a0 && a.a1 == b.a1 && a.a2 == b.a2 && a.b0 == b.b0 && a.b1 == b.b1 &&
         a.b2 == b.b2 && a.a1n == b.a1n && a.a2n == b.a2n && a.b0n == b.b0n && a.b1n == b.b1n && a.b2n == b.b2n;
}

BiquadSection Designed(int kind, double f, double g, double q, double rate) {
  BiquadSection s;
  DesignBiquad(s, kind, f, g, q, rate);
  return s;
}

}  // namespace

struct RecipeCase {
  int type, slope;
  int mode, indexA, indexB, stageCount;
  bool skipOdd;
};
class BandRecipes : public ::testing::TestWithParam<RecipeCase> {};

TEST_P(BandRecipes, ModeIndicesAndStages) {
  const RecipeCase c = GetParam();
  BandFilter band;
  DesignBand(band, c.type, 1000.0, 4.0, 0.9, c.slope, 48000.0, true);
  EXPECT_EQ(band.mMode, c.mode);
  EXPECT_EQ(band.mIndexA, c.indexA);
  EXPECT_EQ(band.mIndexB, c.indexB);
  EXPECT_EQ(band.mSkipOddSection, c.skipOdd);
  EXPECT_EQ(band.mStageCount, c.stageCount);  // the digital types keep the slope there, unused
  if (c.mode == BandFilter::kModeSections) {
    EXPECT_EQ(band.mStages[0].kind, c.indexA);
    // Every stage is stage 0 again, same Q: the steep slopes are resonant
    // cascades of one section, not Butterworth cascades.
    const int copies = c.type == kTypeABandPass || c.type == kTypeANotch ? 16 : 8;
    const int first = c.type == kTypeATiltShelf ? 2 : 1;
    if (c.type != kTypeAFlatTilt) {
      for (int k = first; k < copies; ++k) EXPECT_TRUE(SameDesign(band.mStages[k], band.mStages[0])) << k;
    }
  }
}

using BF = BandFilter;
INSTANTIATE_TEST_SUITE_P(
    AllTypes, BandRecipes,
    ::testing::Values(RecipeCase{kTypeAPeak, 5, 0, 17, 0, 0, true},
                      RecipeCase{kTypeALowCut, 0, 0, 18, 13, 0, false},  // only the first-order section
                      RecipeCase{kTypeALowCut, 1, 0, 18, 13, 1, true},
                      RecipeCase{kTypeALowCut, 4, 0, 18, 13, 2, false},
                      RecipeCase{kTypeALowCut, 15, 0, 18, 13, 8, true},
                      RecipeCase{kTypeAHighCut, 0, 0, 19, 15, 0, false},
                      RecipeCase{kTypeAHighCut, 6, 0, 19, 15, 3, false},
                      RecipeCase{kTypeALowShelf, 3, 0, 4, 0, 0, true},
                      RecipeCase{kTypeAHighShelf, 0, 0, 3, 0, 0, false},
                      RecipeCase{kTypeATiltShelf, 0, 0, 3, 4, 0, false},
                      RecipeCase{kTypeAFlatTilt, 0, 0, 3, 4, 0, false},
                      RecipeCase{kTypeABandPass, 0, 0, 20, 0, 1, false},
                      RecipeCase{kTypeABandPass, 15, 0, 20, 0, 16, true},
                      RecipeCase{kTypeANotch, 7, 0, 11, 0, 8, true},
                      RecipeCase{kTypeDPeak, 2, 1, BF::kDesignBandShelf, 0, 2, false},
                      RecipeCase{kTypeDLowCut, 3, 1, BF::kDesignHighPass, BF::kDesignBandShelf, 3, true},
                      RecipeCase{kTypeDHighCut, 0, 1, BF::kDesignLowPass, BF::kDesignBandShelf, 0, false},
                      RecipeCase{kTypeDLowShelf, 1, 1, BF::kDesignLowShelf, 0, 1, true},
                      RecipeCase{kTypeDHighShelf, 1, 1, BF::kDesignHighShelf, 0, 1, true},
                      RecipeCase{kTypeDTiltShelf, 4, 1, BF::kDesignLowShelf, BF::kDesignHighShelf, 4, false},
                      RecipeCase{kTypeDBandPass, 9, 1, BF::kDesignBandPass, 0, 9, true},
                      RecipeCase{kBandGainStage, 2, 0, 21, 0, 0, false}));

TEST(BandFilter, TiltShelfIsAPairAtOneFrequency) {
  BandFilter band;
  DesignBand(band, kTypeATiltShelf, 700.0, 5.0, 0.8, 0, 48000.0, true);
  EXPECT_TRUE(SameDesign(band.mStages[0], Designed(kSectionHighShelf, 700.0, 5.0, 0.8, 48000.0)));
  EXPECT_TRUE(SameDesign(band.mStages[1], Designed(kSectionLowShelf, 700.0, -5.0, 0.8, 48000.0)));
  // The two halves meet at 0 dB at f; DC is -g, the top +g.
  EXPECT_NEAR(Db(BandResponse(band, 2 * kPi * 700.0 / 48000.0, false)), 0.0, 1e-9);
  EXPECT_NEAR(Db(BandResponse(band, 0.0, false)), -5.0, 1e-9);
  EXPECT_NEAR(Db(BandResponse(band, kPi, false)), 5.0, 1e-9);

  DesignBand(band, kTypeATiltShelf, 700.0, 0.0, 0.8, 0, 48000.0, true);
  for (double w : {0.0, 0.1, 1.0, kPi}) EXPECT_NEAR(Db(BandResponse(band, w, false)), 0.0, 1e-12);
}

TEST(BandFilter, FlatTiltSectionsLevelAndRateSteps) {
  struct Case {
    double rate, topShare, topQ;
  };
  for (const Case& c : {Case{44100, 0.75, 0.46}, Case{48000, 0.8, 0.48}, Case{96000, 0.85, 0.55}}) {
    BandFilter band;
    DesignBand(band, kTypeAFlatTilt, 1000.0, 6.0, 3.0, 4, c.rate, true);
    // Neither the band's frequency nor its Q moves the sections.
    EXPECT_TRUE(SameDesign(band.mStages[0], Designed(kSectionHighShelf, 1000.0, 6.0, 0.36, c.rate)));
    EXPECT_TRUE(SameDesign(band.mStages[1], Designed(kSectionLowShelf, 1000.0, -6.0, 0.36, c.rate)));
    EXPECT_TRUE(SameDesign(band.mStages[2], Designed(kSectionLowShelf, 33.0, -12.0, 0.38, c.rate)));
    EXPECT_TRUE(SameDesign(band.mStages[3], Designed(kSectionHighShelf, 10500.0, c.topShare * 6.0, c.topQ, c.rate)));
    EXPECT_EQ(band.mOutputFactor, 1.0);  // the pivot is 1 kHz
    EXPECT_EQ(band.mLevelOffsetDb, 0.0);
  }
  BandFilter band;
  DesignBand(band, kTypeAFlatTilt, 100.0, 6.0, 0.7, 0, 48000.0, true);
  EXPECT_NEAR(band.mLevelOffsetDb, 8.0, 1e-12);  // one decade below the pivot, 4/3 g
  EXPECT_NEAR(band.mOutputFactor, std::pow(10.0, 8.0 / 20), 1e-12);
  // A level offset of -144 dB or below silences the output.
  DesignBand(band, kTypeAFlatTilt, 10000.0, 48.0, 0.7, 0, 48000.0, true);
  EXPECT_NEAR(band.mLevelOffsetDb, -64.0, 1e-12);
  EXPECT_GT(band.mOutputFactor, 0.0);
  band.SetBandFilterType(kTypeAFlatTilt, 10.0, -48.0, 0.7, 0, 48000.0);  // (3 - 1) x 4/3 x -48 = -128
  EXPECT_GT(band.mOutputFactor, 0.0);
  band.SetBandFilterType(kTypeAFlatTilt, 1.0, -60.0, 0.7, 0, 48000.0);  // -240 dB
  EXPECT_EQ(band.mOutputFactor, 0.0);
}

// Below about 21 kHz the top shelf's 10.5 kHz is not below Nyquist: designed
// there the shelf aliases into the audible band (8 kHz) or its poles leave
// the unit circle (11.025 to 21 kHz) and the band's output grows without
// bound, even at 0 dB. It sits at 0.495 of the rate instead, where the band
// frequencies are clamped too.
TEST(BandFilter, FlatTiltStaysStableWhereItsTopShelfPassesNyquist) {
  for (double rate : {8000.0, 11025.0, 16000.0, 20000.0, 22050.0, 44100.0}) {
    for (double gain : {0.0, 6.0, -48.0, 48.0}) {
      BandFilter band;
      DesignBand(band, kTypeAFlatTilt, 1000.0, gain, 0.7, 0, rate, false);
      for (int k = 0; k < 4; ++k) {
        // The stability triangle of 1 + a1 z^-1 + a2 z^-2.
        const BiquadSection& s = band.mStages[k];
        EXPECT_LT(std::fabs(s.a2n), 1.0) << rate << " " << gain << " " << k;
        EXPECT_LT(std::fabs(s.a1n), 1.0 + s.a2n) << rate << " " << gain << " " << k;
      }
      const double top = std::min(10500.0, 0.495 * rate);
      const double share = rate <= 44100.0 ? 0.75 : 0.8;
      EXPECT_TRUE(SameDesign(band.mStages[3], Designed(kSectionHighShelf, top, share * gain, 0.46, rate)))
          << rate << " " << gain;
    }
    // A second of the impulse response: it dies away, and at 0 dB it is the
    // impulse itself.
    for (double gain : {0.0, 6.0}) {
      BandFilter band;
      DesignBand(band, kTypeAFlatTilt, 1000.0, gain, 0.7, 0, rate, false);
      double late = 0.0;
      for (int i = 0; i < static_cast<int>(rate); ++i) {
        const double y = ProcessBandSample(band, i == 0 ? 1.0 : 0.0);
        if (gain == 0.0) {
          ASSERT_NEAR(y, i == 0 ? 1.0 : 0.0, 1e-9) << rate << " " << i;
        }
        if (i >= rate / 2) late = std::max(late, std::fabs(y));
      }
      EXPECT_LT(late, 1e-9) << rate << " " << gain;
    }
  }
}

TEST(BandFilter, DesignParametersOfTheDigitalTypes) {
  struct Case {
    int type, slope;
    double q;
    int set, index;
    Dsp::Params expected;
  };
  const double r = 96000.0, f = 1000.0, g = 5.0;
  const Case cases[] = {
      {kTypeDPeak, 3, 1.4, 1, BandFilter::kDesignBandShelf, {r, 4, f, 2.0, g, 0, 0, 0}},
      {kTypeDLowCut, 0, 1.0, 1, BandFilter::kDesignHighPass, {r, 1, f, 0, 0, 0, 0, 0}},
      {kTypeDHighCut, 7, 1.0, 1, BandFilter::kDesignLowPass, {r, 8, f, 0, 0, 0, 0, 0}},
      {kTypeDLowShelf, 2, 1.0, 1, BandFilter::kDesignLowShelf, {r, 3, f, g, 0, 0, 0, 0}},
      {kTypeDHighShelf, 2, 1.0, 1, BandFilter::kDesignHighShelf, {r, 3, f, g, 0, 0, 0, 0}},
      {kTypeDTiltShelf, 5, 1.0, 1, BandFilter::kDesignLowShelf, {r, 6, f, -g, 0, 0, 0, 0}},
      {kTypeDTiltShelf, 5, 1.0, 2, BandFilter::kDesignHighShelf, {r, 6, f, g, 0, 0, 0, 0}},
      {kTypeDBandPass, 1, 2.5, 1, BandFilter::kDesignBandPass, {r, 2, f, 2.5, 0, 0, 0, 0}},
      // The resonance of the cuts: a first-order band shelf at f, width
      // m sqrt(Q'), gain 20 log10(Q'/0.7). At slope 0 Q' is at least 0.7.
      {kTypeDLowCut, 0, 0.5, 2, BandFilter::kDesignBandShelf, {r, 1, f, std::sqrt(0.7), 0.0, 0, 0, 0}},
      {kTypeDLowCut, 0, 1.4, 2, BandFilter::kDesignBandShelf, {r, 1, f, std::sqrt(1.4), 20 * std::log10(2.0), 0, 0, 0}},
      {kTypeDHighCut, 3, 0.35, 2, BandFilter::kDesignBandShelf, {r, 1, f, 3 * std::sqrt(0.35), -20 * std::log10(2.0), 0, 0, 0}},
  };
  for (const Case& c : cases) {
    BandFilter band;
    DesignBand(band, c.type, f, g, c.q, c.slope, r, true);
    const auto& design = c.set == 1 ? band.mDesignSet1[c.index] : band.mDesignSet2[c.index];
    const Dsp::Params& got = design->getParams();
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(got[i], c.expected[i], 1e-12) << "type " << c.type << " param " << i;
  }
}

TEST(BandFilter, GainStageAtSilenceIsSilent) {
  BandFilter band;
  DesignBand(band, kBandGainStage, 1000.0, -144.0, 0.7, 0, 48000.0, true);
  EXPECT_EQ(band.mStages[0].b0, 0.0);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(ProcessBandSample(band, 0.9), 1e-24);  // the offset alone
  DesignBand(band, kBandGainStage, 1000.0, -6.0, 0.7, 0, 48000.0, true);
  EXPECT_NEAR(ProcessBandSample(band, 1.0), std::pow(10.0, -6.0 / 20), 1e-12);
}
