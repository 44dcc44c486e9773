#include "rtas/library/PascalText.h"

#include <algorithm>
#include <cstring>

namespace pascaltext {

std::string ToString(ConstStr255Param text) {
  return text ? std::string(reinterpret_cast<const char*>(text + 1), text[0]) : std::string();
}

void FromString(const std::string& text, Str255 out) {
  const size_t length = std::min<size_t>(text.size(), 255);
  out[0] = static_cast<unsigned char>(length);
  std::memcpy(out + 1, text.data(), length);
}

}  // namespace pascaltext
