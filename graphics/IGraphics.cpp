#include "graphics/IGraphics.h"

#include <cstddef>

#include "framework/IPlugBase.h"
#include "graphics/IControl.h"
#include "graphics/controls/IPanelControl.h"

IGraphics::IGraphics(IPlugBase* plug, int width, int height, int fps)
    : mPlug(plug), mWidth(width), mHeight(height), mFPS(fps > 0 ? fps : 25) {
  mIdleThread.Start(&IGraphics::IdleTick, this);
}

IGraphics::~IGraphics() {
  StopIdleThread();
  delete mKeyCatcher;
  mKeyCatcher = nullptr;
  // The plug-in may be half destroyed here (its base destructor deletes
  // this object), so the host is not told of an edit still open.
  mEditParamIdx = -1;
  DeleteControls();
  DeleteDrawBitmaps();
}

void IGraphics::IdleTick(void* graphics) {
  IPlugBase* plug = static_cast<IGraphics*>(graphics)->mPlug;
  if (plug && plug->IdleThreadTicksEnabled()) plug->OnIdleThreadTick();
}

// ---- Controls ------------------------------------------------------------------

int IGraphics::AttachControl(IControl* control) {
  if (!control) return -1;
  if (!mControls.Add(control)) {
    delete control;
    return -1;
  }
  return mControls.GetSize() - 1;
}

void IGraphics::AttachPanelBackground(const IColor* color) {
  IPanelControl* panel =
      new IPanelControl(mPlug, IRECTResize(), color ? *color : kColorBlack, IChannelBlend(IChannelBlend::kBlendNone));
  panel->SetRescale(false);
  panel->SetRECT(IRECT(0, 0, mWidth, mHeight));
  if (!mControls.Insert(panel, 0)) {
    delete panel;
    return;
  }
  // The mouse indices name controls, and every control moved up by one.
  if (mMouseCapture >= 0) ++mMouseCapture;
  if (mMouseOver >= 0) ++mMouseOver;
}

IControl* IGraphics::GetControlOfParam(int paramIdx) const {
  for (int i = 0; i < mControls.GetSize(); ++i) {
    IControl* control = mControls.Get(i);
    if (control->ParamIdx() == paramIdx) return control;
  }
  return nullptr;
}

void IGraphics::GrayOutControl(int paramIdx, bool gray) {
  for (int i = 0; i < mControls.GetSize(); ++i) {
    IControl* control = mControls.Get(i);
    if (control->ParamIdx() == paramIdx) control->GrayOut(gray);
  }
}

void IGraphics::SetAllControlsDirty(bool push) {
  for (int i = 0; i < mControls.GetSize(); ++i) mControls.Get(i)->SetDirty(push);
}

void IGraphics::SetKeyCatcher(IControl* control) {
  if (control == mKeyCatcher) return;
  delete mKeyCatcher;
  mKeyCatcher = control;
}

void IGraphics::DeleteControls() {
  EndParamEdit();
  mMouseCapture = mMouseOver = mMouseX = mMouseY = -1;
  // The focus control is not owned and may be one of those going.
  mKeyFocus = nullptr;
  mControls.Empty(true);
}

// ---- Parameter binding -----------------------------------------------------------

bool IGraphics::NormalizeForParam(int paramIdx, double& value, bool normalized) const {
  if (normalized) return true;
  const IParam* param = mPlug ? mPlug->GetParam(paramIdx) : nullptr;
  if (!param) return false;
  value = param->ToNormalizedParam(value);
  return true;
}

void IGraphics::SetParameterFromPlug(int paramIdx, double value, bool normalized) {
  if (!NormalizeForParam(paramIdx, value, normalized)) return;
  for (int i = 0; i < mControls.GetSize(); ++i) {
    IControl* control = mControls.Get(i);
    if (control->ParamIdx() == paramIdx) control->SetValueFromPlug(value);
    const int aux = control->GetAuxParamIdx(paramIdx);
    if (aux >= 0) control->SetAuxParamValueFromPlug(aux, value);
  }
}

void IGraphics::SetParameterViaControls(int paramIdx, double value, bool normalized) {
  if (!NormalizeForParam(paramIdx, value, normalized)) return;
  for (int i = 0; i < mControls.GetSize(); ++i) {
    IControl* control = mControls.Get(i);
    if (control->ParamIdx() == paramIdx) control->SetValueFromUserInput(value);
  }
}

void IGraphics::SetControlFromPlug(int controlIdx, double normalizedValue) {
  if (IControl* control = mControls.Get(controlIdx)) control->SetValueFromPlug(normalizedValue);
}

// ---- Host edit notifications -------------------------------------------------------

void IGraphics::BeginParamEdit(int paramIdx) {
  // A mouse-up that never came leaves an edit open: close it before the
  // host hears of the next one.
  EndParamEdit();
  if (!mPlug || paramIdx < 0) return;
  mPlug->NotifyHostParamBegin(paramIdx);
  mEditParamIdx = paramIdx;
}

void IGraphics::EndParamEdit() {
  if (mEditParamIdx < 0) return;
  const int paramIdx = mEditParamIdx;
  mEditParamIdx = -1;
  if (mPlug) mPlug->NotifyHostParamEnd(paramIdx);
}

// ---- Redraw ------------------------------------------------------------------------

void IGraphics::OnGUIIdle() {
  if (mPlug) mPlug->OnGUIIdle();
}

namespace {

// Pixels in common, not only an edge.
bool Overlap(const IRECT& a, const IRECT& b) { return a.L < b.R && b.L < a.R && a.T < b.B && b.T < a.B; }

// Adds the rectangle to the areas; areas it overlaps become one with it,
// so no pixel is drawn twice in a frame.
void AddArea(std::vector<IRECT>& areas, IRECT r) {
  if (r.Empty()) return;
  for (size_t i = 0; i < areas.size();) {
    if (Overlap(areas[i], r)) {
      r = r.Union(areas[i]);
      areas.erase(areas.begin() + static_cast<std::ptrdiff_t>(i));
      i = 0;
    } else {
      ++i;
    }
  }
  areas.push_back(r);
}

}  // namespace

bool IGraphics::IsDirty(IRECT* area) {
  IRECT found = area ? *area : IRECT();
  mDirtyAreas.clear();
  AddArea(mDirtyAreas, found);
  const auto mark = [&](const IRECT& r) {
    found = found.Union(r);
    AddArea(mDirtyAreas, r);
  };
  bool dirty = false;
  if (mSurfaceRemade) {
    // A blank surface: all of it must be drawn and shown again.
    mark(IRECT(0, 0, mWidth, mHeight));
    mSurfaceRemade = false;
    dirty = true;
  }
  for (int i = 0; i < mControls.GetSize(); ++i) {
    IControl* control = mControls.Get(i);
    const IRECT drawn = control->GetDrawnRECT();
    const IRECT extent = control->GetDrawnExtent();
    if (control->IsDisabled() || control->IsHidden()) {
      // What it showed must give way to what lies beneath.
      if (!drawn.Empty()) {
        mark(drawn.Union(extent));
        control->SetDrawn(IRECT(), IRECT());
        dirty = true;
      }
      continue;
    }
    const bool moved = !drawn.Empty() && drawn != control->GetRECT();
    if (control->IsDirty() || moved) {
      // What it painted last time is painted over afresh.
      mark(control->GetRECT().Union(drawn).Union(extent));
      dirty = true;
    }
  }
  if (mDirtyAreas.size() > kMaxDirtyAreas) {
    mDirtyAreas.assign(1, found);
  }
  if (area) *area = found;
  if (dirty) {
    mIdleTicks = 0;
    return true;
  }
  if (mIdleTicks++ < 20) return false;
  for (int i = 0; i < mControls.GetSize(); ++i) mControls.Get(i)->OnGUIIdle();
  mIdleTicks = 0;
  return false;
}

bool IGraphics::Draw(IRECT* area) {
  if (mControls.GetSize() == 0) return true;
  const IRECT whole(0, 0, mWidth, mHeight);
  IRECT drawn = area ? area->Intersection(whole) : whole;
  if (drawn.Empty()) return true;
  mDrawRECT = drawn;
  mDrawing = true;
  for (int i = 0; i < mControls.GetSize(); ++i) {
    IControl* control = mControls.Get(i);
    if (control->IsDisabled() || control->IsHidden()) continue;
    // A control whose pixels passed its rectangle last time (text wider
    // than its box) is drawn for them too.
    if (!control->GetRECT().Union(control->GetDrawnExtent()).Intersects(mDrawRECT)) continue;
    mExtent = IRECT();
    control->Draw(this);
    control->SetClean();
    control->SetDrawn(control->GetRECT(), mExtent.Intersection(whole));
  }
  mDrawing = false;
  return DrawScreen(&drawn);
}

void IGraphics::RescaleControls(int baseWidth, int baseHeight, double scaleX, double scaleY) {
  if (mRescaling) return;
  mRescaling = true;
  for (int i = 0; i < mControls.GetSize(); ++i) {
    IControl* control = mControls.Get(i);
    if (!control->GetRescale()) continue;
    control->SetResizeBase(baseWidth, baseHeight, scaleX, scaleY);
    control->Rescale(scaleX, scaleY);
    control->SetRECT(control->GetRECTResize().Rescaled(baseWidth, baseHeight, scaleX, scaleY));
    control->SetDirty(false);
  }
  mRescaling = false;
}

bool IGraphics::Resize(int width, int height, bool keepControls) {
  mWidth = width;
  mHeight = height;
  if (!keepControls) DeleteControls();
  DeleteDrawBitmaps();
  PrepDraw();
  mSurfaceRemade = true;
  return mPlug ? mPlug->ResizeGraphics(width, height, keepControls) : false;
}

void IGraphics::ResetControls() {
  DeleteControls();
  DeleteDrawBitmaps();
  PrepDraw();
  mSurfaceRemade = true;
  if (mPlug) mPlug->OnControlsCleared();
}
