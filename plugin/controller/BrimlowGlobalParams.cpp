#include <algorithm>
#include <cmath>

#include "editor/EditorLayout.h"
#include "editor/display/IScope.h"
#include "graphics/IGraphics.h"
#include "plugin/controller/Brimlow.h"
#include "plugin/controller/MirrorRounding.h"
#include "plugin/engine/ParamIndex.h"

using MirrorRounding::Enum;

void Brimlow::SetGuiScaleIndex(int index) {
  if (index == mMirrors.guiScaleIdx) return;
  mMirrors.guiScaleIdx = index;
  double scale = kGuiScaleDefault;
  switch (index) {
    case 0: scale = kGuiScaleMin; break;
    case 1: scale = 0.75; break;
    case 3: scale = 1.25; break;
    case 4: scale = 1.5; break;
    case 5: scale = 1.75; break;
    case 6: scale = kGuiScaleMax; break;
    default: break;
  }
  scale = std::clamp(scale, mMinGUIScale, mMaxGUIScale);
  mGUIScaleX = scale;
  mGUIScaleY = scale;
  // The editor timer resizes the window; a parameter change may come from
  // any thread, and only the GUI thread may touch the window.
  mGUIResizePending = true;
}

void Brimlow::OnGlobalParamChange(int paramIdx, RedesignRequest& request) {
  ParamMirrors& m = mMirrors;
  const double v = ParamValue(paramIdx);
  switch (paramIdx) {
    case kParamGUIScale: SetGuiScaleIndex(Enum(v)); return;
    case kParamOSMode: {
      const int mode = Enum(v);
      const int factor = mode == 2 ? 4 : mode == 1 ? 2 : 1;
      if (factor == m.osFactor) return;
      m.osFactor = factor;
      ChangeOversampling();
      // Every filter runs at a new rate: its state means nothing there.
      request.audioRedesign = true;
      request.displayRedesign = true;
      request.resetStates = true;
      UpdateAllBandControls();
      return;
    }
    case kParamAB:
      m.abEnabled = Enum(v);
      if (mScope) mScope->mAB = m.abEnabled;
      return;
    case kParamFilterMode: {
      const int mode = Enum(v);
      if (mode != m.filterMode) {
        m.filterMode = mode;
        ChangeFilterMode();
        // What the analysers hold was heard at the old latency.
        if (mPreAnalyzer) ResetAnalyzer(*mPreAnalyzer);
        if (mPostAnalyzer) ResetAnalyzer(*mPostAnalyzer);
        request.audioRedesign = true;
        request.displayRedesign = true;
        mLatencyMoved = true;
        UpdateAllBandControls();
      }
      // Also for the value it already has (a state load sends every
      // parameter): the latency is taken afresh.
      FollowLatency();
      return;
    }
    default: OnDisplayParamChange(paramIdx, v); return;
  }
}

void Brimlow::CopyCurveFlagsToScope() {
  if (!mScope) return;
  std::copy(mMirrors.showCurve, mMirrors.showCurve + 5, mScope->mShowCurve);
}

void Brimlow::CopyAnalyzerFlagsToScope() {
  if (!mScope) return;
  mScope->mShowMax = mMirrors.showMax == 1;
  mScope->mShowRunning = mSmoothedMode != 0;
  mScope->mShowAverage = mAverageMode != 0;
  mScope->mAttackMs = mAnalyzerAttackMs;
  mScope->mFrameRate = mGuiFps;
}

void Brimlow::OnDisplayParamChange(int paramIdx, double v) {
  ParamMirrors& m = mMirrors;
  IScope* scope = mScope;
  const int e = Enum(v);
  switch (paramIdx) {
    case kParamFScale: ApplyFrequencyScale(v); break;
    case kParamFOffset: ApplyFrequencyOffset(v); break;
    case kParamGScale:
      m.gScalePercent = v;
      if (scope) {
        scope->SetGainScale(v / 100.0);
        if (m.linkEQ) ApplyEQScale(v / 100.0);
      }
      break;
    case kParamDBOffset: ApplyDBOffset(v); break;
    case kParamSpectrumSlope: ApplySpectrumSlope(v); break;
    case kParamPreFilterSpectrum:
      m.preFilterSpectrum = e;
      if (scope) scope->mShowPre = e;
      break;
    case kParamPostFilterSpectrum:
      m.postFilterSpectrum = e;
      if (scope) scope->mShowPost = e;
      break;
    case kParamHold: m.hold = e; break;
    case kParamAnalyzerMode:
      if (e == m.analyzerMode) break;
      m.analyzerMode = e;
      // A spectrum of another channel would blend into the old one.
      if (mPreAnalyzer) ResetAnalyzer(*mPreAnalyzer);
      if (mPostAnalyzer) ResetAnalyzer(*mPostAnalyzer);
      if (scope) scope->mAnalyzerChannel = e;
      break;
    case kParamPhase: m.phase = e; break;
    case kParamOutputGain: m.outputGainDb = v; break;
    case kParamShowReference:
      m.showReference = e;
      if (scope) scope->mShowReference = e;
      EditorLayout::UpdateViewLayout(this);
      break;
    case kParamRefAGV:
      m.refAGVDb = MirrorRounding::Tenth(v);
      if (scope) {
        scope->mRefGain = m.refAGVDb;
        RecomputeAxisRanges();
      }
      break;
    case kParamAnalyzerShowGrid:
      m.analyzerShowGrid = e;
      if (scope) scope->mShowGrid = e;
      break;
    case kParamAnalyzerSpeed:
      // Whole milliseconds, to the nearest: a host value such as 1000 can
      // come back from its normalised form as 999.9999999.
      m.analyzerSpeedMs = std::floor(v + 0.5);
      ApplyAnalyzerSpeed();
      break;
    case kParamShowAddEQCurves:
      m.showAddEQCurves = e;
      if (scope) scope->mShowAddCurves = e;
      break;
    case kParamShowMusicalNote:
      m.showMusicalNote = e;
      if (scope) scope->mShowNote = e;
      break;
    case kParamEQCheatSheet:
      m.eqCheatSheet = e;
      if (scope) scope->mCheatSheet = e;
      break;
    case kParamLargeScope:
      m.largeScope = e;
      EditorLayout::UpdateViewLayout(this);
      break;
    case kParamLinkEQ:
      m.linkEQ = e;
      if (scope) {
        scope->SetGainScale(m.gScalePercent / 100.0);
        ApplyEQScale((m.linkEQ ? m.gScalePercent : m.eqScalePercent) / 100.0);
      }
      EditorLayout::UpdateViewLayout(this);
      break;
    case kParamEQScale:
      m.eqScalePercent = v;
      if (scope && !m.linkEQ) ApplyEQScale(v / 100.0);
      break;
    case kParamShowCurveAll:
    case kParamShowCurveLeft:
    case kParamShowCurveRight:
    case kParamShowCurveMid:
    case kParamShowCurveSide: {
      const int curve = paramIdx - kParamShowCurveAll;
      m.showCurve[curve] = e;
      // Shift-click shows this curve alone.
      if (ShiftHeld()) {
        ClearCurveSelection();
        m.showCurve[curve] = Enum(SetParameterForUser(paramIdx, 1.0));
      }
      CopyCurveFlagsToScope();
      break;
    }
    case kParamSmoothSpectrumCurve:
      m.smoothSpectrumCurve = e;
      if (scope) scope->mSmoothMode = e;
      break;
    case kParamShowOnlySelectedCurve:
      m.showOnlySelectedCurve = e;
      if (ChangedFromMouse()) SyncCurveSelection(-1);
      break;
    case kParamShowMax:
      m.showMax = e;
      CopyAnalyzerFlagsToScope();
      break;
    case kParamHiResAnalyzer:
      m.hiResAnalyzer = e;
      ReconfigureAnalyzers(e != 0);
      break;
    case kParamFrequencyTracking:
      m.frequencyTracking = e;
      if (scope) scope->mFreqTracking = e;
      break;
    case kParamSpectrogramMode:
      m.spectrogramMode = e;
      if (scope) scope->mSpectrogramMode = e;
      break;
    case kParamPredictivePostSpectrum:
      m.predictivePostSpectrum = e;
      if (scope) scope->mPredictivePost = e;
      break;
    case kParamDeltaSpectrum:
      m.deltaSpectrum = e;
      if (scope) scope->mShowDelta = e == 1;
      break;
    case kParamMainMeterMode:
      m.mainMeterMode = e;
      mMeters.SetMeterMode(e, mDspSampleRate);
      break;
    case kParamMainMeterChannelMode:
      m.mainMeterChannelMode = e;
      mMeters.SetChannelMode(e);
      mMeters.SetMeterMode(m.mainMeterMode, mDspSampleRate);
      EditorLayout::UpdateViewLayout(this);
      break;
    case kParamDAVILiteMode:
      m.daviLiteMode = e;
      ApplyLatency();
      break;
    case kParamToggleTooltips:
      m.toggleTooltips = e;
      if (IGraphics* graphics = GetGUI()) {
        graphics->mShowTooltips = e != 0;
        if (e != 0) graphics->mTooltipsActive = true;
      }
      break;
    default: break;
  }
}
