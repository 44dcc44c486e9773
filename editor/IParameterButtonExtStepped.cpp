#include "editor/IParameterButtonExtStepped.h"

#include <cmath>

#include "framework/IPlugBase.h"
#include "graphics/IGraphics.h"

void IParameterButtonExtStepped::OnMouseWheel(int, int, IMouseMod* mod, int d) {
  const IParam* param = DisplayParam();
  const double current = param ? param->FromNormalizedUnrounded(mValue) : 0.0;
  // A value the plug-in left outside the curve's domain is no place to
  // step from: the field stays where it is.
  if (!param || !std::isfinite(current)) return;
  IGraphics* graphics = mPlug->GetGUI();
  // The plug-in treats the step as a mouse gesture, as it does a drag.
  if (graphics) graphics->mMouseDown = true;
  double step = mStep;
  if (mod && mod->S) {
    step = mFineStep;
  } else if (mod && mod->C) {
    step = mCoarseStep;
  }
  const double v = std::floor(current / step + 0.5) * step + d * step;
  mValue = param->ToNormalizedParam(v);
  SetDirty(true);
  if (graphics) graphics->mMouseDown = false;
}
