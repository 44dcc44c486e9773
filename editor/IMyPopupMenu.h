#pragma once

#include "framework/IPopupMenu.h"
#include "graphics/IBitmap.h"
#include "graphics/IControl.h"

// A multi-frame bitmap bound to an enumerated parameter: one frame per
// value. A click opens a menu of the parameter's display texts with the
// current one checked; the wheel steps through them without the menu. Every
// change, and a dismissed menu too, goes to the plug-in through SetDirty.
class IMyPopupMenu : public IControl {
 public:
  // The control is one frame of the bitmap at (x, y). buttonLook draws the
  // first frame, or the second while the menu is open, instead of the
  // value's; leftClickOnly lets only the left button open the menu.
  IMyPopupMenu(IPlugBase* plug, int x, int y, int paramIdx, IBitmap* bitmap, bool showBitmap, bool buttonLook,
               bool leftClickOnly);

  void Rescale(double scaleX, double scaleY) override;
  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  // A notch up (d > 0) moves to the previous display text.
  void OnMouseWheel(int x, int y, IMouseMod* mod, int d) override;
  bool OnKeyDown(int, int, int) override { return false; }
  bool Draw(IGraphics* graphics) override;

  const IPopupMenu& GetMenu() const { return mMenu; }
  int GetNumItems() const { return mNumItems; }
  bool IsMenuOpen() const { return mMenuOpen; }
  const IBitmap& GetBitmap() const { return mBitmap; }

 protected:
  // The control value of a display-text index. A parameter with fewer
  // than two texts has only the bottom of the range.
  double ValueOfIndex(int index) const;
  // The parameter's value, truncated.
  int CurrentIndex() const;

  IBitmap mBitmap;
  IBitmap mSourceBitmap;
  int mMenuParam;
  int mNumItems = 0;
  IPopupMenu mMenu;
  bool mShowBitmap;
  bool mButtonLook;
  bool mMenuOpen = false;
  bool mLeftClickOnly;
};
