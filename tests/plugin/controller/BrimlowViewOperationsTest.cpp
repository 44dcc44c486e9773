#include <algorithm>
#include <cmath>

#include "tests/plugin/controller/BrimlowEditingFixture.h"

namespace {

using ViewOperations = BrimlowEditingTest;

// The displayed frequency range for a zoom and offset (fractions), from the
// graph's base frequency and spans.
void ExpectedFrequencyRange(const IScope& g, double zoom, double offset, double* bottom, double* top) {
  const double span = g.mMinSpanDecades + (g.mFullSpanDecades - g.mMinSpanDecades) * zoom;
  const double shift = (g.mFullSpanDecades - span) * offset;
  *bottom = std::floor(std::pow(10.0, std::log10(g.mFullFreqMin) + shift));
  *top = std::floor(std::pow(10.0, std::log10(g.mFullFreqMin) + shift + span));
}

struct GridCase {
  double percent;
  double g1, g2, g3;
};

class EQScaleGrid : public ViewOperations, public ::testing::WithParamInterface<GridCase> {};

TEST_P(EQScaleGrid, ScaleSetsItsGridAndTheEQRange) {
  const GridCase c = GetParam();
  const double s = c.percent / 100.0;
  mPlug->ApplyEQScale(s);
  EXPECT_DOUBLE_EQ(mScope->mEqZoom, s);
  EXPECT_DOUBLE_EQ(mScope->mEqGridStep1, c.g1);
  EXPECT_DOUBLE_EQ(mScope->mEqGridStep2, c.g2);
  EXPECT_DOUBLE_EQ(mScope->mEqLabelStep, c.g3);

  const double mid = (mScope->mEqDbFullLo + mScope->mEqDbFullHi) / 2.0;
  const double half = (mScope->mEqDbFullHi - mScope->mEqDbFullLo) / 2.0;
  const double k = std::max(s, mScope->mMinHalfSpan / half);
  const double t = mScope->mEqDbOffset;
  EXPECT_NEAR(mScope->mEqDbLo, mid - half * k - k * t, 1e-12);
  EXPECT_NEAR(mScope->mEqDbHi, mid + half * k - k * t, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Scales, EQScaleGrid,
                         ::testing::Values(GridCase{1, 1, 3, 1}, GridCase{14, 1, 3, 1}, GridCase{15, 3, 6, 3},
                                           GridCase{44, 3, 6, 3}, GridCase{45, 6, 12, 6}, GridCase{79, 6, 12, 6},
                                           GridCase{80, 12, 24, 12}, GridCase{100, 12, 24, 12}));

TEST_F(ViewOperations, FullFrequencyScaleShowsTheWholeRangeAtAnyOffset) {
  for (const double dX : {30.0, -100.0, 60.0}) {
    // Pan while zoomed in, so the offset really moves, then zoom out fully.
    mPlug->ZoomFrequencyBySteps(-4);
    mScope->mEvent.mDragDX = dX;
    mPlug->PanFrequencyView();
    mPlug->ZoomFrequencyBySteps(4);
    ASSERT_NEAR(M().fScalePercent, 100.0, 1e-9);
    // f0 .. f0 * 10^Smax, to within the whole hertz the range is cut to.
    EXPECT_NEAR(mScope->mFreqMin, mScope->mFullFreqMin, 1.0) << M().fOffsetPercent;
    EXPECT_NEAR(mScope->mFreqMax, mScope->mFullFreqMin * std::pow(10.0, mScope->mFullSpanDecades), 1.0);
    EXPECT_NEAR(mScope->mFreqMax, 30000.0, 1.0);
  }
  EXPECT_NEAR(M().fOffsetPercent, 38.0, 1e-9);
}

TEST_F(ViewOperations, ZoomAndPanStayWithinTheParameterRanges) {
  const struct {
    int freqSteps;
    double dX;
    double expectScale, expectOffset;
  } cases[] = {{3, 0, 100, 30}, {-30, 0, 1, 30}, {-30, 200, 1, 28}, {0, -10000, 1, 100}, {10, 5000, 51, 0}};
  for (const auto& c : cases) {
    mPlug->ZoomFrequencyBySteps(c.freqSteps);
    mScope->mEvent.mDragDX = c.dX;
    mPlug->PanFrequencyView();
    EXPECT_NEAR(M().fScalePercent, c.expectScale, 1e-9);
    EXPECT_NEAR(Param(kParamFScale), c.expectScale, 1e-9);
    EXPECT_NEAR(M().fOffsetPercent, c.expectOffset, 1e-9);
    EXPECT_NEAR(Param(kParamFOffset), c.expectOffset, 1e-9);
    EXPECT_NEAR(mScope->mFreqZoom, c.expectScale / 100.0, 1e-9);
    EXPECT_NEAR(mScope->mFreqOffset, c.expectOffset / 100.0, 1e-9);
    double bottom = 0.0, top = 0.0;
    ExpectedFrequencyRange(*mScope, mScope->mFreqZoom, mScope->mFreqOffset, &bottom, &top);
    EXPECT_DOUBLE_EQ(mScope->mFreqMin, bottom);
    EXPECT_DOUBLE_EQ(mScope->mFreqMax, top);
  }

  for (int i = 0; i < 30; ++i) mPlug->ZoomEQScaleStep(0);
  EXPECT_NEAR(M().eqScalePercent, 100.0, 1e-9);
  for (int i = 0; i < 30; ++i) mPlug->ZoomEQScaleStep(1);
  EXPECT_NEAR(M().eqScalePercent, 1.0, 1e-9);
  EXPECT_NEAR(mScope->mEqZoom, 0.01, 1e-9);
  mPlug->ZoomEQScaleBySteps(2);
  EXPECT_NEAR(Param(kParamEQScale), 11.0, 1e-9);
  mPlug->ZoomFrequencyStep(0);
  mPlug->ZoomFrequencyStep(1);
  mPlug->ZoomFrequencyStep(1);
  EXPECT_NEAR(M().fScalePercent, 46.0, 1e-9);
}

TEST_F(ViewOperations, GainPanKeepsTheOffsetOnItsGridAndInRange) {
  const struct {
    double dY;
    double expect;
  } cases[] = {{-12.34, 12.3}, {0.26, 12.0}, {-100.0, 60.0}, {500.0, -60.0}};
  for (const auto& c : cases) {
    mScope->mEvent.mDragDY = c.dY;
    mPlug->PanGainView();
    EXPECT_DOUBLE_EQ(M().dbOffsetDb, c.expect);
    EXPECT_NEAR(Param(kParamDBOffset), c.expect, 0.05);
    EXPECT_DOUBLE_EQ(mScope->mSpecDbOffset, -c.expect);
    const double mid = (mScope->mSpecDbFullLo + mScope->mSpecDbFullHi) / 2.0;
    const double half = (mScope->mSpecDbFullHi - mScope->mSpecDbFullLo) / 2.0;
    const double h = std::max(std::max(mScope->mSpecZoom, mScope->mMinHalfSpan / half) * half, mScope->mMinHalfSpan);
    EXPECT_NEAR(mScope->mSpecDbLo, -c.expect + mid - h, 1e-12);
    EXPECT_NEAR(mScope->mSpecDbHi, -c.expect + mid + h, 1e-12);
  }
  mPlug->ResetGainView();
  EXPECT_DOUBLE_EQ(M().dbOffsetDb, 0.0);
  EXPECT_DOUBLE_EQ(mScope->mSpecDbOffset, 0.0);
}

TEST_F(ViewOperations, ResetsBringBackTheDefaults) {
  mPlug->ZoomFrequencyBySteps(-5);
  mScope->mEvent.mDragDX = -20.0;
  mPlug->PanFrequencyView();
  mPlug->ZoomEQScaleBySteps(-7);
  mPlug->ResetFrequencyView();
  mPlug->ResetEQScale();
  EXPECT_NEAR(M().fScalePercent, 100.0, 1e-9);
  EXPECT_NEAR(M().fOffsetPercent, 30.0, 1e-9);
  EXPECT_NEAR(M().eqScalePercent, 100.0, 1e-9);
  EXPECT_NEAR(mScope->mFreqZoom, 1.0, 1e-9);
  EXPECT_NEAR(mScope->mFreqOffset, 0.3, 1e-9);
  EXPECT_NEAR(mScope->mEqZoom, 1.0, 1e-9);
}

TEST_F(ViewOperations, WithoutTheGraphParametersAndMirrorsStillMove) {
  IScope* scope = mScope;
  const int scopeIdx = mPlug->ScopeControlIndex();
  const double zoomBefore = scope->mFreqZoom;
  mPlug->SetScope(nullptr, -1);
  mPlug->ZoomFrequencyBySteps(-2);
  mPlug->ZoomEQScaleStep(1);
  mPlug->ApplyEQScale(0.2);
  mPlug->PanFrequencyView();  // no drag distance without a graph: nothing
  mPlug->ResetGainView();
  EXPECT_NEAR(M().fScalePercent, 90.0, 1e-9);
  EXPECT_NEAR(Param(kParamFScale), 90.0, 1e-9);
  EXPECT_NEAR(M().eqScalePercent, 95.0, 1e-9);
  EXPECT_NEAR(M().fOffsetPercent, 30.0, 1e-9);
  EXPECT_DOUBLE_EQ(scope->mFreqZoom, zoomBefore);
  mPlug->SetScope(scope, scopeIdx);
}

}  // namespace
