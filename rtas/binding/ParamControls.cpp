#include "rtas/binding/ParamControls.h"

#include <string>
#include <vector>

#include "framework/IParam.h"
#include "rtas/library/CPluginControl_Continuous.h"
#include "rtas/library/CPluginControl_Discrete.h"
#include "rtas/library/CPluginControl_Linear.h"
#include "rtas/library/CPluginControl_List.h"
#include "rtas/library/UnitPrefixes.h"

namespace paramcontrols {

bool IsDiscreteKind(int kind) { return kind != IParam::kTypeDouble; }

std::unique_ptr<CPluginControl> MakeParamControl(const IParam& param, int index, bool automatable) {
  const uint32_t id = kParamControlIDBase + static_cast<uint32_t>(index);
  const char* name = param.GetNameForHost();
  const int kind = param.Type();
  if (kind == IParam::kTypeDouble) {
    // From the unprefixed record up: a Q of 0.7 reads "0.7", not "700.0m",
    // and a gain that the host value puts a hair off 0 still reads "0.0".
    return std::make_unique<CPluginControl_Linear>(id, name, param.GetMin(), param.GetMax(), param.GetStep(),
                                                   param.Value(), automatable, FindUnitPrefix(""),
                                                   &kUnitPrefixes[kUnitPrefixCount - 1]);
  }
  if ((kind == IParam::kTypeBool || kind == IParam::kTypeEnum) && param.GetNDisplayTexts() > 0) {
    std::vector<std::string> items;
    for (int i = 0; i < param.GetNDisplayTexts(); ++i) items.emplace_back(param.GetDisplayTextAtIdx(i));
    return std::make_unique<CPluginControl_List>(id, name, items, static_cast<int32_t>(param.GetDefault()),
                                                 automatable);
  }
  // A list without items would have no value to show, so those kinds fall
  // back to their integer range.
  return std::make_unique<CPluginControl_Discrete>(id, name, static_cast<int32_t>(param.GetMin()),
                                                   static_cast<int32_t>(param.GetMax()),
                                                   static_cast<int32_t>(param.Value()), automatable);
}

int32_t ToControlValue(const CPluginControl& control, const IParam& param, double value) {
  if (IsDiscreteKind(param.Type())) {
    if (auto* discrete = dynamic_cast<const CPluginControl_Discrete*>(&control)) {
      return discrete->IntToValue(static_cast<int32_t>(value));
    }
  } else if (auto* continuous = dynamic_cast<const CPluginControl_Continuous*>(&control)) {
    return continuous->DoubleToValue(value);
  }
  return control.GetValue();
}

double FromControlValue(const CPluginControl& control, const IParam& param) {
  if (IsDiscreteKind(param.Type())) {
    if (auto* discrete = dynamic_cast<const CPluginControl_Discrete*>(&control)) return discrete->GetIntValue();
  } else if (auto* continuous = dynamic_cast<const CPluginControl_Continuous*>(&control)) {
    return continuous->GetContinuousValue();
  }
  return param.Value();
}

}  // namespace paramcontrols
