#include "editor/IAnalyzerMenu.h"
#include "editor/display/IScope.h"
#include "graphics/IGraphics.h"
#include "plugin/controller/Brimlow.h"
#include "plugin/controller/CaptureFile.h"
#include "plugin/controller/ReferenceFileKind.h"

// Buttons, menu items and readouts that stand for no parameter announce
// themselves with a tag. Those that act on a click check the editor's
// mouse-button flag: the same tag also arrives when a readout is merely
// refreshed, and that must not reset anything.

namespace {

enum ECommandTag {
  kTagSaveUserDefault = 143,
  kTagSaveReference = 145,
  kTagLoadReference = 146,
  kTagResetAnalyzerView = 147,
  kTagResetAnalyzer = 148,
  kTagInputMaxReset = 151,
  kTagInputOverReset = 152,
  kTagOutputMaxReset = 155,
  kTagOutputOverReset = 156,
  kTagEQZoomIn = 157,
  kTagEQZoomOut = 158,
  kTagFreqZoomIn = 159,
  kTagFreqZoomOut = 160,
  kTagViewReset = 161,
};

}  // namespace

void Brimlow::OnCommandTag(int tag, RedesignRequest&) {
  switch (tag) {
    case kTagSaveUserDefault:
      // Into the host-format folder, where the next instance reads it.
      SaveUserDefaultPreset(WDL_String());
      break;
    case kTagSaveReference:
      if (IsEditorMouseDown()) SaveReferenceCapture();
      break;
    case kTagLoadReference:
      if (IsEditorMouseDown()) LoadReferenceFromSelector();
      break;
    case kTagResetAnalyzerView:
      if (IsEditorMouseDown()) ResetViewToDefaults(true);
      break;
    case kTagResetAnalyzer:
      if (mPreAnalyzer) ResetAnalyzer(*mPreAnalyzer);
      if (mPostAnalyzer) ResetAnalyzer(*mPostAnalyzer);
      mEngine.GetDisplayTiming().ArmOneShot();
      break;
    case kTagInputMaxReset:
    case kTagInputOverReset:
    case kTagOutputMaxReset:
    case kTagOutputOverReset:
      if (IsEditorMouseDown()) ResetMeters();
      break;
    case kTagEQZoomIn:
    case kTagEQZoomOut:
      if (IsEditorMouseDown()) {
        const int direction = tag == kTagEQZoomIn ? 0 : 1;
        ZoomEQScaleStep(direction);
        if (mMirrors.linkEQ) StepGainScale(direction == 0 ? 1 : -1);
      }
      break;
    case kTagFreqZoomIn:
    case kTagFreqZoomOut:
      if (IsEditorMouseDown()) ZoomFrequencyStep(tag == kTagFreqZoomIn ? 0 : 1);
      break;
    case kTagViewReset:
      if (IsEditorMouseDown()) ResetViewToDefaults(false);
      break;
    default:
      // Text and readout refreshes: the dispatch's tail only.
      break;
  }
}

void Brimlow::SaveReferenceCapture() {
  const char* path = mAnalyzerMenu ? mAnalyzerMenu->GetSaveFileName() : mFileSelectorSavePath.Get();
  if (!path[0] || !mPreAnalyzer) return;
  const SpectrumAnalyzer& analyzer = *mPreAnalyzer;
  if (!WriteCaptureFile(path, analyzer.PointFreqs(), analyzer.AverageCurve(), analyzer.PointCount())) {
    if (IGraphics* graphics = GetGUI()) graphics->ShowMessageBox(path, "Error Save", 0);
  }
}

void Brimlow::LoadReferenceFromSelector() {
  // A copy: the editor may set a new path while a message box is up.
  const WDL_String path(mAnalyzerMenu ? mAnalyzerMenu->GetOpenFileName() : mFileSelectorOpenPath.Get());
  if (!path.Get()[0]) return;
  switch (GetReferenceFileKind(path.Get())) {
    case kReferenceFileCapture: {
      // Read into a fresh object: a file that fails half-way leaves the
      // reference shown as it was.
      ReferenceCapture fresh;
      if (ReadCaptureFile(path.Get(), &fresh)) {
        mReference.Commit(fresh, GetMutex(), mReferenceGrid.Get(), mReferenceGridCount, mDspSampleRate);
      } else if (IGraphics* graphics = GetGUI()) {
        graphics->ShowMessageBox(path.Get(), "Error Load", 0);
      }
      break;
    }
    case kReferenceFileAudio:
      // Measuring the file takes long: the editor's idle tick does it.
      mReferenceLoad.Request(path.Get());
      break;
    case kReferenceFileIgnored:
      break;
  }
}
