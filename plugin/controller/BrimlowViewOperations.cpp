#include "editor/display/IScope.h"
#include "graphics/IGraphics.h"
#include "plugin/controller/Brimlow.h"
#include "plugin/controller/MirrorRounding.h"
#include "plugin/engine/ParamIndex.h"

// The graph's visible ranges follow the display parameters. Every step here
// sets the parameter through its controls (so host and stored state see the
// view), keeps the value the parameter clamped to in the mirror, and then
// moves the graph; without an editor only the parameter and mirror move.

namespace {

// One zoom click or wheel notch, in percent of the parameter's range.
constexpr double kZoomStepPercent = 5.0;

double DefaultOf(const IPlugBase& plug, int paramIdx) {
  const IParam* param = plug.GetParam(paramIdx);
  return param ? param->GetDefault() : 0.0;
}

}  // namespace

bool Brimlow::IsEditorMouseDown() const {
  const IGraphics* graphics = GetGUI();
  return graphics && graphics->mMouseDown;
}

double Brimlow::SetNormalizedForUser(int paramIdx, double normalized) {
  IParam* param = GetParam(paramIdx);
  if (!param) return normalized;
  if (IGraphics* graphics = GetGUI()) graphics->SetParameterViaControls(paramIdx, normalized, true);
  return param->Value();
}

void Brimlow::RecomputeFrequencyRange() {
  if (mScope) mScope->RecomputeFrequencyRange();
}

void Brimlow::RecomputeAxisRanges() {
  if (mScope) mScope->RecomputeRanges();
}

void Brimlow::ApplyEQScale(double scale) {
  // The graph's first grid value is always 1 dB; it keeps the other three.
  if (mScope) mScope->SetEQScale(scale);
}

void Brimlow::ApplyFrequencyScale(double percent) {
  mMirrors.fScalePercent = percent;
  if (mScope) mScope->mFreqZoom = percent / 100.0;
  RecomputeFrequencyRange();
}

void Brimlow::ApplyFrequencyOffset(double percent) {
  mMirrors.fOffsetPercent = percent;
  if (mScope) mScope->mFreqOffset = percent / 100.0;
  RecomputeFrequencyRange();
}

void Brimlow::ApplyDBOffset(double db) {
  mMirrors.dbOffsetDb = MirrorRounding::Tenth(db);
  // A higher offset lifts the curves, so the range shown moves down.
  if (mScope) mScope->mSpecDbOffset = -mMirrors.dbOffsetDb;
  RecomputeAxisRanges();
}

void Brimlow::ApplySpectrumSlope(double value) {
  mMirrors.spectrumSlope = value;
  if (mScope) mScope->mSlope = value;
}

void Brimlow::SetFrequencyScale(double percent) { ApplyFrequencyScale(SetParameterForUser(kParamFScale, percent)); }

void Brimlow::SetFrequencyOffset(double percent) { ApplyFrequencyOffset(SetParameterForUser(kParamFOffset, percent)); }

void Brimlow::SetGainScalePercent(double percent) {
  mMirrors.gScalePercent = SetParameterForUser(kParamGScale, percent);
  if (mScope) mScope->SetGainScale(mMirrors.gScalePercent / 100.0);
}

void Brimlow::SetDBOffset(double db) { ApplyDBOffset(SetParameterForUser(kParamDBOffset, db)); }

void Brimlow::SetEQScalePercent(double percent) {
  mMirrors.eqScalePercent = SetParameterForUser(kParamEQScale, percent);
  ApplyEQScale(mMirrors.eqScalePercent / 100.0);
}

void Brimlow::SetSpectrumSlope(double value) { ApplySpectrumSlope(SetParameterForUser(kParamSpectrumSlope, value)); }

void Brimlow::StepGainScale(int steps) { SetGainScalePercent(mMirrors.gScalePercent + kZoomStepPercent * steps); }

void Brimlow::ResetFrequencyView() {
  SetFrequencyScale(DefaultOf(*this, kParamFScale));
  SetFrequencyOffset(DefaultOf(*this, kParamFOffset));
}

void Brimlow::ResetGainView() {
  SetGainScalePercent(DefaultOf(*this, kParamGScale));
  SetDBOffset(DefaultOf(*this, kParamDBOffset));
}

void Brimlow::ResetEQScale() { SetEQScalePercent(DefaultOf(*this, kParamEQScale)); }

void Brimlow::PanFrequencyView() {
  // The drag distance lives in the graph: nothing to pan without it.
  if (!mScope) return;
  SetFrequencyOffset(mMirrors.fOffsetPercent + (mMirrors.fScalePercent / -100.0) * mScope->mEvent.mDragDX);
}

void Brimlow::PanGainView() {
  if (!mScope) return;
  SetDBOffset(mMirrors.dbOffsetDb + (mMirrors.gScalePercent / -100.0) * mScope->mEvent.mDragDY);
}

void Brimlow::ZoomFrequencyBySteps(int steps) {
  SetFrequencyScale(mMirrors.fScalePercent + kZoomStepPercent * steps);
}

void Brimlow::ZoomFrequencyStep(int direction) { ZoomFrequencyBySteps(direction == 0 ? 1 : -1); }

void Brimlow::ZoomEQScaleBySteps(int steps) { SetEQScalePercent(mMirrors.eqScalePercent + kZoomStepPercent * steps); }

void Brimlow::ZoomEQScaleStep(int direction) { ZoomEQScaleBySteps(direction == 0 ? 1 : -1); }

void Brimlow::ResetViewToDefaults(bool withOffsetAndSlope) {
  SetFrequencyScale(DefaultOf(*this, kParamFScale));
  SetFrequencyOffset(DefaultOf(*this, kParamFOffset));
  SetGainScalePercent(DefaultOf(*this, kParamGScale));
  ResetEQScale();
  if (withOffsetAndSlope) {
    SetDBOffset(DefaultOf(*this, kParamDBOffset));
    SetSpectrumSlope(DefaultOf(*this, kParamSpectrumSlope));
  }
  // The handles sit on the new ranges and the curve is drawn from the
  // display bank, which is designed for the bands as they stand.
  mEngine.DesignDisplayBands(-1);
  if (mScope) mScope->UpdateBandHandles();
}
