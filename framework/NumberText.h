#pragma once

// Numbers in stored text are C-locale whatever the process locale: a host
// running with a "," decimal separator must write and read the same files
// as every other host.

// Enough for "%f" of any double, sign and terminator included.
constexpr int kNumberTextSize = 512;

// Prints value as "%f" does in the C locale (six decimals); returns the
// length, or -1 when buf is too small (buf then holds "").
int PrintFixedC(double value, char* buf, int bufSize);

// Reads the leading number of text as "%lf" does in the C locale: leading
// blanks are skipped and whatever follows the number is ignored. Returns
// false, leaving *value alone, when text does not begin with a number.
bool ScanDoubleC(const char* text, double* value);
