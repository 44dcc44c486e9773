#include "editor/EditorLayout.h"

#include "editor/display/IScope.h"
#include "framework/containers/WDL_Mutex.h"
#include "graphics/IControl.h"
#include "graphics/IGraphics.h"
#include "plugin/controller/Brimlow.h"
#include "plugin/engine/EQCurve.h"
#include "plugin/engine/ParamIndex.h"

// Until the skinned editor arrives the layout is the background, the EQ
// graph, one plain control bound to each parameter (so edits made on the
// user's behalf reach the parameters, the host and the dispatch) and a
// frame control per band.
namespace EditorLayout {

namespace {

const IRECT kScopeRect(92, 84, 789, 428);
constexpr double kScopeFreqMin = 10.0;
constexpr double kScopeFreqMax = 30000.0;

// The editor's images are drawn at twice the editor's resolution.
constexpr double kBitmapScale = 2.0;

void Rescale(Brimlow* plug, IGraphics* graphics) {
  // Scaled copies belong to the old scale; controls make new ones.
  graphics->ClearScaledBitmapCache();
  graphics->SetGUIScale(plug->GuiScaleX(), plug->GuiScaleY());
  graphics->SetBitmapScale(kBitmapScale, kBitmapScale);
  graphics->RescaleControls(Brimlow::kEditorWidth, Brimlow::kEditorHeight, plug->GuiScaleX(), plug->GuiScaleY());
}

}  // namespace

void LayoutGUI(Brimlow* plug, IGraphics* graphics, int mode) {
  if (!plug || !graphics) return;
  if (mode == kRescale) {
    Rescale(plug, graphics);
    return;
  }
  graphics->SetHandleMouseOver(true);
  graphics->mShowTooltips = true;
  graphics->AttachPanelBackground(&kColorBlack);
  graphics->SetGUIScale(plug->GuiScaleX(), plug->GuiScaleY());
  graphics->SetBitmapScale(kBitmapScale, kBitmapScale);
  for (int idx = 0; idx < kNumParams; ++idx) graphics->AttachControl(new IControl(plug, IRECT(), idx));
  for (int band = 0; band < kNumBands; ++band)
    plug->mBandFrameControls[band] = graphics->AttachControl(new IControl(plug, IRECT(), -1));

  IScope* scope = new IScope(plug, kScopeRect, Brimlow::kScopeTag, kScopeFreqMin, kScopeFreqMax, plug->DspSampleRate());
  const int scopeIdx = graphics->AttachControl(scope);
  plug->SetScope(scope, scopeIdx);
  scope->mSmoothMode = plug->Mirrors().smoothSpectrumCurve;
  scope->mPreDrawHook = AnalyzerRefreshCallback;
  scope->mPreDrawContext = plug;
  scope->mEvaluator = EQCurveCallback;
  scope->mEvaluatorContext = plug;
  for (int band = 0; band < IScope::kMaxBands; ++band) {
    scope->mHoverAmount[band] = 0.0;
    scope->mHandleHover[band] = 0;
  }
  plug->HandOverDisplayData();
  // The band controls start greyed as their types say.
  plug->UpdateAllBandControls();
}

void UpdateViewLayout(Brimlow*) {}

double EQCurveCallback(void* context, double frequency, int channel, int band) {
  Brimlow* plug = static_cast<Brimlow*>(context);
  // The impulse builder may have the display bank mid-design on another
  // thread: read it only under the plug mutex.
  WDL_MutexLock lock(plug->GetMutex());
  return GetEQCurveValue(plug->GetEngine().GetDisplayBands(), plug->Mirrors(), plug->DspSampleRate(), frequency,
                         channel, band);
}

void AnalyzerRefreshCallback(void* context) {
  if (context) static_cast<Brimlow*>(context)->UpdateAnalyzers();
}

}  // namespace EditorLayout
