#include "graphics/controls/IKnobControlExt.h"

#include <cmath>

#include "framework/IPlugBase.h"
#include "graphics/IGraphics.h"

namespace {

constexpr double kShiftGearing = 10.0;
constexpr double kControlGearing = 0.5;
constexpr double kWheelStep = 0.01;
constexpr double kControlWheelStep = 0.05;
constexpr double kShiftWheelStep = 0.001;

}  // namespace

IKnobControlExt::IKnobControlExt(IPlugBase* plug, const IRECTResize& rect, int paramIdx, int direction,
                                 double gearing, const IChannelBlend& blend)
    : IControl(plug, rect, paramIdx, blend), mDirection(direction), mGearing(gearing) {}

void IKnobControlExt::OnMouseDrag(int, int, int dx, int dy, IMouseMod* mod) {
  double gearing = mGearing;
  if (mod && mod->S) {
    gearing *= kShiftGearing;
  } else if (mod && mod->C) {
    gearing *= kControlGearing;
  }
  const bool vertical = mDirection == kVertical;
  const int size = vertical ? mRECT.H() : mRECT.W();
  const double delta = (vertical ? -dy : -dx) / static_cast<double>(size) / gearing;
  // A control of no size (its bitmap missing) or a gearing of 0 gives no
  // finite step; an infinite one would throw the value to an end of the
  // range, so the value stays.
  if (std::isfinite(delta)) mValue += delta;
  SetDirty(true);
}

void IKnobControlExt::WheelStep(IMouseMod* mod, int d, bool markMouseDown) {
  IGraphics* graphics = markMouseDown && mPlug ? mPlug->GetGUI() : nullptr;
  if (graphics) graphics->mMouseDown = true;
  double step = kWheelStep;
  if (mod && mod->S) {
    step = kShiftWheelStep;
  } else if (mod && mod->C) {
    step = kControlWheelStep;
  }
  mValue += d * step;
  SetDirty(true);
  if (graphics) graphics->mMouseDown = false;
}
