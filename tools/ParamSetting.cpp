#include "tools/ParamSetting.h"

#include <cmath>

#include "framework/IPlugBase.h"
#include "tools/CommandError.h"
#include "tools/LooseText.h"
#include "tools/NumberArgument.h"

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// What a parameter takes, for the error message.
std::string Accepts(const IParam& param) {
  std::string out = FormatNumber(param.GetMin()) + " to " + FormatNumber(param.GetMax());
  const int n = param.GetNDisplayTexts();
  if (n > 0) {
    out += " or one of ";
    for (int i = 0; i < n; ++i) {
      if (i > 0) out += ", ";
      out += Quoted(param.GetDisplayTextAtIdx(i));
    }
  }
  return out;
}

}  // namespace

int FindParamByName(const IPlugBase& plug, const std::string& name) {
  if (name.empty()) return -1;
  for (int i = 0; i < plug.NParams(); ++i) {
    if (name == plug.GetParam(i)->GetNameForHost()) return i;
  }
  const std::string loose = LooseText(name);
  if (loose.empty()) return -1;
  int found = -1;
  for (int i = 0; i < plug.NParams(); ++i) {
    if (LooseText(plug.GetParam(i)->GetNameForHost()) != loose) continue;
    if (found >= 0) return -1;
    found = i;
  }
  return found;
}

double ParseParamValue(const IParam& param, const std::string& text) {
  const std::string name = param.GetNameForHost();
  int mapped = 0;
  if (param.MapDisplayText(text.c_str(), &mapped)) return mapped;
  const std::string loose = LooseText(text);
  int matches = 0;
  for (int i = 0; i < param.GetNDisplayTexts(); ++i) {
    int value = 0;
    const char* display = param.GetDisplayTextAtIdx(i, &value);
    if (LooseText(display) == loose) {
      mapped = value;
      ++matches;
    }
  }
  if (matches == 1) return mapped;

  double value = 0.0;
  if (!ParseNumberArgument(text, &value)) {
    throw CommandError(name + ": " + Quoted(text) + " is not a value of this parameter (it takes " +
                       Accepts(param) + ")");
  }
  if (value < param.GetMin() || value > param.GetMax()) {
    throw CommandError(name + ": " + FormatNumber(value) + " is out of range (it takes " + Accepts(param) + ")");
  }
  if (param.Type() != IParam::kTypeDouble && value != std::floor(value)) {
    throw CommandError(name + ": " + FormatNumber(value) + " is not a whole number (it takes " + Accepts(param) +
                       ")");
  }
  return value;
}

ParamSetting ResolveParamSetting(const IPlugBase& plug, const std::string& text) {
  const size_t eq = text.find('=');
  if (eq == std::string::npos || eq == 0) throw CommandError("--set needs NAME=VALUE, not " + Quoted(text));
  const std::string name = text.substr(0, eq);
  ParamSetting setting;
  setting.paramIdx = FindParamByName(plug, name);
  if (setting.paramIdx < 0) throw CommandError("unknown parameter " + Quoted(name) + " (see brimlow params)");
  setting.value = ParseParamValue(*plug.GetParam(setting.paramIdx), text.substr(eq + 1));
  return setting;
}
