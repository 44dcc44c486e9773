#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/containers/WDL_Mutex.h"
#include "graphics/IControl.h"
#include "graphics/IGraphics.h"
#include "plugin/controller/Brimlow.h"
#include "tests/plugin/controller/PlugHost.h"
#include "tests/plugin/controller/ScopedDataHome.h"

// A plug-in object made as the host binding makes it, with its data
// folders under a temporary XDG_DATA_HOME (never the real home), and the
// two ways a change reaches it: from the host (value, then OnParamChange)
// and from the editor (through the control bound to the parameter).
namespace plugtest {

// The first control bound to the index; null for a parameter that only a
// menu sets.
inline IControl* ControlOf(Brimlow& plug, int paramIdx) {
  return plug.GetGUI() ? plug.GetGUI()->GetControlOfParam(paramIdx) : nullptr;
}

// The editor's way: the user moves the control, or chooses the value in a
// menu, which sets it as a control would.
inline void SetViaControl(Brimlow& plug, int paramIdx, double value) {
  const double normalized = plug.GetParam(paramIdx)->ToNormalizedParam(value);
  if (IControl* control = ControlOf(plug, paramIdx)) control->SetValueFromUserInput(normalized);
  else plug.SetParameterFromGUI(paramIdx, normalized);
}

// The host's way: the value (clamped by the parameter), then the dispatch.
inline void SetFromHost(Brimlow& plug, int paramIdx, double value) {
  PlugHost::SetParam(plug, paramIdx, value, false);
}

// One block through the plug-in's signal chain, as the block frame runs it.
inline std::vector<std::vector<double>> Process(Brimlow& plug, const std::vector<double>& left,
                                                const std::vector<double>& right) {
  const int n = static_cast<int>(left.size());
  std::vector<double> inL = left, inR = right;
  std::vector<std::vector<double>> out(2, std::vector<double>(left.size(), 0.0));
  double* in[2] = {inL.data(), inR.data()};
  double* outs[2] = {out[0].data(), out[1].data()};
  WDL_MutexLock lock(plug.GetMutex());
  plug.ProcessBlock(in, outs, n);
  return out;
}

}  // namespace plugtest
