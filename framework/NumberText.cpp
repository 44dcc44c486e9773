#include "framework/NumberText.h"

#include <charconv>
#include <clocale>
#include <cstdlib>
#include <locale.h>

int PrintFixedC(double value, char* buf, int bufSize) {
  if (!buf || bufSize < 1) return -1;
  // to_chars with a precision is printf in the C locale by definition, and
  // reads no global state, so it is safe on any thread.
  const std::to_chars_result r = std::to_chars(buf, buf + bufSize - 1, value, std::chars_format::fixed, 6);
  if (r.ec != std::errc()) {
    buf[0] = 0;
    return -1;
  }
  *r.ptr = 0;
  return static_cast<int>(r.ptr - buf);
}

namespace {

locale_t CLocale() {
  // Made once and never freed: it outlives every reader.
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

}  // namespace

bool ScanDoubleC(const char* text, double* value) {
  if (!text || !value) return false;
  const locale_t c = CLocale();
  if (!c) return false;
  char* end = nullptr;
  // strtod_l accepts what "%lf" accepts (blanks, sign, decimals, exponent,
  // hexadecimal, inf, nan) but under the given locale, not the process's.
  const double v = strtod_l(text, &end, c);
  if (end == text) return false;
  *value = v;
  return true;
}
