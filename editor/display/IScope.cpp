#include "editor/display/IScope.h"

#include <algorithm>
#include <cmath>

#include "dsp/Levels.h"
#include "framework/IPlugBase.h"
#include "plugin/engine/BandTypes.h"

namespace {

constexpr double kMinSpanDecades = 0.30102999566398120;  // one octave

int Trunc(double v) { return static_cast<int>(v); }

}  // namespace

IScope::IScope(IPlugBase* plug, const IRECT& rect, int tag, double fullFreqMin, double fullFreqMax,
               double sampleRate)
    : IControl(plug, rect, -1),
      mFullFreqMin(fullFreqMin),
      mFullFreqMax(fullFreqMax),
      mSampleRate(sampleRate),
      mFreqMin(fullFreqMin),
      mFreqMax(fullFreqMax),
      mMinSpanDecades(kMinSpanDecades),
      mFullSpanDecades(std::log10(fullFreqMax) - std::log10(fullFreqMin)),
      mTag(tag) {
  mTargetRECT = rect;
  UpdatePlotGeometry();
  MeasureScaleText(1.0, 1.0);
  mEvent.mDBPerPixel = 1.0;
  mEvent.mDecadesPerPixel = 1.0;
  mEvent.mHzAtMouse = 1.0;
}

void IScope::NotifyPlug() {
  if (mPlug) mPlug->OnParamChange(mTag);
  const double dBPerPixel = mEvent.mDBPerPixel;
  const double decadesPerPixel = mEvent.mDecadesPerPixel;
  mEvent.Clear();
  // The scales belong to the geometry, not to one action.
  mEvent.mDBPerPixel = dBPerPixel;
  mEvent.mDecadesPerPixel = decadesPerPixel;
}

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
  SetDirty(false);
}

void IScope::SetRECT(const IRECT& rect) {
  mRECT = rect;
  mTargetRECT = rect;
  UpdatePlotGeometry();
  UpdateBandHandles();
  SetDirty(false);
}

void IScope::MeasureScaleText(double scaleX, double scaleY) {
  (void)scaleX;
  mLabelTextSize = Trunc(12.0 * scaleY);
  mHandleRadius = Trunc(7.0 * scaleY);
  // Twice the truncated radius, not the truncated double radius.
  mHoverRadius = 2 * Trunc(7.0 * scaleY);
}

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
  const double c = (mSpecDbFullLo + mSpecDbFullHi) * 0.5;
  const double h = (mSpecDbFullHi - mSpecDbFullLo) * 0.5;
  const double w = std::max(std::max(mSpecZoom, mMinHalfSpan / h) * h, mMinHalfSpan);
  mSpecDbLo = mSpecDbOffset + c - w;
  mSpecDbHi = mSpecDbOffset + c + w;

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

int IScope::FrequencyToX(double frequency) const {
  const double lo = std::log10(mFreqMin);
  const double hi = std::log10(mFreqMax);
  // The width enters as a single-precision value, as the handles always did.
  const float width = static_cast<float>(mPlotWidth);
  return mPlotRect.L + Trunc(width * (std::log10(frequency) - lo) / (hi - lo));
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

void IScope::UpdateBandHandles() {
  if (mNumBands == 0 || !mBandFreq || !mBandType || !mBandGain || !mBandQ) return;
  const int r = mHandleRadius;
  for (int i = 0; i < mNumBands && i < kMaxBands; ++i) {
    const int x = FrequencyToX(mBandFreq[i]);
    double v = 0.0;
    const int type = mBandType[i];
    if (BandTypeUsesGain(type)) {
      v = mBandGain[i];
    } else if (IsCutBandType(type)) {
      // A cut band's height shows its resonance against Q 0.7.
      const double ratio = std::fabs(mBandQ[i] / 0.7);
      v = ratio > 1e-30 ? Levels::kLogToDb * std::log(ratio) : -360.0;
    }
    const int y = GainToY(v);
    mHandleRect[i] = IRECT(x - r, y - r, x + r, y + r);
    mHandleCentre[i].x = x;
    mHandleCentre[i].y = y;
    mHoverRect[i] = IRECT(x - 4 * r, y - 4 * r, x + 4 * r, y + 4 * r);
  }
  if (mPlotHeight > 0) mEvent.mDBPerPixel = (mEqDbHi - mEqDbLo) / mPlotHeight;
  if (mPlotWidth > 0) mEvent.mDecadesPerPixel = (std::log10(mFreqMax) - std::log10(mFreqMin)) / mPlotWidth;
}
