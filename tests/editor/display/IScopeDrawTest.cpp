#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "tests/editor/display/ScopeDrawFixture.h"

namespace {

using ScopeDraw = ScopeDrawTest;

// A hook that notes whether anything had been drawn before it ran.
struct HookProbe {
  std::function<int()> painted;
  int calls = 0;
  int paintedBefore = -1;
  static void Run(void* context) {
    auto* self = static_cast<HookProbe*>(context);
    ++self->calls;
    self->paintedBefore = self->painted();
  }
};

TEST_F(ScopeDraw, TheHookRunsFirstAndNothingIsDrawnBeforeSetUpOrWithoutAnEvaluator) {
  scope->mShowGrid = 1;
  scope->mShowCurve[0] = 1;
  const struct {
    int ready;
    bool evaluator;
    int hookCalls;
    bool drawn;
  } rows[] = {{1, true, 1, true}, {0, true, 0, false}, {1, false, 1, false}, {0, false, 0, false}};
  for (const auto& r : rows) {
    HookProbe hook{[this] { return PaintedAnywhere(); }};
    scope->mPreDrawHook = &HookProbe::Run;
    scope->mPreDrawContext = &hook;
    scope->mReady = r.ready;
    scope->mEvaluator = r.evaluator ? &ScopeDrawTest::Evaluate : nullptr;
    DrawScope();
    EXPECT_EQ(hook.calls, r.hookCalls) << r.ready << r.evaluator;
    if (hook.calls) {
      EXPECT_EQ(hook.paintedBefore, 0) << r.ready << r.evaluator;
    }
    EXPECT_EQ(PaintedAnywhere() > 0, r.drawn) << r.ready << r.evaluator;
  }
}

TEST_F(ScopeDraw, GridLinesAtTheGainStepsAndTheGridFrequencies) {
  scope->mBorderLines = 0;
  DrawScope();
  const Rgb grid = RgbOf(scope->mColors[3]);
  const Rgb minor = RgbOf(scope->mColors[4]);
  // At zoom 1 the range is -60..36 dB with steps 6 and 12: the lighter
  // line goes over the darker where 12 divides.
  const int between = XTrunc(1500.0);  // no frequency line here
  for (int db = -54; db <= 30; db += 6) {
    EXPECT_EQ(At(between, YTrunc(db, -60.0, 36.0)), db % 12 == 0 ? minor : grid) << db;
  }
  EXPECT_EQ(At(between, YTrunc(-57.0, -60.0, 36.0)), kBackgroundRgb);
  // Both ends are multiples of 12: their lines cover the frame.
  EXPECT_EQ(At(between, kT), minor);
  EXPECT_EQ(At(between, kB), minor);
  const int row = YTrunc(-3.0, -60.0, 36.0);
  for (double hz : {10.0, 20.0, 100.0, 900.0, 1000.0, 5000.0, 20000.0}) EXPECT_EQ(At(XTrunc(hz), row), grid) << hz;
  EXPECT_EQ(At(XTrunc(1500.0), row), kBackgroundRgb);
  EXPECT_EQ(At(XTrunc(1500.0) + 1, row), kBackgroundRgb);

  // Ends that no step divides leave the frame lines alone.
  scope->mEqDbLo = -62.5;
  scope->mEqDbHi = 34.5;
  DrawScope();
  EXPECT_EQ(At(between, kT), grid);
  EXPECT_EQ(At(between, kB), grid);
  EXPECT_EQ(At(between, kB - 1), kBackgroundRgb);
  EXPECT_EQ(At(between, YTrunc(-60.0, -62.5, 34.5)), minor);
}

TEST_F(ScopeDraw, WithTheGridOffTheLabelsRemain) {
  scope->mShowGrid = 0;
  scope->mBorderLines = 0;
  DrawScope();
  EXPECT_EQ(PaintedIn(kL + 40, kT, kR - 40, kB - 20), 0);
  EXPECT_GT(PaintedIn(kL, kT, kL + 32, kB - 20), 0);  // analyser scale
  EXPECT_GT(PaintedIn(kR - 32, kT, kR, kB - 20), 0);  // equaliser scale
  EXPECT_GT(PaintedIn(kL, kB - 12, kR, kB), 0);       // frequency scale
}

// One label of the equaliser scale at GUI scale s: drawn or not.
struct GainLabelCase {
  double scale;
  double lo, hi;
  int db;
  bool drawn;
};

class GainScaleLabel : public ScopeDrawTest, public ::testing::WithParamInterface<GainLabelCase> {};

TEST_P(GainScaleLabel, SkipsTheRangeEndsAndLabelsNearThePlotEdges) {
  const GainLabelCase c = GetParam();
  const IRECT rect(static_cast<int>(92 * c.scale), static_cast<int>(84 * c.scale), static_cast<int>(789 * c.scale),
                   static_cast<int>(428 * c.scale));
  scope->Rescale(c.scale, c.scale);
  scope->SetRECT(rect);
  scope->mShowGrid = 0;
  scope->mBorderLines = 0;
  scope->mEqDbLo = c.lo;
  scope->mEqDbHi = c.hi;
  scope->mEqLabelStep = 12.0;
  DrawScope();

  const IRECT& p = scope->mPlotRect;
  const int size = static_cast<int>(12 * c.scale);
  const int y = p.B - static_cast<int>(p.H() * ((c.db - c.lo) / (c.hi - c.lo))) - size / 2;
  // The label's rows, clipped to the plot; the right-hand strip only.
  const int top = std::max(y, p.T), bottom = std::min(y + size, p.B);
  EXPECT_EQ(PaintedIn(p.R - 32, top, p.R, bottom) > 0, c.drawn) << c.db << " y " << y;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GainScaleLabel,
    ::testing::Values(GainLabelCase{1.0, -60.0, 36.0, -48, true}, GainLabelCase{1.0, -60.0, 36.0, 24, true},
                      // 24 dB lands 6 rows from the top: too close.
                      GainLabelCase{1.0, -60.0, 25.0, 24, false}, GainLabelCase{1.0, -60.0, 30.0, 24, true},
                      // At 200 % the bottom end's label would sit exactly 12
                      // rows up; it is left out for being the end.
                      GainLabelCase{2.0, -60.0, 36.0, -60, false}, GainLabelCase{2.0, -60.5, 36.0, -60, true},
                      GainLabelCase{2.0, -60.0, 36.0, -48, true}));

// A label is centred on the row its grid line takes: B - trunc(H p) with
// p the fraction of the range. At 50 % and an EQ zoom of 0.17 the "0" sits
// where the fraction is a whole row and the product taken first is not.
TEST_F(ScopeDraw, GainLabelsSitOnTheRowsOfTheirGridLines) {
  scope->Rescale(0.5, 0.5);
  scope->SetRECT(IRECT(46, 42, 394, 214));
  scope->SetEQScale(0.17);
  scope->mShowGrid = 0;
  scope->mBorderLines = 0;
  DrawScope();
  const IRECT& p = scope->mPlotRect;
  const double lo = scope->mEqDbLo, hi = scope->mEqDbHi;
  const int size = scope->mLabelTextSize;
  // The top row of each label's glyphs, against the row its line takes.
  std::vector<int> offsets;
  for (int db = -9; db <= 3; db += 3) {
    const int line = p.B - static_cast<int>(p.H() * ((db - lo) / (hi - lo)));
    int top = -1;
    for (int y = line - size; y <= line + size && top < 0; ++y) {
      if (PaintedIn(p.R - 20, y, p.R, y + 1) > 0) top = y;
    }
    ASSERT_GE(top, 0) << db;
    offsets.push_back(top - line);
  }
  for (size_t i = 1; i < offsets.size(); ++i) EXPECT_EQ(offsets[i], offsets[0]) << i;
}

TEST_F(ScopeDraw, FrequencyLabelsOnlyForGridFrequenciesInTheRange) {
  scope->mShowGrid = 0;
  scope->mBorderLines = 0;
  const int size = scope->mLabelTextSize;
  // Where a label's glyphs go: right-aligned at x + 10 of its rectangle.
  const auto labelPainted = [&](double hz, int shift, double fmin, double fmax) {
    const int x = kL + shift + static_cast<int>(kW * Pos(hz, fmin, fmax));
    return PaintedIn(x, kB - size, x + 10, kB) > 0;
  };
  DrawScope();
  EXPECT_TRUE(labelPainted(10.0, -4, 10.0, 30000.0));
  EXPECT_TRUE(labelPainted(1000.0, -3, 10.0, 30000.0));
  EXPECT_TRUE(labelPainted(20000.0, -1, 10.0, 30000.0));
  EXPECT_FALSE(labelPainted(700.0, -2, 10.0, 30000.0));  // a grid line without a label

  scope->mFreqMin = 100.0;
  scope->mFreqMax = 15000.0;
  DrawScope();
  EXPECT_TRUE(labelPainted(10000.0, -1, 100.0, 15000.0));
  // 20 kHz is off the range: its label would end inside the plot's right edge.
  EXPECT_EQ(PaintedIn(kR - 30, kB - size, kR, kB), 0);
}

TEST_F(ScopeDraw, TheMouseColumnSpans32PixelsEitherSideFromTheMouseDown) {
  scope->mShowGrid = 0;
  scope->mBorderLines = 0;
  scope->mMouseColumn = 1;
  scope->mEvent.mMouseX = 400;
  scope->mEvent.mMouseY = 200;
  DrawScope();
  EXPECT_EQ(PaintedIn(368, 200, 432, kB), 64 * (kB - 200));
  EXPECT_EQ(PaintedIn(360, 199, 440, 200), 0);
  EXPECT_EQ(PaintedIn(366, 200, 368, 300) + PaintedIn(432, 200, 434, 300), 0);

  // Near the edge it stops at the plot.
  scope->mEvent.mMouseX = kL + 5;
  DrawScope();
  EXPECT_EQ(PaintedIn(kL - 40, 300, kL, 301), 0);
  EXPECT_EQ(PaintedIn(kL, 300, kL + 40, 301), 37);
}

TEST_F(ScopeDraw, TheBorderFadesInwardOnThreeSides) {
  scope->mShowGrid = 0;
  DrawScope();
  // Line i of 32 lies 2 - i pixels outside the plot with alpha
  // 255 sqrt(max(1 - i / 32, 0.3)); copied over the background by
  // c + (d - c)(256 - a) / 256 with a = trunc(alpha / 255 * 256).
  const Rgb border = RgbOf(scope->mColors[2]);
  const auto expected = [&](int i) {
    const int alpha = static_cast<int>(255.0 * std::sqrt(std::max(1.0 - i / 32.0, 0.3)));
    const int a = static_cast<int>(alpha / 255.0f * 256.0f);
    const auto channel = [&](int c) { return c + ((16 - c) * (256 - a)) / 256; };
    return Rgb{channel(border.r), channel(border.g), channel(border.b)};
  };
  for (int i = 0; i < 32; ++i) {
    const int o = 2 - i;
    EXPECT_EQ(At(400, kB + o), expected(i)) << i;
    EXPECT_EQ(At(kL - o, 320), expected(i)) << i;
    EXPECT_EQ(At(kR + o, 320), expected(i)) << i;
  }
  EXPECT_EQ(At(400, kB - 30), kBackgroundRgb);
  EXPECT_EQ(At(400, kT - 2), kBackgroundRgb);  // the top stays open
}

}  // namespace
