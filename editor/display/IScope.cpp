#include "editor/display/IScope.h"

#include <algorithm>
#include <cmath>

#include "dsp/Levels.h"
#include "editor/display/ScopeGuideSets.h"
#include "framework/IPlugBase.h"
#include "graphics/IGraphics.h"
#include "graphics/IText.h"
#include "plugin/engine/BandTypes.h"

namespace {

constexpr double kOctaveDecades = 0.30102999566398120;  // log10(2)
// A cut band's handle height is its resonance against this Q.
constexpr double kNeutralCutQ = 0.7;
constexpr double kNoResonanceDb = -360.0;

// Pixels truncate toward zero. Values far off the plot (a cut band at Q 0
// sits at -360 dB) saturate rather than overflow; NaN lands on 0.
int Trunc(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::clamp(v, -1e9, 1e9));
}

}  // namespace

IScope::IScope(IPlugBase* plug, const IRECT& rect, int tag, double fullFreqMin, double fullFreqMax,
               double sampleRate)
    : IControl(plug, rect, -1),
      mFullFreqMin(fullFreqMin),
      mFullFreqMax(fullFreqMax),
      mSampleRate(sampleRate),
      mFreqMin(fullFreqMin),
      mFreqMax(fullFreqMax),
      mMinSpanDecades(kOctaveDecades),
      mFullSpanDecades(std::log10(fullFreqMax) - std::log10(fullFreqMin)),
      mBandMenu(new IPopupMenu),
      mTypeMenu(new IPopupMenu),
      mChannelMenu(new IPopupMenu),
      mSlopeMenu(new IPopupMenu),
      mGuideSets(4096),
      mTag(tag) {
  std::copy(kScopeColors, kScopeColors + kNumScopeColors, mColors);
  UpdatePlotGeometry();
  MeasureScaleText(1.0, 1.0);
  BuildFrequencyGrid(mGridFreqs, mFreqLabels);
  BuildGuideSets(mGuideSets);
}

// Label sets last to first, then (by declaration order) the menus from the
// slope submenu back to the band menu.
IScope::~IScope() { mGuideSets.Empty(true); }

int IScope::ReadableBands() const {
  if (mNumBands <= 0 || !mBandActive || !mBandType || !mBandGain || !mBandFreq || !mBandQ || !mBandChMode ||
      !mBandSlope || !mBandSolo) {
    return 0;
  }
  return std::min<int>(mNumBands, kMaxBands);
}

void IScope::NotifyPlug() {
  if (mPlug) mPlug->OnParamChange(mTag);
}

// ---- Geometry ----------------------------------------------------------------

void IScope::UpdatePlotGeometry() {
  const int dx = Trunc(8.0 * mScaleX);
  const int dy = Trunc(5.0 * mScaleY);
  mPlotRect = IRECT(mRECT.L + dx, mRECT.T + dy, mRECT.R - dx, mRECT.B - dy);
  mPlotHeight = mPlotRect.H();
  mPlotWidth = mPlotRect.W();
  mAnalyzerScaleStrip = IRECT(mPlotRect.L, mPlotRect.T, mPlotRect.L + kStripSize, mPlotRect.B);
  mEQScaleStrip = IRECT(mPlotRect.R - kStripSize, mPlotRect.T, mPlotRect.R, mPlotRect.B);
  mFreqScaleStrip = IRECT(mPlotRect.L, mPlotRect.B - kStripSize, mPlotRect.R, mPlotRect.B);
}

void IScope::Rescale(double scaleX, double scaleY) {
  IControl::Rescale(scaleX, scaleY);
  MeasureScaleText(scaleX, scaleY);
  UpdatePlotGeometry();
  UpdateBandHandles();
  mRedraw = true;
  SetDirty(false);
}

void IScope::SetRECT(const IRECT& rect) {
  // Both rectangles: the mouse must find the graph where it is drawn after
  // a rescale or a change of view.
  IControl::SetRECT(rect);
  std::copy(kScopeColors, kScopeColors + kNumScopeColors, mColors);
  UpdatePlotGeometry();
  UpdateBandHandles();
  SetDirty(false);
}

void IScope::MeasureScaleText(double scaleX, double scaleY) {
  // Each product truncated on its own: the hover radius is twice the
  // truncated handle radius, not the truncated double.
  mLabelTextSize = Trunc(12.0 * scaleY);
  mLen14Y = Trunc(14.0 * scaleY);
  mLen10Y = Trunc(10.0 * scaleY);
  mGuideTextSize = Trunc(15.0 * scaleY);
  mHandleRadius = Trunc(7.0 * scaleY);
  mHoverRadius = 2 * Trunc(7.0 * scaleY);
  mBorderLines = Trunc(32.0 * scaleX);
  mStripPreOffset = Trunc(67.0 * scaleX);
  mStripPostOffset = Trunc(48.0 * scaleX);
  mStripH = Trunc(16.0 * scaleX);
  mPeakTextSize = Trunc(20.0 * scaleY);
  mPeakBoxMargin = Trunc(32.0 * scaleX);
  mTagMargin = Trunc(5.0 * scaleX);
  mPeakBoxGap = Trunc(10.0 * scaleX);
  mGuideBarH = Trunc(15.0 * scaleX);
  mBlackKeyBarH = Trunc(10.0 * scaleX);
  mGuideLabelW = Trunc(20.0 * scaleX);
  mGuideLabelH = Trunc(12.0 * scaleX);

  // The label boxes fit the widest text each scale shows. Without an editor
  // (or a font) they stay 0.
  IGraphics* graphics = mPlug ? mPlug->GetGUI() : nullptr;
  IText text(mLabelTextSize, mColors[0], "Verdana");
  const auto widthOf = [&](const char* str) {
    IRECT r;
    return graphics && graphics->MeasureIText(&text, str, &r) ? r.W() : 0;
  };
  mSpecLabelW = widthOf("-144");
  mEqLabelW = widthOf("-48");
  mGainReadoutW = widthOf("-48.0");
}

// ---- Ranges --------------------------------------------------------------------

void IScope::SetGainScale(double zoom) {
  mSpecZoom = zoom;
  if (zoom < 0.08) mSpecLabelStep = 3.0;
  else if (zoom < 0.3) mSpecLabelStep = 6.0;
  else if (zoom < 0.4) mSpecLabelStep = 9.0;
  else if (zoom < 0.5) mSpecLabelStep = 12.0;
  else mSpecLabelStep = 24.0;
  RecomputeRanges();
}

void IScope::SetEQScale(double zoom) {
  mEqZoom = zoom;
  if (zoom < 0.15) { mEqGridStep1 = 1.0; mEqGridStep2 = 3.0; mEqLabelStep = 1.0; }
  else if (zoom < 0.45) { mEqGridStep1 = 3.0; mEqGridStep2 = 6.0; mEqLabelStep = 3.0; }
  else if (zoom < 0.8) { mEqGridStep1 = 6.0; mEqGridStep2 = 12.0; mEqLabelStep = 6.0; }
  else { mEqGridStep1 = 12.0; mEqGridStep2 = 24.0; mEqLabelStep = 12.0; }
  RecomputeRanges();
}

void IScope::RecomputeRanges() {
  // Both ranges shrink about their centres and never below +-mMinHalfSpan.
  const double c = (mSpecDbFullLo + mSpecDbFullHi) * 0.5;
  const double h = (mSpecDbFullHi - mSpecDbFullLo) * 0.5;
  const double w = std::max(std::max(mSpecZoom, mMinHalfSpan / h) * h, mMinHalfSpan);
  mSpecDbLo = mSpecDbOffset + c - w;
  mSpecDbHi = mSpecDbOffset + c + w;

  // The equaliser's shift below the middle zooms with the range, so 0 dB
  // keeps its place in the plot.
  const double c2 = (mEqDbFullLo + mEqDbFullHi) * 0.5;
  const double h2 = (mEqDbFullHi - mEqDbFullLo) * 0.5;
  const double z = std::max(mEqZoom, mMinHalfSpan / h2);
  mEqDbLo = c2 - h2 * z - z * mEqDbOffset;
  mEqDbHi = c2 + h2 * z - z * mEqDbOffset;
  UpdateBandHandles();
}

void IScope::RecomputeFrequencyRange() {
  const double span = (mFullSpanDecades - mMinSpanDecades) * mFreqZoom + mMinSpanDecades;
  const double start = (mFullSpanDecades - span) * mFreqOffset;
  const double base = std::log10(mFullFreqMin);
  mFreqMin = std::floor(std::pow(10.0, base + start));
  mFreqMax = std::floor(std::pow(10.0, base + start + span));
  UpdateBandHandles();
}

// ---- Mappings -------------------------------------------------------------------

int IScope::FrequencyToX(double frequency) const {
  const double lo = std::log10(mFreqMin);
  const double hi = std::log10(mFreqMax);
  return mPlotRect.L + Trunc(mPlotWidth * (std::log10(frequency) - lo) / (hi - lo));
}

double IScope::XToFrequency(int x) const {
  const double lo = std::log10(mFreqMin);
  const double hi = std::log10(mFreqMax);
  return std::pow(10.0, static_cast<double>(x - mPlotRect.L) / mPlotWidth * (hi - lo) + lo);
}

int IScope::GainToY(double gainDb) const {
  return mPlotRect.B - Trunc(mPlotHeight * (gainDb - mEqDbLo) / (mEqDbHi - mEqDbLo));
}

double IScope::YToGain(int y) const {
  return static_cast<double>(mPlotRect.B - y) / mPlotHeight * (mEqDbHi - mEqDbLo) + mEqDbLo;
}

// ---- Handles --------------------------------------------------------------------

void IScope::UpdateBandHandles() {
  const int n = ReadableBands();
  if (n == 0) return;
  const int r = mHandleRadius;
  const double lo = std::log10(mFreqMin);
  const double hi = std::log10(mFreqMax);
  // The handles have always taken the width as a float (exact for any
  // editor width); the product itself is in double.
  const float width = static_cast<float>(mPlotWidth);
  for (int i = 0; i < n; ++i) {
    const int x = mPlotRect.L + Trunc(width * (std::log10(mBandFreq[i]) - lo) / (hi - lo));
    double v = 0.0;
    const int type = mBandType[i];
    if (BandTypeUsesGain(type)) {
      v = mBandGain[i];
    } else if (IsCutBandType(type)) {
      // The resonance in dB against a neutral cut.
      const double ratio = std::fabs(mBandQ[i] / kNeutralCutQ);
      v = ratio > 1e-30 ? Levels::kLogToDb * std::log(ratio) : kNoResonanceDb;
    }
    const int y = GainToY(v);
    mHandleRect[i] = IRECT(x - r, y - r, x + r, y + r);
    mHandleCentre[i].x = x;
    mHandleCentre[i].y = y;
    mHoverRect[i] = IRECT(x - 4 * r, y - 4 * r, x + 4 * r, y + 4 * r);
  }
  // A plot squeezed to nothing keeps the last finite scales.
  if (mPlotHeight > 0) mEvent.mDBPerPixel = (mEqDbHi - mEqDbLo) / mPlotHeight;
  if (mPlotWidth > 0) mEvent.mDecadesPerPixel = (hi - lo) / mPlotWidth;
}
