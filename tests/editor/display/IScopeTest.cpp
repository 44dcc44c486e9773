#include "editor/display/IScope.h"

#include <cmath>

#include <gtest/gtest.h>

#include "plugin/engine/BandTypes.h"

namespace {

// A graph with its own band arrays, wired the way the editor layout wires it.
struct ScopeFixture : ::testing::Test {
  IScope scope{nullptr, IRECT(92, 84, 789, 428), 141, 10.0, 30000.0, 48000.0};
  int active[12] = {};
  int type[12] = {};
  int chMode[12] = {};
  int slope[12] = {};
  int solo[12] = {};
  double gain[12] = {};
  double freq[12] = {};
  double q[12] = {};

  void SetUp() override {
    for (int i = 0; i < 12; ++i) {
      freq[i] = 1000.0;
      q[i] = 0.7;
    }
    scope.mNumBands = 12;
    scope.mBandActive = active;
    scope.mBandType = type;
    scope.mBandChMode = chMode;
    scope.mBandSlope = slope;
    scope.mBandSolo = solo;
    scope.mBandGain = gain;
    scope.mBandFreq = freq;
    scope.mBandQ = q;
    scope.RecomputeRanges();
  }
};

TEST_F(ScopeFixture, GeometryAndStartRanges) {
  EXPECT_EQ(scope.mPlotRect.L, 100);
  EXPECT_EQ(scope.mPlotRect.T, 89);
  EXPECT_EQ(scope.mPlotRect.R, 781);
  EXPECT_EQ(scope.mPlotRect.B, 423);
  EXPECT_EQ(scope.mFreqScaleStrip.T, 423 - 32);
  EXPECT_EQ(scope.mEQScaleStrip.L, 781 - 32);
  // The 0 dB line sits 12 dB above the middle of the plot at zoom 1.
  EXPECT_DOUBLE_EQ(scope.mEqDbLo, -60.0);
  EXPECT_DOUBLE_EQ(scope.mEqDbHi, 36.0);
  EXPECT_DOUBLE_EQ(scope.mSpecDbLo, -96.0);
  EXPECT_DOUBLE_EQ(scope.mSpecDbHi, 0.0);
}

TEST_F(ScopeFixture, HandleHeightFollowsGainOrResonance) {
  type[0] = kTypeAPeak;
  gain[0] = 12.0;
  type[1] = kTypeDLowCut;
  q[1] = 0.7;
  type[2] = kTypeDLowCut;
  q[2] = 1.4;
  type[3] = kTypeANotch;
  gain[3] = 12.0;
  scope.UpdateBandHandles();
  const int zeroY = scope.GainToY(0.0);
  EXPECT_EQ(scope.mHandleCentre[0].y, scope.GainToY(12.0));
  EXPECT_EQ(scope.mHandleCentre[1].y, zeroY);
  EXPECT_EQ(scope.mHandleCentre[2].y, scope.GainToY(20.0 * std::log10(2.0)));
  EXPECT_EQ(scope.mHandleCentre[3].y, zeroY);
  const IScope::Point c = scope.mHandleCentre[0];
  EXPECT_EQ(scope.mHandleRect[0].L, c.x - 7);
  EXPECT_EQ(scope.mHoverRect[0].R, c.x + 28);
  EXPECT_DOUBLE_EQ(scope.mEvent.mDBPerPixel, 96.0 / scope.mPlotHeight);
  EXPECT_DOUBLE_EQ(scope.mEvent.mDecadesPerPixel, (std::log10(30000.0) - 1.0) / scope.mPlotWidth);
}

TEST_F(ScopeFixture, RescaleTruncatesEachLength) {
  scope.Rescale(1.5, 1.5);
  EXPECT_EQ(scope.mHandleRadius, 10);
  EXPECT_EQ(scope.mHoverRadius, 20);
  const IScope::Point c = scope.mHandleCentre[0];
  EXPECT_EQ(scope.mHoverRect[0].T, c.y - 40);
}

TEST_F(ScopeFixture, GainScaleLabelStepsAndNarrowestRange) {
  const struct {
    double zoom;
    double step;
  } cases[] = {{0.05, 3.0}, {0.08, 6.0}, {0.25, 6.0}, {0.35, 9.0}, {0.45, 12.0}, {0.5, 24.0}, {1.0, 24.0}};
  for (const auto& c : cases) {
    scope.SetGainScale(c.zoom);
    EXPECT_DOUBLE_EQ(scope.mSpecLabelStep, c.step) << c.zoom;
  }
  scope.mSpecDbOffset = 10.0;
  scope.SetGainScale(0.01);
  EXPECT_DOUBLE_EQ(scope.mSpecDbLo, -48.0 + 10.0 - 3.0);
  EXPECT_DOUBLE_EQ(scope.mSpecDbHi, -48.0 + 10.0 + 3.0);
}

TEST_F(ScopeFixture, EQScaleGridSteps) {
  const struct {
    double zoom;
    double step1, step2, label;
  } cases[] = {{0.14, 1, 3, 1}, {0.15, 3, 6, 3}, {0.45, 6, 12, 6}, {0.8, 12, 24, 12}};
  for (const auto& c : cases) {
    scope.SetEQScale(c.zoom);
    EXPECT_EQ(scope.mEqGridStep1, c.step1) << c.zoom;
    EXPECT_EQ(scope.mEqGridStep2, c.step2) << c.zoom;
    EXPECT_EQ(scope.mEqLabelStep, c.label) << c.zoom;
  }
}

TEST_F(ScopeFixture, FrequencyZoomSpansAnOctaveToTheWholeRange) {
  scope.mFreqZoom = 1.0;
  scope.mFreqOffset = 0.7;
  scope.RecomputeFrequencyRange();
  EXPECT_DOUBLE_EQ(scope.mFreqMin, 10.0);
  EXPECT_DOUBLE_EQ(scope.mFreqMax, 30000.0);

  scope.mFreqZoom = 0.0;
  for (double offset : {0.0, 0.5, 1.0}) {
    scope.mFreqOffset = offset;
    scope.RecomputeFrequencyRange();
    EXPECT_EQ(scope.mFreqMin, std::floor(scope.mFreqMin));
    EXPECT_NEAR(scope.mFreqMax / scope.mFreqMin, 2.0, 0.2) << offset;
    EXPECT_GE(scope.mFreqMin, 10.0);
    EXPECT_LE(scope.mFreqMax, 30000.0);
  }
}

TEST_F(ScopeFixture, PixelMappingsInvert) {
  for (double f : {20.0, 1000.0, 15000.0}) EXPECT_NEAR(scope.XToFrequency(scope.FrequencyToX(f)), f, f * 0.02);
  for (double g : {-24.0, 0.0, 12.5}) EXPECT_NEAR(scope.YToGain(scope.GainToY(g)), g, 0.5);
}

TEST(IScope, NoBandsLeavesHandlesAlone) {
  IScope scope(nullptr, IRECT(0, 0, 400, 300), 141, 10.0, 30000.0, 44100.0);
  scope.UpdateBandHandles();
  EXPECT_EQ(scope.mHandleRect[0].R, 0);
  EXPECT_DOUBLE_EQ(scope.mEvent.mDBPerPixel, 1.0);
}

}  // namespace
