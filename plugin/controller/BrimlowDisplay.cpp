#include "editor/BandControlGreying.h"
#include "editor/display/IScope.h"
#include "plugin/controller/Brimlow.h"
#include "plugin/engine/ParamIndex.h"

namespace {

void FillAnalyzerView(const SpectrumAnalyzer* analyzer, SpectrumView* view) {
  if (!analyzer) {
    *view = SpectrumView();
    return;
  }
  view->bandCount = analyzer->PointCount();
  view->bandFrequencies = analyzer->PointFreqs();
  view->bandMax = analyzer->MaxCurve();
  view->bandRunning = analyzer->SmoothedCurve();
  view->bandAverage = analyzer->AverageCurve();
  view->binCount = analyzer->BinCount();
  view->binMax = analyzer->Maximum();
  view->binRunning = analyzer->Smoothed();
  view->binAverage = analyzer->Average();
}

}  // namespace

void Brimlow::SetScope(IScope* scope, int controlIndex) {
  mScope = scope;
  mScopeControlIdx = scope ? controlIndex : -1;
}

void Brimlow::OnControlsCleared() {
  SetScope(nullptr, -1);
  mAnalyzerMenu = nullptr;
}

void Brimlow::UpdateBandControls(int band, int type) { BandControlGreying::UpdateBandControls(GetGUI(), band, type); }

void Brimlow::UpdateAllBandControls() { BandControlGreying::UpdateAllBandControls(GetGUI(), mMirrors.bandType); }

void Brimlow::HandOverDisplayData() {
  if (!mScope) return;
  mScope->mNumBands = kNumBands;
  mScope->mBandActive = mMirrors.bandActive;
  mScope->mBandType = mMirrors.bandType;
  mScope->mBandGain = mMirrors.bandGain;
  mScope->mBandFreq = mMirrors.bandFreq;
  mScope->mBandQ = mMirrors.bandQ;
  mScope->mBandChMode = mMirrors.bandChMode;
  mScope->mBandSlope = mMirrors.bandSlope;
  mScope->mBandSolo = mMirrors.bandSolo;
  // Every band's Type, ChMode and Slope carry band 0's texts: the band
  // menu reads them there.
  mScope->mTypeParam = BandParamIndex(0, kBandType);
  mScope->mChModeParam = BandParamIndex(0, kBandChMode);
  mScope->mSlopeParam = BandParamIndex(0, kBandSlope);
  mScope->mSampleRate = mDspSampleRate;
  mScope->mAnalyzerChannel = mMirrors.analyzerMode;

  FillAnalyzerView(mPreAnalyzer.get(), &mScope->mSpectrumViews[IScope::kPreView]);
  FillAnalyzerView(mPostAnalyzer.get(), &mScope->mSpectrumViews[IScope::kPostView]);
  SpectrumView& reference = mScope->mSpectrumViews[IScope::kReferenceView];
  reference = SpectrumView();
  reference.bandCount = ReferenceCapture::GetCount();
  reference.bandFrequencies = mReference.GetFrequencies();
  reference.bandRunning = mReference.GetMagnitudes();
  reference.binCount = mReferenceGridCount;
  reference.binRunning = mReferenceGrid.Get();
  mScope->mReferenceCurve = mReferenceGrid.Get();
  mScope->mReferenceCurveCount = mReferenceGridCount;

  mScope->UpdateBandHandles();
}
