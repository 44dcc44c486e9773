#pragma once

#include <string>

class IParam;
class IPlugBase;

// One "--set NAME=VALUE" resolved against the plug-in's parameter table.
struct ParamSetting {
  int paramIdx = -1;
  double value = 0.0;
};

// The parameter called name: an exact match first, else the one match that
// differs only in case and surrounding blanks. -1 when there is none (or
// the loose match is ambiguous). Blank parameters have no name to match.
int FindParamByName(const IPlugBase& plug, const std::string& name);

// A value typed for a parameter: one of its display texts (exactly, else
// ignoring case and surrounding blanks: " 6 dB" may be typed "6 dB"), or a
// plain number. A number must lie in the parameter's range, and be whole
// for switches, integers and enumerations. Throws CommandError naming the
// parameter and what it accepts.
double ParseParamValue(const IParam& param, const std::string& text);

// "NAME=VALUE", split at the first "=". Throws CommandError for an unknown
// name or an unusable value.
ParamSetting ResolveParamSetting(const IPlugBase& plug, const std::string& text);
