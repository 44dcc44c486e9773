#include "graphics/controls/IBitmapControlExt.h"

#include "framework/IPlugBase.h"
#include "graphics/IGraphics.h"
#include "graphics/controls/BitmapFrame.h"

namespace {

IBitmap BitmapOrEmpty(const IBitmap* bitmap) { return bitmap ? *bitmap : IBitmap(); }

}  // namespace

IBitmapControlExt::IBitmapControlExt(IPlugBase* plug, int x, int y, IBitmap* bitmap, int blendMethod)
    : IBitmapControlExt(plug, x, y, -1, bitmap, blendMethod) {}

IBitmapControlExt::IBitmapControlExt(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap, int blendMethod)
    : IControl(plug, BitmapFrame::FrameRECT(x, y, bitmap), paramIdx, IChannelBlend(blendMethod)),
      mBitmap(BitmapOrEmpty(bitmap)),
      mUnscaledBitmap(mBitmap) {}

void IBitmapControlExt::Rescale(double scaleX, double scaleY) {
  IControl::Rescale(scaleX, scaleY);
  mBitmap = BitmapFrame::Rescaled(mPlug ? mPlug->GetGUI() : nullptr, mUnscaledBitmap, scaleX, scaleY);
}

bool IBitmapControlExt::Draw(IGraphics* graphics) {
  graphics->DrawBitmapFrame(&mBitmap, &mRECT, Frame(), &mBlend);
  return true;
}

int IBitmapControlExt::Frame() const { return BitmapFrame::ForValue(mValue, mBitmap.mN); }
