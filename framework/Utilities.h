#pragma once

#include <cstddef>

// Writes the lower-cased copy of src into dst (which holds strlen(src) + 1
// bytes); returns strlen(src).
int ToLower(char* dst, const char* src);

// Bounded copy into a fixed text field of `capacity` bytes: truncates and
// always terminates. Stored names must never overrun their fields.
void CopyText(char* dst, size_t capacity, const char* src);

template <size_t N>
void CopyText(char (&dst)[N], const char* src) {
  CopyText(dst, N, src);
}

// Local time as "%Y%m%d %H:%M " and the UTC offset as "+hhmm" or "-hhmm".
// Returns one static buffer that each call overwrites.
const char* CurrentTime();

// The trace hook: it does nothing, so a call site may pass anything.
template <class... Args>
inline void Trace(Args&&...) {}

double** NewDoubleArray2D(int length, int rows);
void DeleteDoubleArray2D(double** array, int rows);
void CopyDoubleArray(const double* src, double* dst, int n, int offset);
void ClearDoubleArray2D(double** array, int length, int rows);

// A four-character code ("KB30") as the 32-bit identifier hosts use: the
// first character in the most significant byte.
constexpr int FourCharCode(const char (&code)[5]) {
  return static_cast<int>((static_cast<unsigned>(static_cast<unsigned char>(code[0])) << 24) |
                          (static_cast<unsigned>(static_cast<unsigned char>(code[1])) << 16) |
                          (static_cast<unsigned>(static_cast<unsigned char>(code[2])) << 8) |
                          static_cast<unsigned>(static_cast<unsigned char>(code[3])));
}
