#include "graphics/IRECTResize.h"

#include <climits>
#include <cmath>

namespace {

// Truncation toward zero that stays defined for any scale a caller passes.
int TruncToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(v);
}

int Horizontal(int value, int mode, int baseWidth, double scaleX) {
  switch (mode) {
    case kAnchorScaled: return TruncToInt(value * scaleX);
    case kAnchorFromRight: return TruncToInt((static_cast<double>(value) + baseWidth) * scaleX);
    default: return value;
  }
}

int Vertical(int value, int mode, int baseHeight, double scaleY) {
  switch (mode) {
    case kAnchorScaled: return TruncToInt(value * scaleY);
    case kAnchorFromBottom: return TruncToInt((static_cast<double>(value) + baseHeight) * scaleY);
    default: return value;
  }
}

// Sums of two converted cells saturate rather than wrap.
int Add(int a, int b) {
  const long long sum = static_cast<long long>(a) + b;
  if (sum > INT_MAX) return INT_MAX;
  if (sum < INT_MIN) return INT_MIN;
  return static_cast<int>(sum);
}

}  // namespace

IRECTResize IRECTResize::Scaled(const IRECT& rect) {
  IRECTResize r;
  r.mX = {rect.L, kAnchorScaled};
  r.mY = {rect.T, kAnchorScaled};
  r.mW = {rect.W(), kAnchorScaled};
  r.mH = {rect.H(), kAnchorScaled};
  r.mForm = kFormXYWH;
  return r;
}

IRECT IRECTResize::UnscaledRECT() const {
  return IRECT(mX.mValue, mY.mValue, Add(mX.mValue, mW.mValue), Add(mY.mValue, mH.mValue));
}

IRECT IRECTResize::Rescaled(int baseWidth, int baseHeight, double scaleX, double scaleY) const {
  if (mForm == kFormLTRB) {
    return IRECT(Horizontal(mL.mValue, mL.mMode, baseWidth, scaleX), Vertical(mT.mValue, mT.mMode, baseHeight, scaleY),
                 Horizontal(mR.mValue, mR.mMode, baseWidth, scaleX), Vertical(mB.mValue, mB.mMode, baseHeight, scaleY));
  }
  if (mForm != kFormXYWH) return IRECT();

  const int x = Horizontal(mX.mValue, mX.mMode, baseWidth, scaleX);
  const int y = Vertical(mY.mValue, mY.mMode, baseHeight, scaleY);
  // A right-anchored width is taken from the unconverted x, not from the
  // width cell; descriptions are written against this rule, so it stays.
  int w = mW.mValue;
  if (mW.mMode == kAnchorScaled) {
    w = TruncToInt(mW.mValue * scaleX);
  } else if (mW.mMode == kAnchorFromRight) {
    w = TruncToInt((static_cast<double>(mX.mValue) + baseWidth) * scaleX);
  }
  int h = mH.mValue;
  if (mH.mMode == kAnchorScaled) {
    h = TruncToInt(mH.mValue * scaleY);
  } else if (mH.mMode == kAnchorFromBottom) {
    h = TruncToInt((static_cast<double>(mY.mValue) + baseHeight) * scaleY);
  }
  return IRECT(x, y, Add(x, w), Add(y, h));
}
