#pragma once

#include <string>

#include "platform/corefoundation/CFObject.h"
#include "platform/corefoundation/CFURL.h"

// Private to platform/corefoundation.
struct CFURLObject : platform::CFObject {
  CFURLObject(std::string path, bool isDirectory)
      : CFObject(platform::kCFURLTypeID), mPath(std::move(path)), mIsDirectory(isDirectory) {}
  const std::string mPath;  // absolute, no trailing "/" except for the root
  const bool mIsDirectory;
};

namespace platform {

// The path of a URL reference; empty for null or another kind.
const std::string& PathOf(CFURLRef url);
// A new URL (+1) for an absolute or relative path.
CFURLRef NewURL(const std::string& path, bool isDirectory);

}  // namespace platform
