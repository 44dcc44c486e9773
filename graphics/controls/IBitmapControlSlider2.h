#pragma once

#include "graphics/IColor.h"
#include "graphics/controls/IBitmapControlExt.h"

// A position line across a bitmap-sized area: a meter's held-peak marker.
// It keeps no value of its own making: a press, a drag or the wheel tells
// the plug-in (through the command tag) where the mouse is or how far the
// wheel turned, and the plug-in sets the control's value itself.
class IBitmapControlSlider2 : public IBitmapControlExt {
 public:
  IBitmapControlSlider2(IPlugBase* plug, int x, int y, IBitmap* bitmap, int tag, const IColor& lineColor);

  // A drag at the point; with the left button and Option, at the top.
  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  void OnMouseDrag(int x, int y, int dx, int dy, IMouseMod* mod) override;
  void OnMouseDblClick(int, int, IMouseMod*) override {}
  void OnMouseWheel(int x, int y, IMouseMod* mod, int d) override;
  // A line one bitmap wide at the value's height, 0 at the top.
  bool Draw(IGraphics* graphics) override;

  // What the plug-in reads while it handles the tag.
  int GetTag() const { return mTag; }
  // Down from the top, in bitmap heights.
  double GetDragPosition() const { return mDragPosition; }
  // The wheel steps negated: positive turns down.
  int GetWheelDelta() const { return mWheelDelta; }
  bool IsDragging() const { return mDragging; }
  bool IsWheeling() const { return mWheeling; }
  const IColor& GetLineColor() const { return mLineColor; }

 protected:
  void DragTo(int y);

  int mTag;
  int mWheelDelta = 0;
  double mDragPosition = 0.0;
  bool mDragging = false;
  bool mWheeling = false;
  IColor mLineColor;
};
