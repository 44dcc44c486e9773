#pragma once

#include "rtas/views/CControlEditor.h"

// An oval face with a pointer; the value follows the mouse's angle about
// the centre. Without "cyclical" the pointer sweeps 0.8 of a half turn to
// each side, with it the whole circle.
class CDialControlEditor : public CControlEditor {
 public:
  void ApplyDescription(DescriptionParser* parser) override;
  void DrawContent(const Rect& r) override;
  void TrackClick(const EventRecord* event, bool synthetic) override;
  void ValueChanged() override;
  void GetForeColor(RGBColor* color) override;

  // The pointer's screen angle in radians (y down: -pi/2 points up).
  double PointerAngle(int32_t value) const;
  // The pointer's two ends for a value.
  void PointerLine(int32_t value, Point* from, Point* to) const;
  // The value for a mouse angle (PtToAngle degrees, 0 to 359), or the
  // present value when the angle gives the same upper half.
  int32_t ValueForAngle(int angleDegrees, int32_t present) const;
  bool IsCyclical() const { return mCyclical; }
  bool IsReversed() const { return mReverse; }

 private:
  void DrawPointer(int32_t value, const RGBColor& color);

  bool mCyclical = false;
  bool mReverse = false;
  int32_t mShownValue = 0;
  bool mShown = false;
};
