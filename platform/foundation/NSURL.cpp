#include "platform/foundation/NSURL.h"

#include <unistd.h>

#include <cctype>
#include <cstring>

namespace {

bool IsHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

// Unreserved and reserved characters of RFC 3986, and "%" escapes.
bool WellFormed(const std::string& text) {
  static const char kAllowed[] = "-._~:/?#[]@!$&'()*+,;=";
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '%') {
      if (i + 2 >= text.size() || !IsHex(text[i + 1]) || !IsHex(text[i + 2])) return false;
      i += 2;
      continue;
    }
    if (c < 128 && std::isalnum(c)) continue;
    if (c != 0 && std::strchr(kAllowed, c)) continue;
    return false;
  }
  return true;
}

std::string Escaped(const std::string& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char ch : path) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if ((c < 128 && std::isalnum(c)) || std::strchr("-._~/!$&'()*+,;=:@", c)) {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

}  // namespace

NSURL* NSURL::URLWithString(const std::string& text) {
  if (text.empty() || !WellFormed(text)) return nullptr;
  NSURL* url = new NSURL(text, text.compare(0, 5, "file:") == 0);
  url->autorelease();
  return url;
}

NSURL* NSURL::fileURLWithPath(const std::string& path) {
  if (path.empty()) return nullptr;
  std::string absolute = path;
  if (absolute[0] != '/') {
    char folder[4096];
    if (!getcwd(folder, sizeof folder)) return nullptr;
    absolute = std::string(folder) + "/" + path;
  }
  NSURL* url = new NSURL("file://" + Escaped(absolute), true);
  url->autorelease();
  return url;
}
