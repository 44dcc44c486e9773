#include "lice/DecodeUTF8Char.h"

namespace {

bool IsContinuation(unsigned char b) { return b >= 0x80 && b <= 0xBF; }

}  // namespace

int DecodeUTF8Char(const char* text, int* out) {
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  const unsigned char b0 = s[0];
  int length = 1;
  int c = b0;
  if (b0 >= 0xC2 && b0 <= 0xDF && IsContinuation(s[1])) {
    length = 2;
    c = ((b0 & 0x1F) << 6) | (s[1] & 0x3F);
  } else if (b0 >= 0xE0 && b0 <= 0xEF && IsContinuation(s[1]) && IsContinuation(s[2])) {
    length = 3;
    c = ((b0 << 12) | ((s[1] & 0x3F) << 6) | (s[2] & 0x3F)) & 0xFFFF;
  } else if (b0 >= 0xF0 && b0 <= 0xF4 && IsContinuation(s[1]) && IsContinuation(s[2]) &&
             IsContinuation(s[3])) {
    length = 4;
    c = ' ';
  }
  if (out) *out = c;
  return length;
}
