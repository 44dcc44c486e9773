#include <cstdio>

#include "editor/display/IScope.h"
#include "editor/display/NoteName.h"
#include "editor/display/ScopeText.h"
#include "editor/display/SpectrumDrawing.h"
#include "graphics/IGraphics.h"

// Which analyser sets are drawn, in which colours and as what, and the
// peak marker that follows the loudest of them.

namespace {

enum EVariant { kMaxHold, kRunning, kAverage };

// The colour slots of each kind of set: line, fill.
struct LayerColors {
  int line, fill;
};
constexpr LayerColors kReferenceColors{28, 37};
constexpr LayerColors kPreColors[3] = {{27, 36}, {26, 35}, {26, 35}};
constexpr LayerColors kPostColors[3] = {{31, 40}, {30, 39}, {30, 39}};
constexpr LayerColors kDeltaColors[3] = {{33, 42}, {34, 43}, {34, 43}};

constexpr float kPeakDotRadius = 2.0f;
constexpr IColor kPeakDotColor(255, 255, 0, 0);
// The peak boxes disappear at or below this level.
constexpr double kPeakFloorDb = -90.0;

SpectrumSeries Series(const SpectrumView& v, int variant) {
  SpectrumSeries s;
  s.bandCount = v.bandCount;
  s.bandFrequencies = v.bandFrequencies;
  s.bandValues = variant == kMaxHold ? v.bandMax : variant == kRunning ? v.bandRunning : v.bandAverage;
  s.binCount = v.binCount;
  s.bins = variant == kMaxHold ? v.binMax : variant == kRunning ? v.binRunning : v.binAverage;
  return s;
}

}  // namespace

struct IScope::SpectrumLayer {
  const IColor* line;
  const IColor* fill;
  SpectrumSeries series;
  int style;
  bool isMax;
  bool isPre;
  bool drawFill;
  SpectrumTerms terms;
};

void IScope::DrawSpectrumLayers(IGraphics* g, int strip) {
  const SpectrumView& reference = mSpectrumViews[kReferenceView];
  const SpectrumView& pre = mSpectrumViews[kPreView];
  const SpectrumView& post = mSpectrumViews[kPostView];
  // The reference has one variant, kept where the running spectrum goes.
  const SpectrumSeries referenceSeries = Series(reference, kRunning);

  if (strip == 0 && mShowReference && reference.bandCount != 0) {
    // Under "ISO Smoothed" the reference keeps to its bins ("Smoothed").
    const int style = mSmoothMode == kStyleIsoSmoothed ? kStyleSmoothed : mSmoothMode;
    SpectrumLayer layer{&mColors[kReferenceColors.line], &mColors[kReferenceColors.fill], referenceSeries, style,
                        false, true, true, SpectrumTerms()};
    layer.terms.levelOffsetDb = mRefGain;
    PlotSpectrum(g, layer, strip);
  }

  const bool shown[3] = {mShowMax, mShowRunning, mShowAverage};
  // The three variants of one source, max hold first (never filled).
  const auto drawVariants = [&](const SpectrumView& view, const LayerColors* colors, bool isPre,
                                const SpectrumTerms& terms) {
    for (int v = kMaxHold; v <= kAverage; ++v) {
      if (!shown[v]) continue;
      const SpectrumLayer layer{&mColors[colors[v].line], &mColors[colors[v].fill], Series(view, v), mSmoothMode,
                                v == kMaxHold, isPre, v != kMaxHold, terms};
      PlotSpectrum(g, layer, strip);
    }
  };

  if (mShowPre && pre.bandCount != 0) drawVariants(pre, kPreColors, true, SpectrumTerms());

  const LayerColors* postColors = mShowDelta == 1 ? kDeltaColors : kPostColors;
  SpectrumTerms postTerms;
  postTerms.referenceOffsetDb = mRefGain;
  if (mPredictivePost && !mMouseColumn && mShowPost && pre.bandCount != 0) {
    // The pre-filter spectrum through the EQ as drawn stands in for the
    // post-filter analyser.
    if (mAB) {
      postTerms.eqResponse = mEvaluator;
      postTerms.eqContext = mEvaluatorContext;
      postTerms.eqChannel = mAnalyzerChannel;
    }
    if (mShowDelta == 1) postTerms.reference = &referenceSeries;
    drawVariants(pre, postColors, false, postTerms);
  } else if (mShowPost && post.bandCount != 0) {
    if (mShowDelta != 0 && !mMouseColumn) postTerms.reference = &referenceSeries;
    drawVariants(post, postColors, false, postTerms);
  }
}

void IScope::PlotSpectrum(IGraphics* g, const SpectrumLayer& layer, int strip) {
  SpectrumAxes axes;
  axes.plot = mPlotRect;
  axes.freqMinHz = mFreqMin;
  axes.freqMaxHz = mFreqMax;
  axes.dbLo = mSpecDbLo;
  axes.dbHi = mSpecDbHi;
  axes.eqDbLo = mEqDbLo;
  axes.eqDbHi = mEqDbHi;
  axes.sampleRate = mSampleRate;
  axes.slopeDbPerOctave = mSlope;

  SpectrumPlot& plot = mSpectrumPlot;
  const bool plotted = plot.Plot(axes, layer.series, layer.style, layer.terms, strip > 0);
  // The last set drawn for a side sets its peak; one that could not be
  // plotted leaves none rather than a stale one.
  SpectrumPeak& peak = layer.isPre ? mPeakPre : mPeakPost;
  peak.frequencyHz = plot.PeakHz();
  peak.levelDb = plot.PeakDb();
  if (!plotted) return;

  const SpectrumPen pen{g, &mBlend, PlotMapping(mPlotRect, mFreqMin, mFreqMax)};
  if (strip == 0) {
    SpectrumCurveStyle style;
    style.isMax = layer.isMax;
    style.drawFill = layer.drawFill;
    style.smooth = layer.style != kStyleRaw;
    style.barUnit = SpectrumPlot::IsBarStyle(layer.style) ? SpectrumPlot::BarUnit(layer.style, mPlotWidth) : 0;
    DrawSpectrumPolyline(pen, *layer.line, *layer.fill, plot.Points(), plot.Count(), mFreqMin, mFreqMax, style);
    return;
  }
  const int n = plot.BinMapSize();
  const double nyquist = mSampleRate / 2.0;
  SpectrogramStrip s;
  s.binMap = plot.BinMap();
  s.binCount = n;
  s.binsPerHz = n > 1 ? (n - 1) / nyquist : 0.0;
  s.nyquistHz = nyquist;
  s.dbLo = mSpecDbLo;
  s.dbHi = mSpecDbHi;
  s.peakDb = plot.PeakDb();
  s.heatMap = strip == 2;
  s.top = mPlotRect.B - (layer.isPre ? mStripPreOffset : mStripPostOffset);
  s.height = mStripH;
  DrawSpectrogramColumns(pen, plot.Points(), plot.Count(), s);
}

void IScope::DrawPeakMarker(IGraphics* g, int tracking) {
  if (tracking == 0) return;
  const SpectrumPeak& peak = tracking == 2 ? mPeakPost : mPeakPre;
  if (!(peak.levelDb > kPeakFloorDb)) return;
  const PlotMapping m(mPlotRect, mFreqMin, mFreqMax);
  const double f = peak.frequencyHz;
  const int x = m.XOf(f);
  const int y = m.YOfFraction((peak.levelDb - mSpecDbLo) / (mSpecDbHi - mSpecDbLo));
  if (m.Contains(x, y)) g->FillCircle(&kPeakDotColor, x, y, kPeakDotRadius, &mBlend, true);

  const int size = mPeakTextSize;
  IText text = ScopeText(size, mColHoverText, IText::kAlignFar);
  const auto widthOf = [&](const char* probe) {
    IRECT r(0, 0, 0, 0);
    g->DrawIText(&text, probe, &r, true);
    return r.W();
  };
  const auto box = [&](int left, int width, const char* str) {
    const IRECT back(left - mTagMargin, m.T, left + width + mTagMargin, m.T + size);
    g->FillIRect(&mColBorder, &back, &mBlend);
    IRECT r(left, m.T, left + width, m.T + size);
    g->DrawIText(&text, str, &r);
  };

  char str[64];
  const int w1 = widthOf("99999Hz");
  const int freqLeft = m.R - mPeakBoxMargin - w1;
  std::snprintf(str, sizeof str, "%.0lfHz", f);
  box(freqLeft, w1, str);

  char note[kNoteNameSize], cents[kNoteNameSize];
  int octave = 0;
  FrequencyToNoteName(note, cents, &octave, f);
  const int w2 = widthOf(octave >= 10 ? "A#10 +99C" : "A#9  +99C");
  std::snprintf(str, sizeof str, "%s %s", note, cents);
  box(freqLeft - mPeakBoxGap - w2, w2, str);
}
