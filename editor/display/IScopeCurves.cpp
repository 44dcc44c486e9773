#include <algorithm>
#include <cmath>

#include "editor/display/BandHandleLevel.h"
#include "editor/display/CurveLine.h"
#include "editor/display/IScope.h"
#include "editor/display/LineRuns.h"
#include "editor/display/PlotMapping.h"
#include "editor/display/ScopePalettes.h"
#include "graphics/IGraphics.h"

// The EQ's response on the gain scale: a thin curve per band and the
// thicker channel sums, sampled from the evaluator column by column.

namespace {

constexpr int kBandCurveAlpha = 128;
constexpr int kBandFillAlpha = 64;  // at full hover

// Sums drawn in this order, "All" last so it stays on top.
struct SumCurve {
  int channel;
  int colorSlot;
};
constexpr SumCurve kSumCurves[IScope::kNumCurveChannels] = {{1, 15}, {2, 14}, {3, 17}, {4, 16}, {0, 8}};

}  // namespace

void IScope::DrawEQCurves(IGraphics* g) {
  if (!mAB || mMouseColumn) return;
  if (mShowAddCurves) {
    const int n = ReadableBands();
    for (int k = 0; k < n; ++k) {
      const int mode = mBandChMode[k];
      const bool channelShown = mode >= 0 && mode < kNumCurveChannels && mShowCurve[mode];
      const IColor line = FrequencyPaletteColor(mBandFreq[k], kBandCurveAlpha);
      IColor fill = line;
      fill.A = static_cast<int>(kBandFillAlpha * mHoverAmount[k]);
      // Only a band that sounds gets the hover fill; every band its curve.
      if (mBandActive[k] && mHandleHover[k] && channelShown) {
        DrawResponseCurve(g, &line, &fill, 0, k, true, false, 1, 1);
      }
      DrawResponseCurve(g, &line, &fill, 0, k, false, true, 1, 1);
    }
  }
  const int thickness = static_cast<int>(2.0 * mScaleX);
  for (const SumCurve& sum : kSumCurves) {
    if (mShowCurve[sum.channel]) {
      DrawResponseCurve(g, &mColors[sum.colorSlot], nullptr, sum.channel, -1, false, true, thickness, 1);
    }
  }
}

bool IScope::DrawResponseCurve(IGraphics* g, const IColor* line, const IColor* fill, int channel, int band,
                               bool fillToZero, bool drawLine, int thickness, int step) {
  if (!mEvaluator || mPlotWidth <= 0 || mPlotHeight <= 0) return true;
  const PlotMapping m(mPlotRect, mFreqMin, mFreqMax);
  step = std::max(step, 1);
  // Curves round to the nearest pixel where the handles truncate, so a
  // handle may sit a pixel off its curve.
  const double r = 1.0 / (mEqDbHi - mEqDbLo);
  const auto yOf = [&](double db) { return m.B - FloorPixel((db - mEqDbLo) * m.H * r + 0.5); };
  const auto xOf = [&](double hz) { return m.L + FloorPixel(m.Pos(hz) * m.W + 0.5); };
  // Everything a column's row follows from: the columns' frequencies, the
  // gain mapping, the rate, every band's settings and the evaluator's own
  // state. Without the evaluator's word on that, nothing is kept.
  if (mEvaluatorState) {
    mCurveState.clear();
    mCurveState.insert(mCurveState.end(), {static_cast<double>(m.W), m.logMin, m.logSpan, static_cast<double>(m.B),
                                           static_cast<double>(m.H), mEqDbLo, mEqDbHi, mSampleRate});
    const int bands = ReadableBands();
    for (int k = 0; k < bands; ++k) {
      mCurveState.insert(mCurveState.end(),
                         {static_cast<double>(mBandActive[k]), static_cast<double>(mBandType[k]), mBandGain[k],
                          mBandFreq[k], mBandQ[k], static_cast<double>(mBandChMode[k]),
                          static_cast<double>(mBandSlope[k]), static_cast<double>(mBandSolo[k])});
    }
    mEvaluatorState(mEvaluatorContext, &mCurveState);
    mCurveCache.SetState(mCurveState);
  } else {
    mCurveCache.Clear();
  }
  const int* rows = mCurveCache.Rows(channel, band, m.W, [&](int c) {
    return yOf(mEvaluator(mEvaluatorContext, m.ColumnHz(c), channel, band));
  });
  const auto rowAt = [rows](int column) { return rows[column]; };

  if (fillToZero && fill) {
    const int y0 = std::clamp(yOf(0.0), m.T, m.B);
    int prevX = m.L;
    int prevY = std::clamp(rowAt(0), m.T, m.B);
    for (int c = step; c < m.W; c += step) {
      const int x = m.L + c;
      const IRECT r(prevX, std::min(prevY, y0), x, std::max(prevY, y0));
      g->FillIRect(fill, &r, &mBlend);
      prevX = x;
      prevY = std::clamp(rowAt(c), m.T, m.B);
    }
  }

  if (drawLine && line) {
    // Every piece reaches at most thickness pixels past the plot's sides.
    LineRuns pen(g, *line, &mBlend, m.L + 1 - thickness, m.R + 1 + thickness, &mCurveLineCounts);
    DrawCurveLine(&pen, m, rows, thickness, step);

    // A band's line from its curve to where its handle sits.
    double levelDb = 0.0;
    const int n = ReadableBands();
    if (band >= 0 && band < n && MarkerLevelDb(mBandType[band], mBandGain[band], mBandQ[band], &levelDb)) {
      const double fb = mBandFreq[band];
      const int x = xOf(fb);
      if (x - m.L >= 1 && x < m.R) {
        const int y1 = std::clamp(mCurveCache.MarkerRow(channel, band, [&] {
                                    return yOf(mEvaluator(mEvaluatorContext, fb, channel, band));
                                  }),
                                  m.T, m.B);
        const int y2 = std::clamp(yOf(levelDb), m.T, m.B);
        pen.Line(x, y1, x, y2);
      }
    }
  }
  return true;
}
