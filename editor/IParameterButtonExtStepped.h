#pragma once

#include "graphics/controls/IParameterButtonExt.h"

// A parameter field whose wheel moves in whole steps of the parameter's
// own unit (dB for a gain): the value first snaps to the nearest multiple
// of the step, then moves by the notches, so the field always lands on a
// round number. Drag, default and text entry are the plain field's.
class IParameterButtonExtStepped : public IParameterButtonExt {
 public:
  IParameterButtonExtStepped(IPlugBase* plug, const IRECT& rect, int paramIdx, const IText* text)
      : IParameterButtonExt(plug, rect, paramIdx, text) {}

  void OnMouseWheel(int x, int y, IMouseMod* mod, int d) override;

  double GetStep() const { return mStep; }
  double GetFineStep() const { return mFineStep; }
  double GetCoarseStep() const { return mCoarseStep; }

 protected:
  double mStep = 1.0;        // no modifier
  double mFineStep = 0.1;    // Shift
  double mCoarseStep = 3.0;  // Control
};
