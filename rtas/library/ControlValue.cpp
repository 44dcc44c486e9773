#include "rtas/library/ControlValue.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kBottom = -2147483648.0;
constexpr double kSpan = 4294967295.0;  // 2^32 - 1: from the bottom to the top

// Distance of the control value from the bottom, as a fraction 0 to 1.
double FractionOf(int32_t value) { return (static_cast<double>(value) - kBottom) / kSpan; }

// Truncation towards zero of a double already known to lie in the host
// range; anything else (NaN, overflow from a hostile range) is pinned so
// the conversion itself is always defined.
int32_t TruncateToInt32(double v) {
  if (!(v >= kBottom)) return std::numeric_limits<int32_t>::min();
  if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(v);
}

// A fraction of the host range as a control value, rounded half up.
int32_t ControlValueOfFraction(double r) {
  if (!(r >= 0.0)) r = 0.0;  // also NaN
  if (r > 1.0) r = 1.0;
  return TruncateToInt32(std::floor(kBottom + r * kSpan + 0.5));
}

}  // namespace

int32_t ControlValueToInt(int32_t value, int32_t min, int32_t max) {
  const double span = static_cast<double>(max) - static_cast<double>(min);
  return TruncateToInt32(std::floor(static_cast<double>(min) + FractionOf(value) * span + 0.5));
}

int32_t IntToControlValue(int32_t n, int32_t min, int32_t max) {
  if (n > max) {
    n = max;
  } else if (n < min) {
    n = min;
  }
  if (max == min) return std::numeric_limits<int32_t>::min();
  const double r = (static_cast<double>(n) - static_cast<double>(min)) /
                   (static_cast<double>(max) - static_cast<double>(min));
  return TruncateToInt32(r * kSpan + kBottom);
}

double ControlValueToDouble(int32_t value, double min, double max) { return min + FractionOf(value) * (max - min); }

int32_t DoubleToControlValue(double x, double min, double max) {
  if (std::isnan(x)) return std::numeric_limits<int32_t>::min();
  double clamped;
  if (max > min) {
    clamped = std::max(std::min(x, max), min);
  } else {
    clamped = std::min(std::max(x, max), min);
  }
  const double span = max - min;
  if (span == 0.0 || std::isnan(span)) return std::numeric_limits<int32_t>::min();
  return ControlValueOfFraction((clamped - min) / span);
}
