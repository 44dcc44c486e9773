#include "editor/EditorLayout.h"
#include "editor/display/IScope.h"
#include "graphics/IGraphics.h"
#include "plugin/controller/Brimlow.h"

// The plug-in's editor hooks: fitting the editor to the GUI scale, the
// editor timer's work and the rebuild for a resize. All run on the GUI
// thread.

namespace {

int ScaledSize(double base, double scale) { return static_cast<int>(base * scale); }

}  // namespace

void Brimlow::ResizeGUIToScale() {
  if (mGUIOpened) return;
  IGraphics* graphics = GetGUI();
  if (!graphics) return;
  int width = 0, height = 0;
  {
    // The scale is written under the plug mutex by whichever thread
    // changed "GUI Scale".
    WDL_MutexLock lock(GetMutex());
    width = ScaledSize(mBaseWidth, mGUIScaleX);
    height = ScaledSize(mBaseHeight, mGUIScaleY);
    mGUIResizePending = false;
    mGUIOpened = true;
  }
  graphics->Resize(width, height, true);
}

void Brimlow::OnGUIIdle() {
  IGraphics* graphics = GetGUI();
  bool resize = false;
  int width = 0, height = 0;
  {
    WDL_MutexLock lock(GetMutex());
    if (mGUIOpened && mGUIResizePending) {
      mGUIResizePending = false;
      resize = true;
      width = ScaledSize(mBaseWidth, mGUIScaleX);
      height = ScaledSize(mBaseHeight, mGUIScaleY);
    }
  }
  // Outside the lock: the resize rebuilds the editor and the host may
  // reopen the window.
  if (resize && graphics) graphics->Resize(width, height, true);

  mReferenceLoad.Tick(mReferenceLoadActions);

  if (mEngine.GetDisplayTiming().TakeMeterRefreshDue()) {
    if (graphics && mScope && mScopeControlIdx >= 0) {
      if (IControl* scope = graphics->GetControl(mScopeControlIdx)) scope->SetDirty(true);
    }
    mMeters.FormatMeterValue(graphics, mInputMeterControls, mOutputMeterControls);
  }
  mEngine.GetDisplayTiming().TakeOneShotExpired();
}

void Brimlow::RebuildGUI(int mode) {
  IGraphics* graphics = GetGUI();
  if (!graphics) return;
  EditorLayout::LayoutGUI(this, graphics, mode);
  EditorLayout::UpdateViewLayout(this);
}

bool Brimlow::ResizeGraphics(int width, int height, bool keepControls) {
  if (IPlugRTAS::ResizeGraphics(width, height, keepControls)) return true;
  RebuildGUI(keepControls ? EditorLayout::kRescale : EditorLayout::kBuild);
  if (mEditorWindowHost) mEditorWindowHost->RequestEditorResize(width, height);
  return true;
}
