#include "plugin/engine/BandDesign.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/plugin/engine/BandTestSupport.h"

using BandTestSupport::BandResponse;
using BandTestSupport::Db;
using BandTestSupport::kHalfPowerDb;
using BandTestSupport::kPi;
using BandTestSupport::RawResponse;
using BandTestSupport::RunResponse;

namespace {

BiquadSection Designed(int kind, double f, double g, double q, double rate) {
  BiquadSection s;
  DesignBiquad(s, kind, f, g, q, rate);
  return s;
}

double W(double f, double rate) { return 2.0 * kPi * f / rate; }

}  // namespace

TEST(BandDesign, FrequencyIsClampedAndTypeDefaulted) {
  struct Case {
    double frequency, rate, designed;
  };
  const Case cases[] = {{5.0, 48000.0, 10.0},
                        {30000.0, 48000.0, 23760.0},
                        {1000.0, 44100.0, 1000.0},
                        {std::numeric_limits<double>::quiet_NaN(), 48000.0, 10.0}};
  for (const Case& c : cases) {
    BandFilter band;
    DesignBand(band, kTypeALowShelf, c.frequency, 3.0, 0.7, 0, c.rate, true);
    EXPECT_DOUBLE_EQ(band.mFrequency, c.designed) << c.frequency;
    EXPECT_EQ(band.mSampleRate, c.rate);
  }
  for (int type : {17, 99, -1}) {
    BandFilter band;
    DesignBand(band, type, 1000.0, 6.0, 1.0, 3, 48000.0, true);
    EXPECT_EQ(band.mType, kTypeAPeak) << type;
    EXPECT_EQ(band.mStages[0].kind, kSectionMatchedPeak);
    EXPECT_NEAR(Db(BandResponse(band, W(1000.0, 48000.0), false)), 6.0, 1e-9);
  }
}

TEST(BandDesign, PeakCorrectionAtOneTimesTheRate) {
  const double f = 9000.0, g = 9.0, q = 0.5, r = 48000.0;
  BandFilter plain, corrected;
  DesignBand(plain, kTypeAPeak, f, g, q, 0, r, true);
  DesignBand(corrected, kTypeAPeak, f, g, q, 0, r, false);
  EXPECT_FALSE(plain.mCorrectionOn);
  EXPECT_EQ(plain.mGain, g);

  // c is half the difference at 0.495 x rate between the peak at 4x and at 1x.
  const double r1 = Db(RawResponse(Designed(kSectionMatchedPeak, f, g, q, r), W(0.495 * r, r)));
  const double r4 = Db(RawResponse(Designed(kSectionMatchedPeak, f, g, q, 4 * r), W(0.495 * r, 4 * r)));
  const double c = (r4 - r1) / 2;
  EXPECT_GT(std::fabs(c), 0.01);  // a case where the correction matters
  EXPECT_TRUE(corrected.mCorrectionOn);
  EXPECT_NEAR(corrected.mGain, g - c, 1e-9);
  EXPECT_EQ(corrected.mCorrection.kind, kSectionHighShelf);
  // The shelf adds c at f and 2c far above it.
  EXPECT_NEAR(Db(RawResponse(corrected.mCorrection, W(f, r))), c, 1e-9);
  EXPECT_NEAR(Db(RawResponse(corrected.mCorrection, kPi)), 2 * c, 1e-9);
  // Either way the band peaks at its gain, and the corrected one lies
  // nearer the 4x shape at the top of the band.
  EXPECT_NEAR(Db(BandResponse(plain, W(f, r), false)), g, 1e-9);
  EXPECT_NEAR(Db(BandResponse(corrected, W(f, r), false)), g, 1e-9);
  EXPECT_LT(std::fabs(Db(BandResponse(corrected, W(0.495 * r, r), false)) - r4),
            std::fabs(Db(BandResponse(plain, W(0.495 * r, r), false)) - r4));

  // Gain 0: nothing to correct, but the (unity) correction is still on.
  BandFilter flat;
  DesignBand(flat, kTypeAPeak, f, 0.0, q, 0, r, false);
  EXPECT_TRUE(flat.mCorrectionOn);
  EXPECT_NEAR(flat.mGain, 0.0, 1e-12);
  EXPECT_NEAR(Db(RawResponse(flat.mCorrection, kPi)), 0.0, 1e-12);
}

// What each section kind promises at its own frequency.
struct KindCase {
  int kind;
  double f, g, q, rate;
};
class SectionKinds : public ::testing::TestWithParam<KindCase> {};

TEST_P(SectionKinds, LevelAtItsFrequency) {
  const KindCase c = GetParam();
  const BiquadSection s = Designed(c.kind, c.f, c.g, c.q, c.rate);
  const double w = W(c.f, c.rate);
  const double atF = Db(RawResponse(s, c.kind == kSectionLowPass1Twice ? w / 2 : w));
  switch (c.kind) {
    case kSectionHighShelf:
      EXPECT_NEAR(atF, c.g / 2, 1e-9);
      EXPECT_NEAR(Db(RawResponse(s, 0.0)), 0.0, 1e-9);
      EXPECT_NEAR(Db(RawResponse(s, kPi)), c.g, 1e-9);
      break;
    case kSectionLowShelf:
      EXPECT_NEAR(atF, c.g / 2, 1e-9);
      EXPECT_NEAR(Db(RawResponse(s, 0.0)), c.g, 1e-9);
      EXPECT_NEAR(Db(RawResponse(s, kPi)), 0.0, 1e-9);
      break;
    case kSectionMatchedPeak:
      // Low in the band the numerator terms nearly cancel: 1e-7 dB.
      EXPECT_NEAR(atF, c.g, 1e-7);
      EXPECT_NEAR(Db(RawResponse(s, 0.0)), 0.0, 1e-9);
      break;
    case kSectionMatchedHighPass:
    case kSectionMatchedLowPass:
      // A second-order cut's analogue prototype has the level Q at f.
      EXPECT_NEAR(atF, 20 * std::log10(c.q), 1e-9);
      break;
    case kSectionMatchedBandPass:
      EXPECT_NEAR(atF, 0.0, 1e-9);
      EXPECT_LT(std::abs(RawResponse(s, 0.0)), 1e-12);
      break;
    case kSectionNotch:
      EXPECT_LT(std::abs(RawResponse(s, w)), 1e-9);
      EXPECT_NEAR(Db(RawResponse(s, 0.0)), 0.0, 1e-9);
      break;
    case kSectionHighPass1:
    case kSectionLowPass1Twice: EXPECT_NEAR(atF, kHalfPowerDb, 1e-9); break;
    case kSectionGain:
      EXPECT_NEAR(atF, c.g, 1e-9);
      EXPECT_NEAR(Db(RawResponse(s, 2.0)), c.g, 1e-9);
      break;
    default: FAIL() << c.kind;
  }
  // Normalised to a0 = 1.
  EXPECT_EQ(s.a0n, 1.0);
  EXPECT_NEAR(s.b0n * s.a0, s.b0, 1e-15 * std::fabs(s.b0) + 1e-300);
}

INSTANTIATE_TEST_SUITE_P(
    AllKinds, SectionKinds,
    ::testing::Values(KindCase{3, 1000, 6, 0.7, 48000}, KindCase{3, 15000, -12, 2.0, 44100},
                      KindCase{4, 80, 9, 0.5, 96000}, KindCase{4, 3000, -4, 1.3, 48000},
                      KindCase{17, 1000, 9, 1.5, 48000}, KindCase{17, 18000, -12, 0.4, 44100},
                      KindCase{17, 60, 3, 8.0, 192000}, KindCase{18, 100, 0, 0.7, 48000},
                      KindCase{18, 2000, 0, 0.3, 44100}, KindCase{18, 500, 0, 4.0, 96000},
                      KindCase{19, 5000, 0, 0.7, 48000}, KindCase{19, 15000, 0, 2.5, 44100},
                      KindCase{19, 300, 0, 0.4, 96000}, KindCase{20, 1000, 0, 2.0, 48000},
                      KindCase{20, 10000, 0, 0.5, 44100}, KindCase{11, 1000, 0, 2.0, 48000},
                      KindCase{11, 15000, 0, 1.0, 44100}, KindCase{11, 40, 0, 5.0, 96000},
                      KindCase{13, 100, 0, 0, 48000}, KindCase{13, 12000, 0, 0, 44100},
                      KindCase{15, 5000, 0, 0, 48000}, KindCase{15, 20000, 0, 0, 44100},
                      KindCase{21, 0, -6, 0, 48000}, KindCase{21, 0, 18, 0, 48000}));

// Far below the rate (the lowest bands, at 4x most of all) the matched
// band-pass must still pass its centre at 0 dB: its numerator used to follow
// the rounding of its poles and gave up to +50 dB per section there.
TEST(BandDesign, MatchedBandPassKeepsItsCentreFarBelowTheRate) {
  struct Case {
    double f, q, rate;
  };
  for (const Case& c : {Case{10, 5.0, 384000}, Case{20, 5.0, 384000}, Case{10, 10.0, 192000}, Case{10, 100.0, 48000},
                        Case{60, 100.0, 192000}, Case{10, 0.7071, 1536000}, Case{10, 0.5, 1536000},
                        Case{10, 0.3, 768000}, Case{25, 2.0, 1536000}, Case{47, 100.0, 48000}, Case{49, 100.0, 48000},
                        Case{200, 1.0, 48000}}) {
    const BiquadSection s = Designed(kSectionMatchedBandPass, c.f, 0.0, c.q, c.rate);
    const double w = W(c.f, c.rate);
    // As the samples are run, and as the display measures it.
    EXPECT_NEAR(Db(RunResponse(s, w)), 0.0, 1e-3) << c.f << " Hz, Q " << c.q << ", " << c.rate;
    EXPECT_NEAR(GetBiquadResponseDB(s, c.f, c.rate), 0.0, 1e-3) << c.f << " Hz, Q " << c.q << ", " << c.rate;
    // Half power an analogue bandwidth f / Q apart, around the centre.
    const double half = c.f / (2.0 * c.q);
    const double lower = std::sqrt(half * half + c.f * c.f) - half;
    EXPECT_NEAR(Db(RunResponse(s, W(lower, c.rate))), kHalfPowerDb, 0.01) << c.f << " Hz, Q " << c.q;
    EXPECT_LT(std::abs(RunResponse(s, 0.0)), 1e-12);
  }
}

TEST(BandDesign, MatchedPeakWithoutGainIsFlat) {
  for (double q : {0.05, 0.4, 0.7, 3.0, 40.0}) {
    const BiquadSection s = Designed(kSectionMatchedPeak, 2500.0, 0.0, q, 48000.0);
    for (double f : {10.0, 500.0, 2500.0, 12000.0, 23900.0}) {
      EXPECT_NEAR(Db(RawResponse(s, W(f, 48000.0))), 0.0, 1e-9) << "Q " << q << " at " << f;
    }
  }
}

TEST(BandDesign, GainKindAndDegenerateDesigns) {
  EXPECT_EQ(Designed(kSectionGain, 0, -144.0, 0, 48000).b0, 0.0);
  EXPECT_EQ(Designed(kSectionGain, 0, -200.0, 0, 48000).b0n, 0.0);
  EXPECT_NEAR(Designed(kSectionGain, 0, -143.9, 0, 48000).b0 / std::pow(10.0, -143.9 / 20), 1.0, 1e-12);

  // A shelf with a NaN gain has a NaN a0: it keeps cleared coefficients and
  // passes only the denormal offset, never NaN.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (int kind : {int{kSectionHighShelf}, int{kSectionLowShelf}, 0, 5}) {
    BiquadSection s = Designed(kind, 1000.0, nan, 0.7, 48000.0);
    EXPECT_EQ(s.kind, kind);
    EXPECT_EQ(s.a0n, 1.0);
    EXPECT_EQ(s.b0n, 0.0);
    EXPECT_EQ(s.a1n, 0.0);
    EXPECT_EQ(ProcessBiquadSample(s, 1.0), 1e-24);
  }
}

TEST(BandDesign, NotchQCorrectionFixedRows) {
  struct Row {
    double hz, k;
  };
  const Row rows[] = {{10, 0.951},    {200, 0.951},   {503, 0.951},   {1000, 0.953},  {2000, 0.959},
                      {3000, 0.966},  {4000, 0.974},  {5000, 0.984},  {6000, 0.996},  {7000, 1.009},
                      {8000, 1.023},  {9000, 1.039},  {10000, 1.056}, {11000, 1.076}, {12000, 1.099},
                      {13000, 1.126}, {14000, 1.156}, {15000, 1.191}, {16000, 1.234}, {17000, 1.287},
                      {18000, 1.351}, {19000, 1.434}, {20000, 1.539}, {21000, 1.679}, {22000, 1.874},
                      {22050, 1.886}};
  for (const Row& r : rows) EXPECT_EQ(NotchQCorrection(static_cast<int>(r.hz) - 10), r.k) << r.hz;
  // Outside the table the first and last rows hold.
  EXPECT_EQ(NotchQCorrection(-5), 0.951);
  EXPECT_EQ(NotchQCorrection(30000), 1.886);
  double last = 0.0;
  for (int row = 0; row <= 22040; ++row) {
    const double k = NotchQCorrection(row);
    ASSERT_GE(k, last) << row;
    ASSERT_EQ(k, std::floor(k * 1000 + 0.5) / 1000) << row;  // three decimals
    last = k;
  }
}

TEST(BandDesign, NotchIsZeroAtItsFrequencyOverTheWholeTable) {
  // Frequencies below the first row, in the middle and past the last row
  // (f / r x 44100 above 22050 Hz).
  for (double f : {5.0, 1000.0, 21000.0, 23700.0}) {
    const double r = 48000.0;
    BandFilter band;
    DesignBand(band, kTypeANotch, f, 0.0, 1.5, 0, r, true);
    EXPECT_LT(std::abs(RawResponse(band.mStages[0], W(band.mFrequency, r))), 1e-9) << f;
  }
}

TEST(BandDesign, NotchHalfPowerWidthUsesTheCorrectedQ) {
  // The notch's half-power points lie exactly dw = 2 atan(sin(w/2) / Q')
  // apart, Q' = k Q with k from the row of f scaled to 44.1 kHz. Measuring
  // that width checks the row lookup without restating the design.
  struct Case {
    double f, q, rate, k;
  };
  const Case cases[] = {{1000, 0.5, 44100, 0.953},
                        {8000, 2.0, 44100, 1.023},
                        {15000, 2.0, 44100, 1.191},
                        {10000.5 * 48000 / 44100, 1.5, 48000, 1.056},  // scaled to 10000 Hz
                        {5, 1.0, 44100, 0.951}};                       // below the first row
  for (const Case& c : cases) {
    const BiquadSection s = Designed(kSectionNotch, c.f, 0.0, c.q, c.rate);
    const double w0 = W(c.f, c.rate);
    const auto below = [&s](double w) { return std::norm(RawResponse(s, w)) < 0.5; };
    const auto edge = [&below](double inside, double outside) {
      for (int i = 0; i < 200; ++i) {
        const double mid = (inside + outside) / 2;
        (below(mid) ? inside : outside) = mid;
      }
      return (inside + outside) / 2;
    };
    const double width = edge(w0, kPi - 1e-9) - edge(w0, 1e-9);
    EXPECT_NEAR(width, 2 * std::atan(std::sin(w0 / 2) / (c.k * c.q)), 1e-9 * width) << c.f;
  }
}
