#include "tools/NumberArgument.h"

#include <charconv>
#include <cmath>

#include "framework/NumberText.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Finds the number's extent in text; false when anything else is there.
bool Trim(const std::string& text, size_t* begin, size_t* end) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  *begin = b;
  *end = e;
  return b < e;
}

// Checks the decimal grammar; returns false on the first character outside it.
bool IsDecimal(const std::string& text, size_t i, size_t end, bool allowFraction) {
  if (i < end && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < end && IsDigit(text[i])) ++i, ++digits;
  if (allowFraction && i < end && text[i] == '.') {
    ++i;
    while (i < end && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (allowFraction && i < end && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < end && (text[i] == '+' || text[i] == '-')) ++i;
    size_t exponentDigits = 0;
    while (i < end && IsDigit(text[i])) ++i, ++exponentDigits;
    if (exponentDigits == 0) return false;
  }
  return i == end;
}

}  // namespace

bool ParseNumberArgument(const std::string& text, double* value) {
  size_t begin = 0, end = 0;
  if (!Trim(text, &begin, &end) || !IsDecimal(text, begin, end, true)) return false;
  double v = 0.0;
  const std::string number = text.substr(begin, end - begin);
  // An exponent can still overflow to infinity ("1e999").
  if (!ScanDoubleC(number.c_str(), &v) || !std::isfinite(v)) return false;
  *value = v;
  return true;
}

bool ParseIntegerArgument(const std::string& text, long long minValue, long long maxValue, long long* value) {
  size_t begin = 0, end = 0;
  if (!Trim(text, &begin, &end) || !IsDecimal(text, begin, end, false)) return false;
  const bool negative = text[begin] == '-';
  if (text[begin] == '+' || text[begin] == '-') ++begin;
  // Accumulated as a magnitude and stopped past the range, so no digit
  // count can overflow.
  const unsigned long long limit = negative ? 0ull - static_cast<unsigned long long>(minValue < 0 ? minValue : 0)
                                            : static_cast<unsigned long long>(maxValue < 0 ? 0 : maxValue);
  unsigned long long magnitude = 0;
  for (size_t i = begin; i < end; ++i) {
    magnitude = magnitude * 10 + static_cast<unsigned long long>(text[i] - '0');
    if (magnitude > limit) return false;
  }
  // Two's complement wrap of the magnitude: exact down to the smallest long long.
  const long long v = static_cast<long long>(negative ? 0ull - magnitude : magnitude);
  if (v < minValue || v > maxValue) return false;
  *value = v;
  return true;
}

std::string FormatNumber(double value) {
  if (value == 0.0) return "0";  // no "-0"
  // to_chars is the C locale by definition, whatever the process's.
  char buf[64];
  const std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 10);
  return std::string(buf, r.ptr);
}
