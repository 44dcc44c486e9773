#pragma once

#include <cstdint>
#include <memory>

class CPluginControl;
class IParam;

// The host-visible control of one plug-in parameter and the two value
// mappings between them. Every parameter index gets a control, so control
// p + 2 is always parameter p: a parameter without a kind (kind 0) is shown
// as a discrete control 0..1 and counts as discrete wherever kinds matter.
namespace paramcontrols {

// ' ld ' + index: the four-character id of parameter index's control.
constexpr uint32_t kParamControlIDBase = 0x206c6420;

// Discrete kinds (untyped, two-state, integer, enumeration) map through
// the integer value; only doubles map continuously.
bool IsDiscreteKind(int kind);

// Two-state and enumeration parameters with display texts become a list
// of those texts (default: the parameter's default); integers, and the
// other discrete kinds without texts, an integer range (default: the
// current value); doubles a linear range with the unit prefixes from the
// unprefixed one up.
std::unique_ptr<CPluginControl> MakeParamControl(const IParam& param, int index, bool automatable);

// The control value that shows the parameter value on the control.
int32_t ToControlValue(const CPluginControl& control, const IParam& param, double value);
// The parameter value the control's current value stands for, not clamped.
double FromControlValue(const CPluginControl& control, const IParam& param);

}  // namespace paramcontrols
