#pragma once

#include <string>

#include "platform/corefoundation/CFObject.h"
#include "platform/corefoundation/CFString.h"

// Private to platform/corefoundation.
struct CFStringObject : platform::CFObject {
  explicit CFStringObject(std::string text) : CFObject(platform::kCFStringTypeID), mText(std::move(text)) {}
  const std::string mText;
};

namespace platform {

// The text of a string reference; empty for null or another kind.
const std::string& TextOf(CFStringRef string);
// A new string (+1) holding the text.
CFStringRef NewString(std::string text);

}  // namespace platform
