#include <algorithm>
#include <cmath>

#include "dsp/Levels.h"
#include "editor/display/IScope.h"
#include "graphics/IControl.h"
#include "graphics/IGraphics.h"
#include "plugin/controller/Brimlow.h"
#include "plugin/engine/BandTypes.h"
#include "plugin/engine/ParamIndex.h"

// Mouse actions on the EQ graph become band edits. The graph only records
// what happened (GraphEventRecord) and the modifiers come from the editor's
// copy of the last mouse event; every edit goes through the parameter's
// controls, so the host, the controls and stored state follow, and then
// writes the mirror, because the nested dispatch is a no-op.

namespace {

// Band-listen stays within what the ear and the speakers take.
constexpr double kListenMaxFrequencyHz = 22000.0;
constexpr double kListenMaxGainDb = 30.0;
constexpr double kMoveOutFrequencyHz = 48000.0;
constexpr double kFineFactor = 0.1;
constexpr double kWheelQStep = 0.01;      // normalised, per notch
constexpr double kFineWheelQStep = 0.001;

}  // namespace

int Brimlow::SelectedBand() const {
  const int band = mScope ? mScope->mEvent.mHitBand : -1;
  return band >= 0 && band < kNumBands ? band : -1;
}

void Brimlow::SetBandField(int band, int field, double value) {
  StoreBandMirror(band, field, SetParameterForUser(BandParamIndex(band, field), value));
}

void Brimlow::RequestBandRedesign(int band, RedesignRequest& request) {
  // A second band in the same request widens it to all bands, so neither
  // edit is left undesigned.
  const bool pending = request.audioRedesign || request.displayRedesign;
  request.band = pending && request.band != band ? -1 : band;
  if (mMirrors.bandActive[band]) request.audioRedesign = true;
  request.displayRedesign = true;
}

// ---- Band operations ---------------------------------------------------------

void Brimlow::ToggleSelectedBand(RedesignRequest& request) {
  const int s = SelectedBand();
  if (s < 0) return;
  SetBandField(s, kBandActive, mMirrors.bandActive[s] ? 0.0 : 1.0);
  // The other bands' states were built with this one in or out of the chain.
  mEngine.ResetProcessBands();
  SyncCurveSelection(s);
  request.audioRedesign = true;
  request.displayRedesign = true;
  request.band = -1;
}

void Brimlow::MoveSelectedBandOut(RedesignRequest& request) {
  const int s = SelectedBand();
  if (s < 0) return;
  const bool wasActive = mMirrors.bandActive[s] != 0;
  SetBandField(s, kBandFreq, kMoveOutFrequencyHz);
  SetBandField(s, kBandActive, 0.0);
  mEngine.ResetProcessBands();
  SyncCurveSelection(s);
  RequestBandRedesign(s, request);
  // The band leaves the chain: the audio path (and a FIR impulse) must
  // drop it, although it is inactive now.
  if (wasActive) request.audioRedesign = true;
}

void Brimlow::ResetSelectedBand(RedesignRequest& request) {
  const int s = SelectedBand();
  if (s < 0) return;
  for (int field : {kBandType, kBandChMode, kBandSlope}) {
    const IParam* param = GetParam(BandParamIndex(s, field));
    SetBandField(s, field, static_cast<int>(param->GetDefault()));
  }
  for (int field : {kBandFreq, kBandGain, kBandQ}) SetBandField(s, field, GetParam(BandParamIndex(s, field))->GetDefault());
  SyncCurveSelection(s);
  RequestBandRedesign(s, request);
}

void Brimlow::StepSelectedBandGain(bool fine, RedesignRequest& request) {
  const int s = SelectedBand();
  if (s < 0) return;
  const GraphEventRecord& event = mScope->mEvent;
  const double step = event.mDragDY * event.mDBPerPixel * (fine ? kFineFactor : 1.0);
  const int type = mMirrors.bandType[s];
  if (type > kTypeDTiltShelf) return;
  if (BandTypeUsesGain(type)) {
    // Screen y grows downwards: dragging down lowers the gain.
    SetBandField(s, kBandGain, mMirrors.bandGain[s] - step);
  } else if (IsCutBandType(type)) {
    // A cut band's handle height is its resonance, so the drag moves the Q
    // by the same decibels as it would move a gain.
    const double q = std::fabs(mMirrors.bandQ[s]);
    double qDb = q > Levels::kSilenceAmplitude ? Levels::kLogToDb * std::log(q) : Levels::kSilenceDb;
    qDb -= step;
    SetBandField(s, kBandQ, qDb > Levels::kSilenceDb ? std::exp(qDb * Levels::kDbToLog) : 0.0);
  } else {
    return;
  }
  RequestBandRedesign(s, request);
}

void Brimlow::StepSelectedBandFreq(bool fine, RedesignRequest& request) {
  const int s = SelectedBand();
  if (s < 0) return;
  const GraphEventRecord& event = mScope->mEvent;
  const double decades = event.mDragDX * event.mDecadesPerPixel * (fine ? kFineFactor : 1.0);
  SetBandField(s, kBandFreq, std::pow(10.0, std::log10(mMirrors.bandFreq[s]) + decades));
  RequestBandRedesign(s, request);
}

void Brimlow::StepSelectedBandField(int field, RedesignRequest& request) {
  const int s = SelectedBand();
  if (s < 0) return;
  const IParam* param = GetParam(BandParamIndex(s, field));
  int value = 0;
  switch (field) {
    case kBandType: value = mMirrors.bandType[s]; break;
    case kBandChMode: value = mMirrors.bandChMode[s]; break;
    case kBandSlope: value = mMirrors.bandSlope[s]; break;
    default: return;
  }
  // No wrap-around: a wheel that keeps turning stops at the last entry.
  const int steps = mScope->mEvent.mStep;
  if (steps >= 1) value = std::min(value + 1, static_cast<int>(param->GetMax()));
  else if (steps < 0) value = std::max(value - 1, static_cast<int>(param->GetMin()));
  SetBandField(s, field, value);
  RequestBandRedesign(s, request);
}

void Brimlow::StepSelectedBandType(RedesignRequest& request) { StepSelectedBandField(kBandType, request); }

void Brimlow::StepSelectedBandChannel(RedesignRequest& request) {
  StepSelectedBandField(kBandChMode, request);
  if (SelectedBand() >= 0) SyncCurveSelection(SelectedBand());
}

void Brimlow::StepSelectedBandSlope(RedesignRequest& request) { StepSelectedBandField(kBandSlope, request); }

void Brimlow::StepSelectedBandQ(double normalizedStep, RedesignRequest& request) {
  const int s = SelectedBand();
  if (s < 0 || !BandTypeUsesQ(mMirrors.bandType[s])) return;
  // In the parameter's own (logarithmic) scale, so a notch moves Q by the
  // same ratio at any Q.
  const int idx = BandParamIndex(s, kBandQ);
  const double normalized = GetParam(idx)->ToNormalizedParam(mMirrors.bandQ[s]) + normalizedStep;
  StoreBandMirror(s, kBandQ, SetNormalizedForUser(idx, std::clamp(normalized, 0.0, 1.0)));
  RequestBandRedesign(s, request);
}

void Brimlow::DoBandMenuCommand(RedesignRequest& request) {
  const int s = SelectedBand();
  if (s < 0) return;
  const GraphEventRecord& event = mScope->mEvent;
  switch (event.mMenuAction) {
    case GraphEventRecord::kCommandBandLine:
      ToggleSelectedBand(request);
      break;
    case GraphEventRecord::kCommandType:
      SetBandField(s, kBandType, event.mMenuValue);
      RequestBandRedesign(s, request);
      break;
    case GraphEventRecord::kCommandChannel:
      SetBandField(s, kBandChMode, event.mMenuValue);
      SyncCurveSelection(s);
      RequestBandRedesign(s, request);
      break;
    case GraphEventRecord::kCommandSlope:
      SetBandField(s, kBandSlope, event.mMenuValue);
      RequestBandRedesign(s, request);
      break;
    case GraphEventRecord::kCommandReset:
      ResetSelectedBand(request);
      break;
    case GraphEventRecord::kCommandInvertGain:
      if (BandTypeUsesGain(mMirrors.bandType[s])) {
        SetBandField(s, kBandGain, -mMirrors.bandGain[s]);
        RequestBandRedesign(s, request);
      }
      break;
    case GraphEventRecord::kCommandInvertGainAll:
      for (int b = 0; b < kNumBands; ++b) {
        if (!BandTypeUsesGain(mMirrors.bandType[b])) continue;
        SetBandField(b, kBandGain, -mMirrors.bandGain[b]);
        // Inactive bands too: they may be switched on later.
        request.audioRedesign = true;
        request.displayRedesign = true;
        request.band = -1;
      }
      break;
    case GraphEventRecord::kCommandMoveOut:
      ResetSelectedBand(request);
      MoveSelectedBandOut(request);
      break;
    case GraphEventRecord::kCommandSolo:
      // The band alone: the exclusive rule belongs to Solo changes that
      // reach the dispatch. "Zero Latency" picks the soloed bands per block;
      // a FIR mode hears them only through an impulse built again.
      SetBandField(s, kBandSolo, mMirrors.bandSolo[s] ? 0.0 : 1.0);
      if (mMirrors.filterMode > 0) request.audioRedesign = true;
      break;
    default:
      return;
  }
  UpdateAllBandControls();
}

// ---- Hover and band-listen ---------------------------------------------------

void Brimlow::ShowBandFrame(int band) {
  IGraphics* graphics = GetGUI();
  if (!graphics) return;
  for (int b = 0; b < kNumBands; ++b) {
    if (IControl* frame = graphics->GetControl(mBandFrameControls[b])) frame->SetValueFromPlug(0.0);
  }
  if (band >= 0 && band < kNumBands) {
    if (IControl* frame = graphics->GetControl(mBandFrameControls[band])) frame->SetValueFromPlug(1.0);
  }
}

void Brimlow::StartBandListen() {
  const GraphEventRecord& event = mScope->mEvent;
  const double frequencyHz = std::min(event.mHzAtMouse, kListenMaxFrequencyHz);
  const double gainDb = std::min(event.mDBAtMouse, kListenMaxGainDb);
  // The design keeps the frequency below half the rate the bank runs at
  // (the factor times the host rate): at a low host rate 22 kHz would
  // otherwise lie past it and the sections would run away.
  mEngine.StartListen(frequencyHz, gainDb);
  mScope->mMouseColumn = 1;
}

void Brimlow::StopBandListen() {
  mEngine.StopListen();
  if (mScope) mScope->mMouseColumn = 0;
}

// ---- The graph's tag -----------------------------------------------------------

void Brimlow::ZoomStripBySteps(int steps) {
  const GraphEventRecord& event = mScope->mEvent;
  if (event.mOnFreqScale) ZoomFrequencyBySteps(steps);
  if (event.mOnAnalyzerScale) {
    StepGainScale(steps);
    if (mMirrors.linkEQ) ZoomEQScaleBySteps(steps);
  }
  if (event.mOnEQScale) {
    ZoomEQScaleBySteps(steps);
    if (mMirrors.linkEQ) StepGainScale(steps);
  }
}

void Brimlow::ResetStripView() {
  const GraphEventRecord& event = mScope->mEvent;
  if (event.mOnFreqScale) ResetFrequencyView();
  if (event.mOnAnalyzerScale) {
    ResetGainView();
    if (mMirrors.linkEQ) ResetEQScale();
  }
  if (event.mOnEQScale) {
    ResetEQScale();
    if (mMirrors.linkEQ) ResetGainView();
  }
}

void Brimlow::OnGraphEvent(RedesignRequest& request) {
  if (!mScope) return;
  const GraphEventRecord& event = mScope->mEvent;
  const IGraphics* graphics = GetGUI();
  const IMouseMod mod = graphics ? graphics->mLastMouseMod : IMouseMod();
  const bool S = mod.S, C = mod.C, A = mod.A;
  const int s = SelectedBand();
  bool listenTurnedOn = false;

  // Stage A: the press itself.
  if (event.mEvDown) {
    if (s >= 0) {
      if (!S && !C && !A) SyncCurveSelection(s);
      else if (S && C) DoBandMenuCommand(request);
    } else if (event.mPlotHit) {
      if (!S && !C) {
        if (A) ResetStripView();
        else SyncCurveSelection(-1);
      } else if (C && !S) {
        listenTurnedOn = true;
      }
    }
  }

  // Stage B: the first kind of action set decides.
  if (event.mEvMenu) {
    if (s >= 0 && !S && !C && !A) DoBandMenuCommand(request);
  } else if (event.mEvDblClick) {
    if (s >= 0 && !S) {
      if (C) ResetSelectedBand(request);
      else if (!A) ToggleSelectedBand(request);
      UpdateAllBandControls();
    }
  } else if (event.mEvDrag) {
    if (s >= 0) {
      const bool fine = S;
      if (!A && !C) {
        StepSelectedBandGain(fine, request);
        StepSelectedBandFreq(fine, request);
      } else if (C && !A) {
        StepSelectedBandFreq(fine, request);
      } else if (A && !C) {
        StepSelectedBandGain(fine, request);
      } else if (!S) {
        StepSelectedBandFreq(fine, request);
      }
      UpdateAllBandControls();
    } else if (event.mPlotHit) {
      if (S) {
        ZoomStripBySteps(event.mStep);
      } else if (C) {
        listenTurnedOn = true;
      } else if (!A) {
        // The graph zeroes the delta that does not belong to the strip the
        // drag is in, so only that view moves.
        PanFrequencyView();
        PanGainView();
      }
    }
  } else if (event.mEvWheel) {
    if (s >= 0) {
      const int steps = event.mStep;
      if (S && !C) StepSelectedBandQ(-kFineWheelQStep * steps, request);
      else if (!S && !C && !A) StepSelectedBandQ(-kWheelQStep * steps, request);
      else if (A && !S && !C) StepSelectedBandSlope(request);
      else if (C && !S) StepSelectedBandChannel(request);
      else if (C && S && !A) StepSelectedBandType(request);
      UpdateAllBandControls();
    } else if (event.mPlotHit && !S && !C && !A) {
      ZoomStripBySteps(event.mStep);
    }
  } else if (event.mEvHover) {
    ShowBandFrame(event.mHitBand);
  } else if (event.mEvUp) {
    StopBandListen();
  }

  if (listenTurnedOn) StartBandListen();
}
