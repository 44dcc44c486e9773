#include <cctype>
#include <cstring>

#include "platform/windowserver/InputSink.h"

namespace platform {

int MacKeyCodeForCharacter(char c) {
  // The ANSI keyboard's virtual key codes, in code order.
  static const char kByCode[] = "asdfhgzxcv\0bqweryt123465=97-80]ou[ip\0lj'k;\\,/nm.";
  if (c == ' ') return kKeySpace;
  if (c == '\r') return kKeyReturn;
  if (c == '`') return 50;
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower == 0) return -1;
  for (size_t code = 0; code < sizeof kByCode - 1; ++code) {
    if (kByCode[code] == lower) return static_cast<int>(code);
  }
  return -1;
}

}  // namespace platform
