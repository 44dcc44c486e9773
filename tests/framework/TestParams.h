#pragma once

#include <cstdio>
#include <vector>

#include "framework/IPlugBase.h"

// The size of the equaliser's table, with every kind of parameter, and the
// one nameless parameter at the index where the equaliser has it.
constexpr int kTestParams = 138;
constexpr int kNamelessParam = 133;

// Kinds cycle bool, int, enumeration, double; every third parameter is
// unflagged.
inline void DefineMixedParams(IPlugBase& plug) {
  for (int i = 0; i < plug.NParams(); ++i) {
    IParam* p = plug.GetParam(i);
    char name[32];
    std::snprintf(name, sizeof name, "Param %d", i);
    if (i == kNamelessParam) name[0] = 0;
    switch (i % 4) {
      case 0:
        p->SetType(IParam::kTypeBool);
        p->InitEnum(name, 0, 2);
        break;
      case 1:
        p->SetType(IParam::kTypeInt);
        p->InitEnum(name, 5, 100);
        break;
      case 2:
        p->InitEnum(name, 1, 7);
        break;
      default:
        p->InitDouble(name, 0.0, -100.0, 20000.0, 0.01);
        break;
    }
    p->SetFlagged(i % 3 != 0);
  }
}

// Values inside each range that differ per seed and from the defaults; the
// doubles use all six printed decimals.
inline void SetDistinctValues(IPlugBase& plug, int seed) {
  for (int i = 0; i < plug.NParams(); ++i) {
    IParam* p = plug.GetParam(i);
    switch (p->Type()) {
      case IParam::kTypeBool:
        p->Set((i / 4 + seed) % 2);
        break;
      case IParam::kTypeInt:
        p->Set((i * 7 + seed * 13) % 100);
        break;
      case IParam::kTypeEnum:
        p->Set((i + seed) % 7);
        break;
      default: {
        // A whole number of millionths divided once is the double nearest
        // that decimal, so printing six decimals and reading back is exact.
        const long long micro = -99000000LL + (i * 7919LL + seed * 104729LL) % 2000000LL * 10000LL + 125LL * (seed + 1);
        p->Set(static_cast<double>(micro) / 1e6);
        break;
      }
    }
  }
}

inline std::vector<double> ParamValues(const IPlugBase& plug) {
  std::vector<double> values;
  for (int i = 0; i < plug.NParams(); ++i) values.push_back(plug.GetParam(i)->Value());
  return values;
}

inline void UseXML(IPlugBase& plug) {
  plug.SetXMLMode(true);
  plug.SetPluginTexts("Kestrelbay", "Brimlow", "3.2.3");
}
