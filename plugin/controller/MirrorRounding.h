#pragma once

#include <cmath>

// The grids the parameter mirrors are kept on, so that a value dragged in
// the editor and the same value restored from a session compare equal.
namespace MirrorRounding {

inline double Gain(double v) { return std::floor(v * 100.0 + 0.5) / 100.0; }
inline double FreqOrQ(double v) { return std::floor(v * 1000.0 + 0.5) / 1000.0; }
// "DBOffset" and "Ref AGV".
inline double Tenth(double v) { return std::floor(v * 10.0 + 0.5) / 10.0; }
// Enumerations and switches: the value truncated.
inline int Enum(double v) { return static_cast<int>(v); }

}  // namespace MirrorRounding
