#include "rtas/library/ControlNameForms.h"

#include <cstring>

std::string NameFormThatFits(const std::string& forms, int32_t maxLength) {
  if (maxLength <= 0) return std::string();
  size_t start = 0;
  for (;;) {
    const size_t end = forms.find('\n', start);
    const size_t length = (end == std::string::npos ? forms.size() : end) - start;
    if (length <= static_cast<size_t>(maxLength)) return forms.substr(start, length);
    if (end == std::string::npos) return forms.substr(start, maxLength);
    start = end + 1;
  }
}

bool EqualIgnoringCase(const std::string& a, const char* b, size_t bLength) {
  if (a.size() != bLength) return false;
  for (size_t i = 0; i < bLength; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

void CopyTextCut(const std::string& text, char* buffer, int32_t maxLength) {
  if (!buffer || maxLength < 0) return;
  const size_t length = text.size() < static_cast<size_t>(maxLength) ? text.size() : static_cast<size_t>(maxLength);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = 0;
}
