#include "framework/Utilities.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

int ToLower(char* dst, const char* src) {
  int n = 0;
  for (; src[n]; ++n) dst[n] = static_cast<char>(std::tolower(static_cast<unsigned char>(src[n])));
  dst[n] = 0;
  return n;
}

void CopyText(char* dst, size_t capacity, const char* src) {
  if (!dst || capacity == 0) return;
  if (!src) src = "";
  const size_t n = strnlen(src, capacity - 1);
  std::memcpy(dst, src, n);
  dst[n] = 0;
}

const char* CurrentTime() {
  static char text[64];
  const time_t now = std::time(nullptr);
  struct tm local;
  localtime_r(&now, &local);
  const size_t n = std::strftime(text, sizeof text, "%Y%m%d %H:%M ", &local);
  // tm_gmtoff carries the zone's own offset, so a date that differs from
  // UTC's across a year boundary still gives the one-day difference.
  const long offsetMinutes = local.tm_gmtoff / 60;
  const long magnitude = std::labs(offsetMinutes);
  std::snprintf(text + n, sizeof text - n, "%c%02ld%02ld", offsetMinutes < 0 ? '-' : '+', magnitude / 60,
                magnitude % 60);
  return text;
}

double** NewDoubleArray2D(int length, int rows) {
  if (rows < 0) rows = 0;
  if (length < 0) length = 0;
  double** array = new double*[static_cast<size_t>(rows)];
  for (int r = 0; r < rows; ++r) array[r] = new double[static_cast<size_t>(length)];
  return array;
}

void DeleteDoubleArray2D(double** array, int rows) {
  if (!array) return;
  for (int r = 0; r < rows; ++r) delete[] array[r];
  delete[] array;
}

void CopyDoubleArray(const double* src, double* dst, int n, int offset) {
  if (!src || !dst || n <= 0) return;
  std::memcpy(dst + offset, src, static_cast<size_t>(n) * sizeof(double));
}

void ClearDoubleArray2D(double** array, int length, int rows) {
  if (!array || length <= 0) return;
  for (int r = 0; r < rows; ++r) {
    if (array[r]) std::memset(array[r], 0, static_cast<size_t>(length) * sizeof(double));
  }
}
