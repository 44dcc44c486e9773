#include "graphics/controls/ISwitchControl_Ext.h"

namespace {

// Above 1 by more than the rounding of n - 1 steps of 1 / (n - 1) can add.
constexpr double kWrapAbove = 1.001;

}  // namespace

void ISwitchControl_Ext::Step() {
  const int n = mBitmap.mN;
  mValue += n < 2 ? 1.0 : 1.0 / (n - 1);
  if (mValue > kWrapAbove) mValue = 0.0;
  SetDirty(true);
}
