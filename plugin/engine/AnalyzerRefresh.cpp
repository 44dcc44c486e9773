#include "plugin/engine/AnalyzerRefresh.h"

#include "framework/containers/WDL_Mutex.h"
#include "plugin/engine/SpectrumAnalyzer.h"

namespace {

int32_t Mirror(const int32_t* value) { return value ? *value : 0; }

bool PostMeasured(const AnalyzerRefresh& r) {
  return r.postAnalyzer && Mirror(r.predictivePostSpectrum) == 0 && Mirror(r.postFilterSpectrum) == 1;
}

}  // namespace

void UpdateAnalyzers(const AnalyzerRefresh& refresh, WDL_Mutex* plugMutex) {
  SpectrumAnalyzer* pre = refresh.preAnalyzer;
  SpectrumAnalyzer* post = nullptr;
  bool preCaptured = false;
  bool postCaptured = false;
  {
    WDL_MutexLock lock(plugMutex);
    if (Mirror(refresh.analyzerHold) != 0) return;
    if (pre) {
      pre->AnalyzeFrames();
      preCaptured = pre->CaptureSpectra();
    }
    if (PostMeasured(refresh)) {
      post = refresh.postAnalyzer;
      post->AnalyzeFrames();
      postCaptured = post->CaptureSpectra();
    }
  }
  if (!preCaptured && !postCaptured) return;

  if (preCaptured) pre->UpdateDisplayCurves();
  if (postCaptured) post->UpdateDisplayCurves();

  WDL_MutexLock lock(plugMutex);
  const bool keep = Mirror(refresh.analyzerHold) == 0;
  if (preCaptured) pre->PublishCurves(keep);
  if (postCaptured) post->PublishCurves(keep);
}
