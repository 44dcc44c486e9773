#include "editor/display/IScope.h"

#include <cmath>

#include <gtest/gtest.h>

#include "plugin/engine/BandTypes.h"
#include "tests/editor/display/ScopeFixture.h"

namespace {

// The editor's graph at 100 %: draw rectangle 92,84 - 789,428.
constexpr int kL = 100, kT = 89, kR = 781, kB = 423;
constexpr int kW = kR - kL, kH = kB - kT;
const double kDecades = std::log10(30000.0) - 1.0;

// The mappings as written down for the graph, computed here on their own.
int XOf(double hz) { return kL + static_cast<int>(kW * (std::log10(hz) - 1.0) / kDecades); }
int YOf(double db, double lo, double hi) { return kB - static_cast<int>(kH * (db - lo) / (hi - lo)); }

using Scope = ScopeFixture;

TEST_F(Scope, PlotAndStripsAtFullSize) {
  EXPECT_EQ(Edges(scope.mPlotRect), Edges(IRECT(kL, kT, kR, kB)));
  EXPECT_EQ(scope.mPlotWidth, 681);
  EXPECT_EQ(scope.mPlotHeight, 334);
  EXPECT_EQ(Edges(scope.mAnalyzerScaleStrip), Edges(IRECT(kL, kT, kL + 32, kB)));
  EXPECT_EQ(Edges(scope.mEQScaleStrip), Edges(IRECT(kR - 32, kT, kR, kB)));
  EXPECT_EQ(Edges(scope.mFreqScaleStrip), Edges(IRECT(kL, kB - 32, kR, kB)));
}

TEST_F(Scope, AtOneAndAHalfTheInsetsScaleButTheStripsStay32Pixels) {
  // As the graphics core re-places it: scale first, then the rectangle.
  scope.Rescale(1.5, 1.5);
  scope.SetRECT(IRECT(138, 126, 1183, 642));
  EXPECT_EQ(Edges(scope.mPlotRect), Edges(IRECT(138 + 12, 126 + 7, 1183 - 12, 642 - 7)));
  EXPECT_EQ(scope.mFreqScaleStrip.H(), 32);
  EXPECT_EQ(scope.mAnalyzerScaleStrip.W(), 32);
  EXPECT_EQ(scope.mEQScaleStrip.L, 1183 - 12 - 32);
}

// The view layout re-places the graph for every view and GUI scale: the
// area that takes the mouse must move with the one it draws.
TEST_F(Scope, ANewRectangleTakesTheMouseWhereItIsDrawn) {
  struct Placement {
    double scale;
    int bottom;  // at 100 %: 428 compact, 604 large
  };
  const Placement placements[] = {{1.0, 604}, {0.5, 428}, {0.5, 604}, {1.5, 428},
                                  {1.5, 604}, {2.0, 604}, {1.0, 428}};
  for (const Placement& p : placements) {
    SCOPED_TRACE(p.scale);
    SCOPED_TRACE(p.bottom);
    const auto at = [&](int v) { return static_cast<int>(v * p.scale); };
    const IRECT rect(at(92), at(84), at(789), at(p.bottom));
    scope.Rescale(p.scale, p.scale);
    scope.SetRECT(rect);
    EXPECT_EQ(Edges(scope.GetRECT()), Edges(rect));
    EXPECT_EQ(Edges(scope.GetTargetRECT()), Edges(rect));
    // Just inside the far corner, and just outside it.
    EXPECT_TRUE(scope.IsHit(rect.R - 1, rect.B - 1));
    EXPECT_FALSE(scope.IsHit(rect.R, rect.B - 1));
    EXPECT_FALSE(scope.IsHit(rect.R - 1, rect.B));
  }
}

TEST_F(Scope, RangesAndAxesAtZoomOne) {
  EXPECT_DOUBLE_EQ(scope.mEqDbLo, -60.0);
  EXPECT_DOUBLE_EQ(scope.mEqDbHi, 36.0);
  EXPECT_DOUBLE_EQ(scope.mSpecDbLo, -96.0);
  EXPECT_DOUBLE_EQ(scope.mSpecDbHi, 0.0);
  // 0 dB: 334 * 60 / 96 = 208.75 truncates to 208, where rounding gives 209.
  const struct {
    double db;
    int y;
  } rows[] = {{0.0, 215}, {36.0, 89}, {-60.0, 423}, {-24.0, YOf(-24.0, -60.0, 36.0)}};
  for (const auto& r : rows) EXPECT_EQ(scope.GainToY(r.db), r.y) << r.db;
  // 100 Hz: 681 / 3.477 = 195.85 truncates to 195.
  const struct {
    double hz;
    int x;
  } columns[] = {{10.0, 100}, {100.0, 295}, {1000.0, 491}, {10000.0, 687}, {30000.0, 781}, {440.0, XOf(440.0)}};
  for (const auto& c : columns) EXPECT_EQ(scope.FrequencyToX(c.hz), c.x) << c.hz;
  EXPECT_NEAR(scope.mEvent.mDBPerPixel, 0.28743, 5e-6);
  EXPECT_NEAR(scope.mEvent.mDecadesPerPixel, 0.0051059, 5e-8);
}

TEST_F(Scope, PixelsMapBackToHertzAndDecibels) {
  for (int x : {kL, 295, 600, kR - 1}) {
    EXPECT_NEAR(scope.XToFrequency(x), std::pow(10.0, 1.0 + static_cast<double>(x - kL) / kW * kDecades), 1e-9);
  }
  for (int y : {kT, 215, 400}) EXPECT_NEAR(scope.YToGain(y), -60.0 + 96.0 * (kB - y) / kH, 1e-12);
}

TEST_F(Scope, HandleHeightFollowsGainResonanceOrNothing) {
  const struct {
    int type;
    double gainDb, q, expectDb;
  } rows[] = {
      {kTypeAPeak, 12.0, 0.7, 12.0},         {kTypeDHighShelf, -7.5, 0.7, -7.5},
      {kTypeAFlatTilt, 3.0, 2.0, 3.0},       {kTypeDLowCut, 12.0, 0.7, 0.0},
      {kTypeDLowCut, 0.0, 1.4, 6.0206},      {kTypeAHighCut, 0.0, 0.35, -6.0206},
      {kTypeABandPass, 12.0, 3.0, 0.0},      {kTypeANotch, 12.0, 3.0, 0.0},
      {kTypeDBandPass, 12.0, 3.0, 0.0},
  };
  for (const auto& r : rows) {
    type[0] = r.type;
    gain[0] = r.gainDb;
    q[0] = r.q;
    scope.UpdateBandHandles();
    const int y = scope.mHandleCentre[0].y;
    // Within the pixel the decibels land in.
    EXPECT_LE(scope.YToGain(y), r.expectDb + 1e-3) << r.type << " " << r.q;
    EXPECT_GT(scope.YToGain(y - 1), r.expectDb - 1e-3) << r.type << " " << r.q;
  }
  // Q 1.4 is exactly 20 log10(2) dB above the neutral cut.
  type[0] = kTypeDLowCut;
  q[0] = 1.4;
  scope.UpdateBandHandles();
  EXPECT_EQ(scope.mHandleCentre[0].y, YOf(20.0 * std::log10(2.0), -60.0, 36.0));
}

TEST_F(Scope, HandleAndHoverRectanglesAroundTheCentre) {
  freq[3] = 440.0;
  gain[3] = 6.0;
  scope.UpdateBandHandles();
  const int x = XOf(440.0), y = YOf(6.0, -60.0, 36.0);
  EXPECT_EQ(scope.mHandleCentre[3].x, x);
  EXPECT_EQ(scope.mHandleCentre[3].y, y);
  EXPECT_EQ(Edges(scope.mHandleRect[3]), Edges(IRECT(x - 7, y - 7, x + 7, y + 7)));
  EXPECT_EQ(Edges(scope.mHoverRect[3]), Edges(IRECT(x - 28, y - 28, x + 28, y + 28)));

  scope.Rescale(1.5, 1.5);
  EXPECT_EQ(scope.mHandleRadius, 10);
  EXPECT_EQ(scope.mHoverRadius, 20);
  const IScope::Point c = scope.mHandleCentre[3];
  EXPECT_EQ(Edges(scope.mHandleRect[3]), Edges(IRECT(c.x - 10, c.y - 10, c.x + 10, c.y + 10)));
  EXPECT_EQ(Edges(scope.mHoverRect[3]), Edges(IRECT(c.x - 40, c.y - 40, c.x + 40, c.y + 40)));
}

TEST_F(Scope, EveryScaledLengthIsTruncatedOnItsOwn) {
  const struct {
    int32_t IScope::*field;
    double length;
    bool vertical;
  } lengths[] = {
      {&IScope::mLabelTextSize, 12, true},  {&IScope::mLen14Y, 14, true},        {&IScope::mLen10Y, 10, true},
      {&IScope::mGuideTextSize, 15, true},  {&IScope::mHandleRadius, 7, true},   {&IScope::mBorderLines, 32, false},
      {&IScope::mStripPreOffset, 67, false}, {&IScope::mStripPostOffset, 48, false}, {&IScope::mStripH, 16, false},
      {&IScope::mPeakTextSize, 20, true},   {&IScope::mPeakBoxMargin, 32, false}, {&IScope::mTagMargin, 5, false},
      {&IScope::mPeakBoxGap, 10, false},    {&IScope::mGuideBarH, 15, false},    {&IScope::mBlackKeyBarH, 10, false},
      {&IScope::mGuideLabelW, 20, false},   {&IScope::mGuideLabelH, 12, false},
  };
  // Unequal factors show which axis each length follows.
  const double scaleX = 1.3, scaleY = 0.75;
  scope.Rescale(scaleX, scaleY);
  for (const auto& l : lengths) {
    EXPECT_EQ(scope.*l.field, static_cast<int>(l.length * (l.vertical ? scaleY : scaleX))) << l.length;
  }
  // Twice trunc(5.25), not trunc(10.5).
  EXPECT_EQ(scope.mHoverRadius, 10);
}

TEST_F(Scope, GainScaleLabelStepsAndTheNarrowestRange) {
  const struct {
    double zoom, step;
  } rows[] = {{0.05, 3}, {0.0799, 3}, {0.08, 6}, {0.25, 6}, {0.35, 9}, {0.45, 12}, {0.5, 24}, {1.0, 24}};
  for (const auto& r : rows) {
    scope.SetGainScale(r.zoom);
    EXPECT_DOUBLE_EQ(scope.mSpecLabelStep, r.step) << r.zoom;
  }
  // Half the full range per unit of zoom about the middle, shifted by the offset.
  scope.mSpecDbOffset = -10.0;
  scope.SetGainScale(0.5);
  EXPECT_DOUBLE_EQ(scope.mSpecDbLo, -48.0 - 10.0 - 24.0);
  EXPECT_DOUBLE_EQ(scope.mSpecDbHi, -48.0 - 10.0 + 24.0);
  // Never narrower than +-3 dB.
  scope.SetGainScale(0.01);
  EXPECT_DOUBLE_EQ(scope.mSpecDbLo, -48.0 - 10.0 - 3.0);
  EXPECT_DOUBLE_EQ(scope.mSpecDbHi, -48.0 - 10.0 + 3.0);
}

TEST_F(Scope, EqualiserZoomKeepsZeroDecibelsInPlace) {
  const struct {
    double zoom;
    double step1, step2, label;
  } rows[] = {{0.14, 1, 3, 1}, {0.15, 3, 6, 3}, {0.44, 3, 6, 3}, {0.45, 6, 12, 6}, {0.8, 12, 24, 12}};
  for (const auto& r : rows) {
    scope.SetEQScale(r.zoom);
    EXPECT_EQ(scope.mEqGridStep1, r.step1) << r.zoom;
    EXPECT_EQ(scope.mEqGridStep2, r.step2) << r.zoom;
    EXPECT_EQ(scope.mEqLabelStep, r.label) << r.zoom;
    // 0 dB stays 12/96 of the plot above the middle, whatever the zoom.
    const double z = std::max(r.zoom, 3.0 / 48.0);
    EXPECT_DOUBLE_EQ(scope.mEqDbLo, -(48.0 + 12.0) * z);
    EXPECT_DOUBLE_EQ(scope.mEqDbHi, (48.0 - 12.0) * z);
  }
  // The handles follow the range.
  gain[0] = 6.0;
  scope.SetEQScale(0.5);
  EXPECT_EQ(scope.mHandleCentre[0].y, YOf(6.0, -30.0, 18.0));
}

TEST_F(Scope, FrequencyZoomSpansFromAnOctaveToTheWholeAxis) {
  scope.mFreqZoom = 1.0;
  for (double offset : {0.0, 0.3, 1.0}) {
    scope.mFreqOffset = offset;
    scope.RecomputeFrequencyRange();
    EXPECT_EQ(scope.mFreqMin, 10.0) << offset;
    EXPECT_EQ(scope.mFreqMax, 30000.0) << offset;
  }
  // Zoom 0: one octave, slid from the bottom of the axis to its top.
  scope.mFreqZoom = 0.0;
  const struct {
    double offset, minHz, maxHz;
  } rows[] = {{0.0, 10.0, 20.0}, {0.5, 10.0 * std::sqrt(1500.0), 20.0 * std::sqrt(1500.0)}, {1.0, 15000.0, 30000.0}};
  for (const auto& r : rows) {
    scope.mFreqOffset = r.offset;
    scope.RecomputeFrequencyRange();
    EXPECT_EQ(scope.mFreqMin, std::floor(scope.mFreqMin));
    EXPECT_EQ(scope.mFreqMax, std::floor(scope.mFreqMax));
    EXPECT_NEAR(scope.mFreqMin, r.minHz, 1.0) << r.offset;
    EXPECT_NEAR(scope.mFreqMax, r.maxHz, 1.0) << r.offset;
  }
  // The handles and the scales follow the shown range.
  EXPECT_NEAR(scope.mEvent.mDecadesPerPixel, std::log10(scope.mFreqMax / scope.mFreqMin) / kW, 1e-12);
  EXPECT_LT(scope.mHandleCentre[0].x, kL);  // 1 kHz lies left of 15 kHz
}

TEST_F(Scope, GridFrequenciesAndTheirLabels) {
  for (int g = 0; g < 4; ++g) {
    for (int i = 0; i < 10; ++i) EXPECT_EQ(scope.mGridFreqs[10 * g + i], i * std::pow(10.0, g)) << g << " " << i;
  }
  EXPECT_EQ(scope.mGridFreqs[40], 10000.0);
  EXPECT_EQ(scope.mGridFreqs[41], 20000.0);
  const char* const labelled[][2] = {{"1", "1"},     {"2", "2"},     {"5", "5"},    {"10", "10"},   {"20", "20"},
                                     {"50", "50"},   {"100", "100"}, {"200", "200"}, {"500", "500"}, {"1000", "1K"},
                                     {"2000", "2K"}, {"5000", "5K"}, {"10000", "10K"}, {"20000", "20K"}};
  int found = 0;
  for (int k = 0; k < kNumGridFreqs; ++k) {
    const char* label = scope.mFreqLabels[k];
    const char* expected = "";
    for (const auto& row : labelled) {
      // The 0 at the start of each decade carries no label.
      if (scope.mGridFreqs[k] == std::atof(row[0]) && scope.mGridFreqs[k] > 0.0) expected = row[1];
    }
    found += expected[0] != '\0';
    EXPECT_STREQ(label, expected) << scope.mGridFreqs[k];
  }
  EXPECT_EQ(found, 14);
}

TEST_F(Scope, LabelWidthsAreMeasuredInTheLabelFont) {
  const struct {
    double scale;
    int size;
  } rows[] = {{1.0, 12}, {1.5, 18}, {0.5, 6}};
  for (const auto& r : rows) {
    plug.Gui()->mMeasured.clear();
    scope.Rescale(r.scale, r.scale);
    ASSERT_EQ(plug.Gui()->mMeasured.size(), 3u);
    for (const IText& text : plug.Gui()->mMeasured) {
      EXPECT_EQ(text.mSize, r.size);
      EXPECT_STREQ(text.mFont, "Verdana");
      EXPECT_EQ(text.mColor, scope.mColors[0]);
    }
    const IText& label = plug.Gui()->mMeasured[0];
    EXPECT_EQ(scope.mSpecLabelW, ScopeFakeGraphics::TextWidth(label, "-144"));
    EXPECT_EQ(scope.mEqLabelW, ScopeFakeGraphics::TextWidth(label, "-48"));
    EXPECT_EQ(scope.mGainReadoutW, ScopeFakeGraphics::TextWidth(label, "-48.0"));
  }
}

TEST_F(Scope, NamedColourSlots) {
  EXPECT_EQ(scope.mColLabel, IColor(255, 151, 151, 151));
  EXPECT_EQ(scope.mColHoverText, IColor(255, 255, 255, 255));
  EXPECT_EQ(scope.mColBorder, IColor(128, 25, 26, 29));
  EXPECT_EQ(scope.mColGrid, IColor(255, 55, 55, 55));
  EXPECT_EQ(scope.mColGridMinor, IColor(255, 79, 79, 79));
  EXPECT_EQ(scope.mColEqLabel, IColor(128, 255, 196, 53));
  EXPECT_EQ(scope.mColMouseColumn, IColor(64, 255, 255, 127));
  // The left and right ends of the per-channel curve colours.
  EXPECT_EQ(scope.mColors[14], IColor(223, 255, 170, 170));
  EXPECT_EQ(scope.mColors[17], IColor(223, 255, 255, 170));
}

TEST_F(Scope, CheatSheetChoiceSelectsTheGuideSetBelowIt) {
  const struct {
    int choice;
    const char* set;
  } rows[] = {{0, nullptr}, {1, "PianoKeys"}, {2, "General 1"}, {14, "Drums:HiHat Cymbals"}, {15, nullptr}, {-1, nullptr}};
  ASSERT_EQ(scope.mGuideSets.GetSize(), IScope::kNumGuideSets);
  for (const auto& r : rows) {
    scope.mCheatSheet = r.choice;
    const CheatSheetSet* set = scope.GetGuideSet();
    if (!r.set) {
      EXPECT_EQ(set, nullptr) << r.choice;
    } else {
      ASSERT_NE(set, nullptr) << r.choice;
      EXPECT_STREQ(set->name.Get(), r.set);
    }
  }
}

TEST_F(Scope, DrawRefreshesThroughTheHookOnceReady) {
  int refreshes = 0;
  scope.mPreDrawContext = &refreshes;
  scope.mPreDrawHook = [](void* context) { ++*static_cast<int*>(context); };
  scope.mReady = 0;
  EXPECT_TRUE(scope.Draw(plug.Gui()));
  EXPECT_EQ(refreshes, 0);
  scope.mReady = 1;
  EXPECT_TRUE(scope.Draw(plug.Gui()));  // no evaluator: the hook runs all the same
  EXPECT_EQ(refreshes, 1);
  scope.mPreDrawHook = nullptr;
  EXPECT_TRUE(scope.Draw(plug.Gui()));
}

TEST(ScopeWithoutBands, HandlesAndScalesWaitForTheBands) {
  IScope scope(nullptr, IRECT(0, 0, 400, 300), 141, 10.0, 30000.0, 44100.0);
  scope.RecomputeRanges();
  EXPECT_EQ(Edges(scope.mHandleRect[0]), Edges(IRECT()));
  EXPECT_DOUBLE_EQ(scope.mEvent.mDBPerPixel, 1.0);
  EXPECT_DOUBLE_EQ(scope.mEvent.mDecadesPerPixel, 1.0);
  // The record starts as the plug-in expects it.
  EXPECT_EQ(scope.mEvent.mHitBand, -1);
  EXPECT_EQ(scope.mEvent.mMouseX, -1);
  EXPECT_EQ(scope.mEvent.mMenuAction, GraphEventRecord::kCommandNone);
  EXPECT_DOUBLE_EQ(scope.mEvent.mHzAtMouse, 1.0);
}

}  // namespace
