#pragma once

#include <string>

// A typed name or text reduced for a forgiving comparison: surrounding
// blanks dropped, ASCII letters lowered. Callers compare exactly first and
// fall back to this only when the loose match is unique.
inline std::string LooseText(const std::string& text) {
  size_t b = 0, e = text.size();
  while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
  while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
  std::string out = text.substr(b, e - b);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}
