#pragma once

#include "platform/carboncore/MacTypes.h"
#include "platform/corefoundation/CFString.h"

// Stand-in for the Help Manager's tags: one tag at a time, shown by the
// window server's backend next to a hot rectangle in global pixels.
typedef uint32_t HMContentType;
typedef int16_t HMTagDisplaySide;

enum : HMContentType { kHMNoContent = 0x6e6f6e65 /* 'none' */, kHMCFStringContent = 0x6366736c /* 'cfsl' */ };
enum : int32_t { kMacHelpVersion = 3 };
enum : OSStatus { hmHelpManagerNotInited = -855 };

struct HMHelpContent {
  HMContentType contentType;
  CFStringRef tagCFString;
};

struct HMHelpContentRec {
  int32_t version;
  Rect absHotRect;
  HMTagDisplaySide tagSide;
  HMHelpContent content[2];
};

// The first content must be a string ('cfsl'); the tag keeps its own copy.
OSStatus HMDisplayTag(const HMHelpContentRec* content);
OSStatus HMHideTag();
