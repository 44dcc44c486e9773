#pragma once

#include "graphics/IRECT.h"

// One cell of a scale-aware rectangle: a value in editor pixels at 100 %
// GUI scale and how it follows a change of scale.
enum ERectAnchor {
  kAnchorFixed = 0,        // the value as it stands
  kAnchorFromRight = 1,    // horizontal cells: (value + base width) x scale x
  kAnchorFromBottom = 2,   // vertical cells: (value + base height) x scale y
  kAnchorScaled = 3,       // value x scale
};

struct IRECTp {
  int mValue = 0;
  int mMode = kAnchorFixed;
};

struct IRECTp1 {
  int mValue = 0;
  int mMode = kAnchorFixed;
};

// A control's rectangle at 100 % GUI scale, either as x, y, width, height
// (form 0) or as left, top, right, bottom (form 1), turned into an IRECT
// for each GUI scale. Any other form gives the empty rectangle.
struct IRECTResize {
  enum EForm { kFormXYWH = 0, kFormLTRB = 1 };

  IRECTp mX, mY, mW, mH;
  IRECTp1 mL, mT, mR, mB;
  int mForm = kFormXYWH;

  IRECTResize() = default;

  // The usual description: form 0 from the rectangle, every cell scaled.
  static IRECTResize Scaled(const IRECT& rect);

  // The rectangle at 100 % scale as the controls start with it: x, y,
  // width and height of the first form, whatever the form in use.
  IRECT UnscaledRECT() const;

  // The rectangle at the given scale. Each product is truncated toward
  // zero on its own, so a right edge is x' + w', not (x + w) x scale.
  IRECT Rescaled(int baseWidth, int baseHeight, double scaleX, double scaleY) const;
};
