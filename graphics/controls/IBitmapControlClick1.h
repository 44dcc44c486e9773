#pragma once

#include "graphics/controls/IBitmapControlExt.h"

// A level bar: a background bitmap over the whole control and, over it, the
// part of the bar bitmap that the value reaches, from the bottom (or from
// the top). A click tells the plug-in through the command tag.
class IBitmapControlClick1 : public IBitmapControlExt {
 public:
  // The control takes the bar bitmap's size; the background is drawn from
  // its top left.
  IBitmapControlClick1(IPlugBase* plug, int x, int y, IBitmap* bar, int tag, IBitmap* background);

  void Rescale(double scaleX, double scaleY) override;
  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  bool Draw(IGraphics* graphics) override;

  int GetTag() const { return mTag; }
  bool GetFromBottom() const { return mFromBottom; }
  void SetFromBottom(bool fromBottom) { mFromBottom = fromBottom; }
  const IBitmap& GetBackgroundBitmap() const { return mBackground; }
  // The bar's part as last drawn.
  const IRECT& GetLevelRECT() const { return mLevelRECT; }

 protected:
  int mTag;
  IRECT mLevelRECT;
  IBitmap mBackground;
  bool mFromBottom = true;
  IBitmap mUnscaledBackground;
};
