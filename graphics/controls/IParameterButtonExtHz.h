#pragma once

#include "graphics/controls/IParameterButtonExt.h"

// A parameter field for a frequency: the plain value in Hertz with five
// significant digits up to 99999 ("99.500", "999.50", "9999.5", "12000").
// Its wheel leaves the graphics core's mouse-down flag alone.
class IParameterButtonExtHz : public IParameterButtonExt {
 public:
  IParameterButtonExtHz(IPlugBase* plug, const IRECT& rect, int paramIdx, const IText* text)
      : IParameterButtonExt(plug, rect, paramIdx, text) {}

  void OnMouseWheel(int, int, IMouseMod* mod, int d) override { WheelStep(mod, d, false); }
  void GetValueText(char* buf, int bufSize) const override;
};
