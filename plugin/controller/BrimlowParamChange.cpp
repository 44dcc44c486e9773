#include <algorithm>

#include "editor/display/IScope.h"
#include "graphics/IGraphics.h"
#include "plugin/controller/Brimlow.h"
#include "plugin/controller/MirrorRounding.h"
#include "plugin/engine/FirImpulseBuilder.h"
#include "plugin/engine/ParamIndex.h"

namespace {

// A NaN on either side counts as a change, so a mirror that somehow holds
// one is always replaced.
bool Differs(double a, double b) { return !(a == b); }

// Clears the re-entrancy flag on every way out, an exception from an
// allocation included: a flag left set would turn every later change into
// a no-op.
class ReentryGuard {
 public:
  explicit ReentryGuard(bool& flag) : mFlag(flag) { mFlag = true; }
  ~ReentryGuard() { mFlag = false; }
  ReentryGuard(const ReentryGuard&) = delete;
  ReentryGuard& operator=(const ReentryGuard&) = delete;

 private:
  bool& mFlag;
};

}  // namespace

void Brimlow::OnParamChange(int paramIdx) {
  WDL_MutexLock lock(GetMutex());
  if (mInParamChange) return;
  {
    ReentryGuard guard(mInParamChange);
    mLatencyMoved = false;
    mForceConvolution = false;
    RedesignRequest request;

    if (paramIdx >= 0 && paramIdx < kNumParams) {
      // The controls follow every change that reaches the plug-in, from the
      // host as well: a control left at an old value would swallow a later
      // change made through it on the user's behalf (a control passes on
      // only values that differ from its own).
      if (IGraphics* graphics = GetGUI()) graphics->SetParameterFromPlug(paramIdx, ParamValue(paramIdx), false);
      int band = 0, field = 0;
      if (SplitBandParamIndex(paramIdx, &band, &field)) {
        OnBandParamChange(band, field, request);
      } else {
        OnGlobalParamChange(paramIdx, request);
      }
    } else if (paramIdx == kScopeTag) {
      OnGraphEvent(request);
    } else if (paramIdx >= kFirstCommandTag && paramIdx <= kLastCommandTag) {
      OnCommandTag(paramIdx, request);
    }

    RedesignAfterChange(request);
  }
  // The editor redraws its readouts at its next tick.
  mEngine.GetDisplayTiming().FlagRefresh();
}

double Brimlow::ParamValue(int paramIdx) const {
  const IParam* param = GetParam(paramIdx);
  return param ? param->Value() : 0.0;
}

bool Brimlow::ChangedFromMouse() const {
  const IGraphics* graphics = GetGUI();
  if (!graphics || mInParamBatch) return false;
  const IMouseMod& mod = graphics->mLastMouseMod;
  return mod.L || mod.R || mod.W;
}

bool Brimlow::ShiftHeld() const {
  const IGraphics* graphics = GetGUI();
  return graphics && !mInParamBatch && graphics->mLastMouseMod.S;
}

// The dispatch is the one writer of the mirrors; band edits store theirs
// the same way.
void Brimlow::StoreBandMirror(int band, int field, double value) {
  const double rounded = MirrorRounding::BandField(field, value);
  switch (field) {
    case kBandActive: mMirrors.bandActive[band] = static_cast<int>(rounded); break;
    case kBandType: mMirrors.bandType[band] = static_cast<int>(rounded); break;
    case kBandChMode: mMirrors.bandChMode[band] = static_cast<int>(rounded); break;
    case kBandSlope: mMirrors.bandSlope[band] = static_cast<int>(rounded); break;
    case kBandGain: mMirrors.bandGain[band] = rounded; break;
    case kBandFreq: mMirrors.bandFreq[band] = rounded; break;
    case kBandQ: mMirrors.bandQ[band] = rounded; break;
    case kBandSolo: mMirrors.bandSolo[band] = static_cast<int>(rounded); break;
    default: break;
  }
}

double Brimlow::BandMirrorValue(int band, int field) const {
  switch (field) {
    case kBandActive: return mMirrors.bandActive[band];
    case kBandType: return mMirrors.bandType[band];
    case kBandChMode: return mMirrors.bandChMode[band];
    case kBandSlope: return mMirrors.bandSlope[band];
    case kBandGain: return mMirrors.bandGain[band];
    case kBandFreq: return mMirrors.bandFreq[band];
    case kBandQ: return mMirrors.bandQ[band];
    case kBandSolo: return mMirrors.bandSolo[band];
    default: return 0.0;
  }
}

void Brimlow::OnBandParamChange(int b, int field, RedesignRequest& request) {
  ParamMirrors& m = mMirrors;
  const double v = ParamValue(BandParamIndex(b, field));
  if (!Differs(MirrorRounding::BandField(field, v), BandMirrorValue(b, field))) return;
  StoreBandMirror(b, field, v);

  if (field == kBandSolo) {
    // A stored state may hold several soloed bands (the band menu solos one
    // alone): a restore keeps them all.
    if (m.bandSolo[b] == 1 && !mInParamBatch) {
      for (int other = 0; other < kNumBands; ++other) {
        if (other != b) SetBandField(other, kBandSolo, 0.0);
      }
    }
    // "Zero Latency" picks the soloed bands per block; only an impulse
    // measured from the chain has to be built again.
    request.audioRedesign = m.filterMode > 0;
    return;
  }

  if (field == kBandGain || field == kBandFreq || field == kBandQ) {
    // A drag moves the response without restarting the filters.
    request.audioRedesign = m.bandActive[b] != 0;
    request.displayRedesign = true;
    UpdateBandControls(b, m.bandType[b]);
    return;
  }

  // A new structure (or a band joining or leaving the chain) would ring on
  // with the state of the old one: all bands start from rest.
  mEngine.ResetProcessBands();
  request.audioRedesign = field == kBandActive || m.bandActive[b] != 0;
  request.displayRedesign = true;
  UpdateBandControls(b, m.bandType[b]);
  if ((field == kBandActive || field == kBandChMode) && ChangedFromMouse()) SyncCurveSelection(b);
}

void Brimlow::ChangeOversampling() {
  const ParamMirrors& m = mMirrors;
  // The FIR length grows with the factor, so the reported latency of a
  // filter mode stays the same at every factor. The builder's buffers
  // already hold the longest length: nothing is reallocated.
  if (m.filterMode >= 1 && m.filterMode <= 6)
    mEngine.SetFirLength(FirImpulseBuilder::LengthFor(m.filterMode, m.osFactor));
  mEngine.RestartDisplayTiming();
  mMeters.SetMeterMode(m.mainMeterMode, mDspSampleRate);
  mMeters.SetClipLampTiming(mDspSampleRate);
  mEngine.FreeOversampling();
  mEngine.SetupOversampling();
  mLatencyMoved = true;
  FollowLatency();
}

void Brimlow::ChangeFilterMode() {
  const ParamMirrors& m = mMirrors;
  if (m.filterMode < 1 || m.filterMode > 6) return;
  mEngine.SetFirLength(FirImpulseBuilder::LengthFor(m.filterMode, m.osFactor));
  // The tail builds the impulse once, after the process banks are designed.
  mForceConvolution = true;
}

void Brimlow::FollowLatency() { mEngine.DistributeLatency(); }

void Brimlow::AlignPreAnalyzer() {
  if (!mPreAnalyzer) return;
  const int delay = std::min(mEngine.GetTotalLatency(), SpectrumAnalyzer::kDelayCapacity);
  if (mPreAnalyzer->DelaySamples() != delay) mPreAnalyzer->SetDelay(delay);
}

void Brimlow::RedesignAfterChange(const RedesignRequest& request) {
  if (request.displayRedesign) {
    mEngine.DesignDisplayBands(request.band);
    if (mScope) mScope->UpdateBandHandles();
  }
  if (request.audioRedesign) {
    mEngine.DesignProcessBands(request.band);
    if (request.resetStates) mEngine.ResetProcessBands();
    if (mMirrors.filterMode > 0) {
      const bool fresh = request.resetStates || mForceConvolution;
      if (mInParamBatch) {
        // A restore changes up to a hundred fields: one impulse at the end.
        mImpulsePending = true;
        mImpulsePendingFresh = mImpulsePendingFresh || fresh;
      } else {
        mEngine.BuildImpulseResponse();
        mEngine.UpdateConvolution(fresh, fresh);
      }
    }
  }
  ReportLatency();
}

void Brimlow::BeginParamBatch() {
  mInParamBatch = true;
  mImpulsePending = false;
  mImpulsePendingFresh = false;
}

void Brimlow::EndParamBatch() {
  mInParamBatch = false;
  if (!mImpulsePending) return;
  mImpulsePending = false;
  if (mMirrors.filterMode > 0) {
    mEngine.BuildImpulseResponse();
    mEngine.UpdateConvolution(mImpulsePendingFresh, mImpulsePendingFresh);
  }
  mImpulsePendingFresh = false;
  ReportLatency();
}

void Brimlow::ReportLatency() {
  FollowLatency();
  // The loudness match compares the input, delayed by the latency, with
  // the output: after a filter-mode or oversampling change it must take the
  // final latency, not the one before the impulse was loaded.
  if (mLatencyMoved || mEngine.GetTotalLatency() != mTotalLatency) ApplyLatency();
  AlignPreAnalyzer();
  mEngine.UpdateHostLatency(mEngine.GetTotalLatency());
}
