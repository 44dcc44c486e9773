#include <algorithm>
#include <cmath>
#include <cstdio>

#include "editor/display/IScope.h"
#include "editor/display/PlotMapping.h"
#include "editor/display/ScopeText.h"
#include "graphics/IGraphics.h"

// The layer order, and the layers that frame the plot: grid, mouse column,
// border and the three scales.

namespace {

// Scale labels whose centre line comes this close to the plot's top or
// bottom are left out, at every editor scale.
constexpr int kLabelEdgeMargin = 12;
// Half the width of the audition column, at every editor scale.
constexpr int kMouseColumnHalfWidth = 32;

// The frequency labels' shifts left of their grid line, by decade.
int FrequencyLabelShift(int i) {
  if (i < 10) return -7;
  if (i < 20) return -4;
  if (i < 30) return -2;
  if (i < 40) return -3;
  return -1;
}

bool MultipleOf(int n, double step) {
  const int s = static_cast<int>(step);
  return s != 0 && n % s == 0;
}

}  // namespace

bool IScope::MouseInPlot() const {
  const IRECT& p = mPlotRect;
  const int x = mEvent.mMouseX, y = mEvent.mMouseY;
  return x >= p.L && x < p.R && y >= p.T && y < p.B;
}

int IScope::ShownHitBand() const {
  const int b = mEvent.mHitBand;
  return b >= 0 && b < ReadableBands() ? b : -1;
}

bool IScope::Draw(IGraphics* g) {
  if (!mReady) return true;
  if (mPreDrawHook) mPreDrawHook(mPreDrawContext);
  if (!mEvaluator || !g || mPlotWidth <= 0 || mPlotHeight <= 0) return true;

  DrawGrid(g);
  DrawGuideOverlay(g, false, 1.0);
  DrawHoverGuide(g);
  DrawSpectrumLayers(g, 0);
  if (mSpectrogramMode > 0) DrawSpectrumLayers(g, mSpectrogramMode);
  if (mFreqTracking) DrawPeakMarker(g, mFreqTracking);
  DrawEQCurves(g);
  if (mMouseColumn) {
    const IRECT& p = mPlotRect;
    const int x = mEvent.mMouseX;
    const IRECT column(std::clamp(x - kMouseColumnHalfWidth, p.L, p.R), std::clamp(mEvent.mMouseY, p.T, p.B),
                       std::clamp(x + kMouseColumnHalfWidth, p.L, p.R), std::max(p.B, p.T));
    g->FillIRect(&mColMouseColumn, &column, &mBlend);
  }
  DrawPlotBorder(g);
  DrawGainScaleLabels(g);
  DrawAnalyserScaleLabels(g);
  DrawFrequencyLabels(g);
  DrawBandReadouts(g);
  DrawBandHandles(g, mMouseColumn);
  return true;
}

void IScope::DrawGrid(IGraphics* g) {
  if (!mShowGrid) return;
  const PlotMapping m(mPlotRect, mFreqMin, mFreqMax);
  const auto hLine = [&](const IColor& c, int y) {
    g->DrawLineColorAlpha(&c, static_cast<float>(m.L), static_cast<float>(y), static_cast<float>(m.L + m.W),
                          static_cast<float>(y), &mBlend, true);
  };
  hLine(mColGrid, m.B);
  hLine(mColGrid, m.T);

  // A line at every whole dB that is a multiple of a grid step; the minor
  // colour goes on top where both steps divide.
  const double span = mEqDbHi - mEqDbLo;
  for (double d = std::floor(mEqDbLo + 0.5); d <= std::floor(mEqDbHi + 0.5); d += 1.0) {
    const int y = m.YOfFraction(std::clamp((d - mEqDbLo) / span, 0.0, 1.0));
    const int n = static_cast<int>(d);
    if (MultipleOf(n, mEqGridStep1)) hLine(mColGrid, y);
    if (MultipleOf(n, mEqGridStep2)) hLine(mColGridMinor, y);
  }

  for (double f : mGridFreqs) {
    if (f < mFreqMin || f > mFreqMax) continue;
    const float x = static_cast<float>(m.XOf(f));
    g->DrawLineColorAlpha(&mColGrid, x, static_cast<float>(m.B), x, static_cast<float>(m.T), &mBlend, true);
  }
}

// Lines fading from just outside the plot inwards, on three sides; the top
// stays open.
void IScope::DrawPlotBorder(IGraphics* g) {
  const int n = mBorderLines;
  if (n <= 0) return;
  const int l = mPlotRect.L, t = mPlotRect.T, r = mPlotRect.R, b = mPlotRect.B;
  const int d = static_cast<int>(2.0 * mScaleX);
  IColor c = mColBorder;
  const auto line = [&](int x1, int y1, int x2, int y2) {
    g->DrawLineColorAlpha(&c, static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                          static_cast<float>(y2), &mBlend, true);
  };
  for (int i = 0; i < n; ++i) {
    const int o = d - i;
    c.A = static_cast<int>(255.0 * std::sqrt(std::max(1.0 - static_cast<double>(i) / n, 0.3)));
    line(l - o, b + o, r + o, b + o);
    line(l - o, t, l - o, b + o);
    line(r + o, t, r + o, b + o);
  }
}

namespace {

// One dB scale's labels: every whole dB that is a multiple of the step,
// except the range's own ends and those too near the plot's top or bottom.
// rectAt places a label given its top.
template <typename RectAt>
void DrawDbLabels(IGraphics* g, const IRECT& plot, double lo, double hi, double step, int size, IText text,
                  RectAt rectAt) {
  const int h = plot.H();
  for (double d = std::floor(lo + 0.5); d <= std::floor(hi + 0.5); d += 1.0) {
    const int n = static_cast<int>(d);
    if (!MultipleOf(n, step) || d == lo || d == hi) continue;
    // The fraction first, as the grid lines take it, so a label stays
    // centred on its line.
    const int y = plot.B - TruncPixel(h * ((d - lo) / (hi - lo))) - size / 2;
    if (y < plot.T + kLabelEdgeMargin || y > plot.B - kLabelEdgeMargin) continue;
    char label[16];
    std::snprintf(label, sizeof label, "%d", n);
    IRECT r = rectAt(y);
    g->DrawIText(&text, label, &r);
  }
}

}  // namespace

void IScope::DrawGainScaleLabels(IGraphics* g) {
  const int s = mLabelTextSize;
  const int r = mPlotRect.R;
  DrawDbLabels(g, mPlotRect, mEqDbLo, mEqDbHi, mEqLabelStep, s, ScopeText(s, mColEqLabel, IText::kAlignFar),
               [&](int y) { return IRECT(r - mEqLabelW, y, r, y + s); });
}

void IScope::DrawAnalyserScaleLabels(IGraphics* g) {
  const int s = mLabelTextSize;
  const int l = mPlotRect.L + 2;
  DrawDbLabels(g, mPlotRect, mSpecDbLo, mSpecDbHi, mSpecLabelStep, s, ScopeText(s, mColLabel, IText::kAlignFar),
               [&](int y) { return IRECT(l, y, l + mSpecLabelW, y + s); });
}

void IScope::DrawFrequencyLabels(IGraphics* g) {
  const PlotMapping m(mPlotRect, mFreqMin, mFreqMax);
  const int s = mLabelTextSize;
  IText text = ScopeText(s, mColLabel, IText::kAlignFar);
  for (int i = 0; i < kNumGridFreqs; ++i) {
    const double f = mGridFreqs[i];
    if (f < mFreqMin || f > mFreqMax) continue;
    const int x = m.XOf(f) + FrequencyLabelShift(i);
    IRECT r(x, m.B - s, x + 10, m.B - s + 10);
    g->DrawIText(&text, mFreqLabels[i], &r);
  }
}
