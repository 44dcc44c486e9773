#include "platform/ats/ATSFont.h"

#include "platform/corefoundation/CFStringObject.h"

ATSFontFamilyRef ATSFontFamilyFindFromName(CFStringRef name, ATSOptionFlags) {
  const std::string& text = platform::TextOf(name);
  if (text.empty()) return kInvalidFontFamily;
  // FNV-1a, kept clear of the invalid value.
  uint32_t hash = 2166136261u;
  for (char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return hash == kInvalidFontFamily ? 1 : hash;
}
