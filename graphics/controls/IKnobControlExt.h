#pragma once

#include "graphics/IControl.h"

// The base of the controls that change a parameter by dragging: a drag
// along the control's axis moves the value by the distance over the
// control's size, divided by the gearing (how many control sizes a drag
// over the whole range takes). Shift makes the drag ten times finer,
// Control twice as coarse. Each change is pushed to the plug-in.
class IKnobControlExt : public IControl {
 public:
  enum EDirection { kVertical = 0, kHorizontal = 1 };  // any value but 0 is horizontal

  IKnobControlExt(IPlugBase* plug, const IRECTResize& rect, int paramIdx, int direction, double gearing,
                  const IChannelBlend& blend = IChannelBlend());

  void OnMouseDrag(int x, int y, int dx, int dy, IMouseMod* mod) override;
  bool Draw(IGraphics* graphics) override = 0;

  int GetDirection() const { return mDirection; }
  void SetDirection(int direction) { mDirection = direction; }
  double GetGearing() const { return mGearing; }
  void SetGearing(double gearing) { mGearing = gearing; }

 protected:
  // One wheel step is 0.01 of the range, 0.05 with Control, 0.001 with
  // Shift (which wins). With markMouseDown the graphics core's mouse-down
  // flag is set around the change, as for a drag.
  void WheelStep(IMouseMod* mod, int d, bool markMouseDown);

  int mDirection;
  double mGearing;
};
