#include "rtas/library/ControlText.h"

#include <cstring>
#include <vector>

#include "rtas/library/SystemServices.h"

bool EqualIgnoringCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char x = static_cast<unsigned char>(*a);
    unsigned char y = static_cast<unsigned char>(*b);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
    if (x == 0) return true;
  }
}

void CopyTextCut(const std::string& text, char* buffer, int32_t maxLength) {
  if (!buffer || maxLength < 0) return;
  const size_t length = text.size() < static_cast<size_t>(maxLength) ? text.size() : static_cast<size_t>(maxLength);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = 0;
}

std::string NameFormThatFits(const std::string& forms, int32_t maxLength) {
  if (maxLength <= 0) return std::string();
  std::vector<char> buffer(static_cast<size_t>(maxLength) + 1);
  CopyLineThatFits(buffer.data(), forms.c_str(), maxLength);
  return std::string(buffer.data());
}
