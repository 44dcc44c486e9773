#pragma once

#include <cmath>

#include "plugin/engine/BandTypes.h"
#include "plugin/engine/ParamIndex.h"

// The grids the parameter mirrors are kept on, so that a value dragged in
// the editor and the same value restored from a session compare equal.
namespace MirrorRounding {

inline double Gain(double v) { return std::floor(v * 100.0 + 0.5) / 100.0; }
inline double FreqOrQ(double v) { return std::floor(v * 1000.0 + 0.5) / 1000.0; }
// "DBOffset" and "Ref AGV".
inline double Tenth(double v) { return std::floor(v * 10.0 + 0.5) / 10.0; }
// Enumerations and switches: the value truncated.
inline int Enum(double v) { return static_cast<int>(v); }

// A band field's value on its grid. The type list ends at 15, the designs
// take 16 as well; anything above reads as "A - Peak" (stored sessions may
// hold such values).
inline double BandField(int field, double v) {
  switch (field) {
    case kBandGain: return Gain(v);
    case kBandFreq:
    case kBandQ: return FreqOrQ(v);
    case kBandType: return Enum(v) > kBandGainStage ? kTypeAPeak : Enum(v);
    default: return Enum(v);
  }
}

}  // namespace MirrorRounding
