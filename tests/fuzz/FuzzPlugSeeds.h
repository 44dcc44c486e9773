#pragma once

#include "tests/fuzz/FuzzPlug.h"

// Settings the payload and preset seeds are written from: the defaults,
// both ends of every range, and values between that use all six printed
// decimals.
constexpr int kSeedSettings = 4;

inline void ApplySeedSetting(FuzzPlug& plug, int setting) {
  for (int i = 0; i < plug.NParams(); ++i) {
    IParam* p = plug.GetParam(i);
    switch (setting) {
      case 1:
        p->Set(p->GetMin());
        break;
      case 2:
        p->Set(p->GetMax());
        break;
      case 3:
        p->Set(p->GetMin() + (p->GetMax() - p->GetMin()) * 0.371293 + 0.000001 * i);
        break;
      default:
        p->Set(p->GetDefault());
        break;
    }
  }
}

// Preset names, the last with every character the XML writer must escape.
inline const char* const kSeedPresetNames[] = {"", "Init", "Vocal & <Air> \"bright\" 'wide'"};
