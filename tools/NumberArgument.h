#pragma once

#include <string>

// Numbers typed on the command line, read in the C locale whatever the
// process locale. Stricter than "%lf": the whole text must be one decimal
// number (optional sign, digits with an optional fraction, optional
// exponent), surrounded by nothing but blanks. "12O0", "1,5", "0x10",
// "inf" and "nan" are refused rather than read as a prefix or a
// non-finite value.
bool ParseNumberArgument(const std::string& text, double* value);

// A whole number in [minValue, maxValue], written as above without a
// fraction or exponent.
bool ParseIntegerArgument(const std::string& text, long long minValue, long long maxValue, long long* value);

// A value as messages show it: C locale, at most 10 significant digits,
// no trailing zeros ("1200", "0.707", "-48").
std::string FormatNumber(double value);
