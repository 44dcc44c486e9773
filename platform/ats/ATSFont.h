#pragma once

#include <cstdint>

#include "platform/corefoundation/CFString.h"

// Stand-in for finding a font family by name: every name has a family, the
// same number for the same name (nothing draws with it here).
typedef uint32_t ATSFontFamilyRef;
typedef uint32_t ATSOptionFlags;
enum : ATSOptionFlags { kATSOptionFlagsDefault = 0 };
constexpr ATSFontFamilyRef kInvalidFontFamily = 0xFFFFFFFFu;

// kInvalidFontFamily for a null or empty name.
ATSFontFamilyRef ATSFontFamilyFindFromName(CFStringRef name, ATSOptionFlags options);
