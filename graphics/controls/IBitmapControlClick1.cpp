#include "graphics/controls/IBitmapControlClick1.h"

#include "framework/IPlugBase.h"
#include "graphics/IGraphics.h"
#include "graphics/controls/BitmapFrame.h"
#include "graphics/controls/CommandTag.h"

IBitmapControlClick1::IBitmapControlClick1(IPlugBase* plug, int x, int y, IBitmap* bar, int tag,
                                           IBitmap* background)
    : IBitmapControlExt(plug, x, y, bar),
      mTag(tag),
      mBackground(background ? *background : IBitmap()),
      mUnscaledBackground(mBackground) {}

void IBitmapControlClick1::Rescale(double scaleX, double scaleY) {
  IBitmapControlExt::Rescale(scaleX, scaleY);
  mBackground = BitmapFrame::Rescaled(mPlug ? mPlug->GetGUI() : nullptr, mUnscaledBackground, scaleX, scaleY);
}

void IBitmapControlClick1::OnMouseDown(int, int, IMouseMod*) { NotifyCommandTag(mPlug, mTag); }

bool IBitmapControlClick1::Draw(IGraphics* graphics) {
  const int w = mBitmap.mW;
  const int h = mBitmap.mH;
  const double v = BitmapFrame::DrawnLevel(mValue);
  int srcY = 0;
  if (mFromBottom) {
    srcY = static_cast<int>(h * (1.0 - v));
    mLevelRECT = IRECT(mRECT.L, mRECT.T + srcY, mRECT.L + w, mRECT.T + h);
  } else {
    mLevelRECT = IRECT(mRECT.L, mRECT.T, mRECT.L + w, mRECT.T + static_cast<int>(h * v));
  }
  graphics->DrawBitmap(&mBackground, &mRECT, 0, 0, &mBlend);
  graphics->DrawBitmap(&mBitmap, &mLevelRECT, 0, srcY, &mBlend);
  return true;
}
