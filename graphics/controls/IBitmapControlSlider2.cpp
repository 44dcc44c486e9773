#include "graphics/controls/IBitmapControlSlider2.h"

#include "graphics/IGraphics.h"
#include "graphics/controls/BitmapFrame.h"
#include "graphics/controls/CommandTag.h"

IBitmapControlSlider2::IBitmapControlSlider2(IPlugBase* plug, int x, int y, IBitmap* bitmap, int tag,
                                             const IColor& lineColor)
    : IBitmapControlExt(plug, x, y, bitmap), mTag(tag), mLineColor(lineColor) {}

void IBitmapControlSlider2::OnMouseDown(int, int y, IMouseMod* mod) {
  DragTo(mod && mod->L && mod->A ? mRECT.T : y);
}

void IBitmapControlSlider2::OnMouseDrag(int, int y, int, int, IMouseMod*) { DragTo(y); }

void IBitmapControlSlider2::DragTo(int y) {
  mDragging = true;
  // A bitmap that failed to load has no height to divide by: the plug-in
  // is told the top rather than an infinity.
  mDragPosition = mBitmap.mH > 0 ? static_cast<double>(y - mRECT.T) / mBitmap.mH : 0.0;
  NotifyCommandTag(mPlug, mTag);
  mDragging = false;
}

void IBitmapControlSlider2::OnMouseWheel(int, int, IMouseMod*, int d) {
  mWheeling = true;
  mWheelDelta = -d;
  NotifyCommandTag(mPlug, mTag);
  mWheeling = false;
}

bool IBitmapControlSlider2::Draw(IGraphics* graphics) {
  const int h = mBitmap.mH;
  if (h <= 0) return true;
  // The plug-in sets the value without a user change's clamp. Kept to 0..1
  // and to the bitmap's last row: a line at 1 would otherwise lie on the
  // row below the control, which no redraw of the control repaints.
  int y = static_cast<int>(h * BitmapFrame::DrawnLevel(mValue)) + mRECT.T;
  if (y > mRECT.T + h - 1) y = mRECT.T + h - 1;
  graphics->DrawLine(&mLineColor, static_cast<float>(mRECT.L), static_cast<float>(y),
                     static_cast<float>(mRECT.L + mBitmap.mW - 1), static_cast<float>(y), &mBlend, true);
  return true;
}
