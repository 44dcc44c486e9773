#pragma once

#include "graphics/IBitmap.h"
#include "graphics/IControl.h"

// A control that shows one frame of a multi-frame bitmap, chosen by its
// value: band frames, meters, lamps. The base of the bitmap controls. Its
// rectangle is one frame of the bitmap at 100 % GUI scale; a rescale swaps
// the drawn bitmap for one scaled to the new size, keeping the bitmap as
// loaded to scale from next time.
class IBitmapControlExt : public IControl {
 public:
  // Not bound to a parameter; the blend's weight is 1.
  IBitmapControlExt(IPlugBase* plug, int x, int y, IBitmap* bitmap, int blendMethod = IChannelBlend::kBlendNone);

  void Rescale(double scaleX, double scaleY) override;
  bool Draw(IGraphics* graphics) override;

  // The 1-based frame the current value shows.
  int Frame() const;
  const IBitmap& GetBitmap() const { return mBitmap; }
  const IBitmap& GetUnscaledBitmap() const { return mUnscaledBitmap; }

 protected:
  IBitmapControlExt(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap, int blendMethod);

  IBitmap mBitmap;          // the one drawn, at the current GUI scale
  IBitmap mUnscaledBitmap;  // as loaded, what every rescale starts from
};
