#include <algorithm>

#include "editor/display/IScope.h"
#include "plugin/controller/Brimlow.h"
#include "plugin/engine/ParamIndex.h"

namespace {

// Frames of 8192 (4096 bins) normally, 32768 (16384 bins) for "HiRes Analyzer".
constexpr int kFftLength = 8192;
constexpr int kHiResFftLength = 32768;
constexpr int kOverlap = 4;
constexpr int kResolution = 2;
constexpr double kRebuiltSpeedSeconds = 1.0;

}  // namespace

void Brimlow::ResetAnalyzer(SpectrumAnalyzer& analyzer) { analyzer.ResetHistory(); }

void Brimlow::ApplyAnalyzerSpeed() {
  const double speedSeconds = mMirrors.analyzerSpeedMs / 1000.0;
  const double attackSeconds = mAnalyzerAttackMs / 1000.0;
  for (SpectrumAnalyzer* analyzer : {mPreAnalyzer.get(), mPostAnalyzer.get()}) {
    if (analyzer) analyzer->SetSpeed(speedSeconds, attackSeconds, mGuiFps);
  }
  // The top of the range reads "AVG": the running average instead of the
  // release-smoothed spectrum.
  const IParam* speed = GetParam(kParamAnalyzerSpeed);
  const bool average = speed && mMirrors.analyzerSpeedMs == speed->GetMax();
  mAverageMode = average ? 1 : 0;
  mSmoothedMode = average ? 0 : 1;
  CopyAnalyzerFlagsToScope();
}

void Brimlow::ReconfigureAnalyzers(bool hiRes) {
  for (SpectrumAnalyzer* analyzer : {mPreAnalyzer.get(), mPostAnalyzer.get()}) {
    if (!analyzer) continue;
    // Not analysed or drawn while half set up.
    analyzer->SetEnabled(false);
    analyzer->SetSampleRate(mDspSampleRate);
    analyzer->SetFftLength(hiRes ? kHiResFftLength : kFftLength);
    analyzer->SetOverlap(kOverlap);
    analyzer->SetResolution(kResolution);
    analyzer->AllocAnalyzerBuffers();
    analyzer->SetSpeed(kRebuiltSpeedSeconds, 0.0, mGuiFps);
    const bool pre = analyzer == mPreAnalyzer.get();
    analyzer->SetDelay(pre ? std::min(mEngine.CalcLatency(), SpectrumAnalyzer::kDelayCapacity) : 0);
    analyzer->SetEnabled(true);
    if (pre) {
      // The reference is drawn on the pre analyser's bins: count and values
      // move together.
      mReferenceGridCount = analyzer->BinCount();
      mReference.LayOnGrid(mReferenceGrid.Get(), mReferenceGridCount, mDspSampleRate);
    }
  }
  HandOverDisplayData();
  ApplyAnalyzerSpeed();
}

void Brimlow::ResetMeters() { mMeters.ResetMeters(); }
