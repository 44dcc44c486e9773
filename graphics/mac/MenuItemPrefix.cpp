#include "graphics/mac/MenuItemPrefix.h"

#include <cstdio>

std::string PrefixedItemText(int prefixStyle, int position, const char* text) {
  static const char* const kFormats[] = {"%1d: ", "%02d: ", "%03d: "};
  std::string out;
  if (prefixStyle >= 1 && prefixStyle <= 3) {
    char number[32];
    std::snprintf(number, sizeof number, kFormats[prefixStyle - 1], position);
    out = number;
  }
  return out + (text ? text : "");
}
