#include "rtas/views/ViewLibraryShim.h"

#include <cmath>

int32_t ControlValueToInt(int32_t value, int32_t minimum, int32_t maximum) {
  const double span = static_cast<double>(maximum) - minimum;
  return static_cast<int32_t>(std::floor(minimum + (value + 2147483648.0) / 4294967295.0 * span + 0.5));
}

int32_t IntToControlValue(int32_t n, int32_t minimum, int32_t maximum) {
  if (n > maximum) n = maximum; else if (n < minimum) n = minimum;
  if (maximum == minimum) return INT32_MIN;
  return static_cast<int32_t>(
      std::trunc((static_cast<double>(n) - minimum) / (static_cast<double>(maximum) - minimum) * 4294967295.0 -
                 2147483648.0));
}
