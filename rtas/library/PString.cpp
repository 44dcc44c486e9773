#include "rtas/library/PString.h"

#include <algorithm>
#include <charconv>
#include <cstring>

void CopyPString(const unsigned char* src, unsigned char* dst) { std::memmove(dst, src, src[0] + 1u); }

void CopyPString64(const unsigned char* src, unsigned char* dst) {
  const int length = std::min<int>(src[0], kPString64Capacity - 1);
  std::memmove(dst + 1, src + 1, length);
  dst[0] = static_cast<unsigned char>(length);
}

void AppendPString(int32_t maxLength, const unsigned char* src, unsigned char* dst) {
  maxLength = std::min<int32_t>(maxLength, kPStringCapacity - 1);
  const int have = dst[0];
  if (have > maxLength) return;
  const int count = std::min<int>(src[0], maxLength - have);
  if (count <= 0) return;
  std::memmove(dst + 1 + have, src + 1, count);
  dst[0] = static_cast<unsigned char>(have + count);
}

bool EqualPStrings(const unsigned char* a, const unsigned char* b) {
  if (!a || !b) return !a && !b;
  return a[0] == b[0] && std::memcmp(a + 1, b + 1, a[0]) == 0;
}

void FormatNumberPString(int32_t n, unsigned char* dst, int32_t width) {
  char digits[16];
  const std::to_chars_result r = std::to_chars(digits, digits + sizeof(digits), n);
  const int length = static_cast<int>(r.ptr - digits);
  static const unsigned char kZero[] = {1, '0'};
  for (int32_t i = length; i < width && dst[0] < kPStringCapacity - 1; ++i) {
    AppendPString(kPStringCapacity - 1, kZero, dst);
  }
  unsigned char text[kPStringCapacity];
  text[0] = static_cast<unsigned char>(length);
  std::memcpy(text + 1, digits, length);
  AppendPString(kPStringCapacity - 1, text, dst);
}

void CToPString(const char* text, unsigned char* dst) {
  const size_t length = text ? std::min<size_t>(std::strlen(text), kPStringCapacity - 1) : 0;
  if (length) std::memmove(dst + 1, text, length);
  dst[0] = static_cast<unsigned char>(length);
}

std::string PStringToString(const unsigned char* src) {
  if (!src) return std::string();
  return std::string(reinterpret_cast<const char*>(src + 1), src[0]);
}
