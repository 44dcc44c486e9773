#include "editor/IMyPopupMenu.h"

#include "framework/IPlugBase.h"
#include "graphics/IGraphics.h"
#include "graphics/controls/BitmapFrame.h"

IMyPopupMenu::IMyPopupMenu(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap, bool showBitmap,
                           bool buttonLook, bool leftClickOnly)
    : IControl(plug, BitmapFrame::FrameRECT(x, y, bitmap), paramIdx),
      mBitmap(bitmap ? *bitmap : IBitmap()),
      mSourceBitmap(mBitmap),
      mMenuParam(paramIdx),
      mShowBitmap(showBitmap),
      mButtonLook(buttonLook),
      mLeftClickOnly(leftClickOnly) {
  const IParam* param = mPlug && paramIdx >= 0 ? mPlug->GetParam(paramIdx) : nullptr;
  if (!param) return;
  mNumItems = param->GetNDisplayTexts();
  for (int i = 0; i < mNumItems; ++i) mMenu.AddItem(param->GetDisplayText(i));
  mMenu.CheckItemAlone(CurrentIndex());
}

void IMyPopupMenu::Rescale(double scaleX, double scaleY) {
  IControl::Rescale(scaleX, scaleY);
  mBitmap = BitmapFrame::Rescaled(mPlug ? mPlug->GetGUI() : nullptr, mSourceBitmap, scaleX, scaleY);
}

double IMyPopupMenu::ValueOfIndex(int index) const {
  return mNumItems < 2 ? 0.0 : static_cast<double>(index) / (mNumItems - 1);
}

int IMyPopupMenu::CurrentIndex() const {
  const IParam* param = mPlug ? mPlug->GetParam(mMenuParam) : nullptr;
  return param ? param->Int() : 0;
}

void IMyPopupMenu::OnMouseDown(int, int, IMouseMod* mod) {
  IGraphics* graphics = mPlug ? mPlug->GetGUI() : nullptr;
  const bool opens = !mLeftClickOnly || (mod && mod->L);
  if (opens && graphics) {
    mMenu.CheckItemAlone(CurrentIndex());
    graphics->mMouseDown = false;
    mMenuOpen = true;
    IRECT area = mRECT;
    IPopupMenu* chosen = graphics->CreateIPopupMenu(&mMenu, &area);
    mMenuOpen = false;
    // The plug-in takes what follows as a left click of the mouse.
    graphics->mMouseDown = true;
    graphics->mLastMouseMod.L = true;
    if (chosen == &mMenu) {
      const int i = mMenu.GetChosenItemIdx();
      // Only an item of the menu is a value; anything else re-sends the
      // current one.
      if (i >= 0 && i < mMenu.GetNItems()) {
        mMenu.CheckItemAlone(i);
        mValue = ValueOfIndex(i);
      }
    }
  }
  mRedraw = true;
  SetDirty(true);
  if (graphics) graphics->mMouseDown = false;
}

void IMyPopupMenu::OnMouseWheel(int, int, IMouseMod*, int d) {
  const IParam* param = mPlug ? mPlug->GetParam(mMenuParam) : nullptr;
  if (!param) return;
  mNumItems = param->GetNDisplayTexts();
  int index = param->Int() - d;
  if (index > mNumItems - 1) index = mNumItems - 1;
  if (index < 0) index = 0;
  mValue = ValueOfIndex(index);
  mRedraw = true;
  SetDirty(true);
}

bool IMyPopupMenu::Draw(IGraphics* graphics) {
  if (!mShowBitmap) return true;
  int frame = 1;
  if (mButtonLook) {
    frame = mMenuOpen ? 2 : 1;
  } else {
    frame = BitmapFrame::ForValue(mValue, mBitmap.mN);
  }
  graphics->DrawBitmapFrame(&mBitmap, &mRECT, frame, &mBlend);
  return true;
}
