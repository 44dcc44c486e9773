#include "plugin/controller/SpectrumAnalyzerFeed.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "plugin/engine/SpectrumAnalyzer.h"

namespace {

constexpr double kRate = 44100.0;
constexpr double kLeftHz = 1000.0;
constexpr double kRightHz = 3000.0;
constexpr double kLeftAmp = 0.5;
constexpr double kRightAmp = 0.25;

// Peak magnitude around a frequency's bin (the window spreads a tone over a
// few bins).
double MagnitudeNear(const SpectrumAnalyzer& analyzer, double hz) {
  const int centre = static_cast<int>(std::lround(hz * analyzer.FftLength() / kRate));
  double peak = 0.0;
  for (int k = centre - 3; k <= centre + 3; ++k) peak = std::max(peak, analyzer.Magnitude()[k]);
  return peak;
}

// The amplitudes each mode must hand over: the sum, either channel, or mid
// and side, (L +- R) / 2, whose tones each carry half of their channel's.
struct FeedCase {
  int mode;
  int nChannels;
  double leftPart;   // share of the left tone that reaches the analyser
  double rightPart;  // share of the right tone
  bool fed;
};

class FeedModes : public ::testing::TestWithParam<FeedCase> {};

TEST_P(FeedModes, EachModeHandsOverItsChannelOrCombination) {
  const FeedCase c = GetParam();
  SpectrumAnalyzer analyzer;
  analyzer.SetSampleRate(kRate);
  analyzer.AllocAnalyzerBuffers();
  analyzer.SetEnabled(true);
  SpectrumAnalyzerFeed feed;
  feed.SetAnalyzer(&analyzer);

  const int n = 2 * analyzer.FftLength();
  std::vector<double> left(n), right(n);
  for (int i = 0; i < n; ++i) {
    left[i] = kLeftAmp * std::sin(2.0 * M_PI * kLeftHz * i / kRate);
    right[i] = kRightAmp * std::sin(2.0 * M_PI * kRightHz * i / kRate);
  }
  double* channels[2] = {left.data(), right.data()};
  feed.FeedAnalyzer(channels, c.nChannels, n, c.mode);
  if (!c.fed) {
    EXPECT_EQ(analyzer.Filled(), 0);
    return;
  }
  ASSERT_EQ(analyzer.Filled(), n);
  analyzer.AnalyzeFrames();

  // A reference analyser fed the left tone alone at full amplitude fixes
  // the scale: magnitudes are linear in the amplitude.
  SpectrumAnalyzer reference;
  reference.SetSampleRate(kRate);
  reference.AllocAnalyzerBuffers();
  double* leftOnly[1] = {left.data()};
  reference.FeedInput(leftOnly, n, 1, 0, false);
  reference.AnalyzeFrames();
  const double perUnit = MagnitudeNear(reference, kLeftHz) / kLeftAmp;

  const double tolerance = 0.02 * perUnit * kLeftAmp;
  EXPECT_NEAR(MagnitudeNear(analyzer, kLeftHz), c.leftPart * kLeftAmp * perUnit, tolerance);
  if (c.nChannels > 1) {
    EXPECT_NEAR(MagnitudeNear(analyzer, kRightHz), c.rightPart * kRightAmp * perUnit, tolerance);
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, FeedModes,
                         ::testing::Values(FeedCase{0, 2, 1.0, 1.0, true}, FeedCase{1, 2, 1.0, 0.0, true},
                                           FeedCase{2, 2, 0.0, 1.0, true}, FeedCase{3, 2, 0.5, 0.5, true},
                                           FeedCase{4, 2, 0.5, 0.5, true}, FeedCase{5, 2, 0.0, 0.0, false},
                                           FeedCase{-1, 2, 0.0, 0.0, false},
                                           // Mono: "Right" and "Side" have nothing, "Mid" is the channel.
                                           FeedCase{2, 1, 0.0, 0.0, false}, FeedCase{4, 1, 0.0, 0.0, false},
                                           FeedCase{3, 1, 1.0, 0.0, true}));

}  // namespace
