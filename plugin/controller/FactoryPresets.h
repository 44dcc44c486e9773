#pragma once

#include <vector>

#include "framework/IParamValue.h"
#include "plugin/engine/ParamIndex.h"

// One band of a factory preset, in the values of its enumerations ("Type",
// "ChMode", "Slope" indices) and units (dB, Hz). Inactive bands keep their
// settings: they sound when the user switches them on.
struct FactoryBand {
  int type;
  int chMode;
  int slope;
  double gainDb;
  double freqHz;
  double q;
  int active;
};

struct FactoryPreset {
  const char* name;
  int osMode;      // "OS Mode" index
  int filterMode;  // "Filter Mode" index
  FactoryBand bands[kNumBands];
};

constexpr int kNumFactoryPresets = 15;
extern const FactoryPreset kFactoryPresets[kNumFactoryPresets];

// What a preset names: "OS Mode", "Filter Mode" and per band Active, Type,
// ChMode, Slope, Gain, Freq and Q, the parameters a preset carries. Solo and
// the display, analyser and meter parameters are left out on purpose.
constexpr int kFactoryPresetValueCount = 2 + 7 * kNumBands;
std::vector<IParamValue> FactoryPresetValues(const FactoryPreset& preset);
