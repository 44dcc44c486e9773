#pragma once

#include <cstdint>

// The host speaks of a control through one signed 32-bit value whose whole
// range, -2^31 to 2^31 - 1, spans the control's own range. These map it to
// and from an integer or a double range, in double precision.
//
// An empty range (max == min) has no span to divide by: every value then
// maps to min, and min (or anything) maps to the bottom of the host range.
// A NaN is treated as the bottom of the range, never converted blindly.

int32_t ControlValueToInt(int32_t value, int32_t min, int32_t max);
// n is clamped into [min, max] first.
int32_t IntToControlValue(int32_t n, int32_t min, int32_t max);
double ControlValueToDouble(int32_t value, double min, double max);
// x is clamped into the range first; min may exceed max (a reversed range).
int32_t DoubleToControlValue(double x, double min, double max);
