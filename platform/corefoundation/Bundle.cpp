#include "platform/corefoundation/Bundle.h"

#include "platform/corefoundation/CFBundle.h"

namespace platform {

namespace {

std::string FolderHolding(CFBundleRef bundle) {
  CFURLRef url = bundle ? CFBundleCopyBundleURL(bundle) : nullptr;
  CFURLRef folder = url ? CFURLCreateCopyDeletingLastPathComponent(nullptr, url) : nullptr;
  unsigned char path[4096];
  const bool ok = folder && CFURLGetFileSystemRepresentation(folder, true, path, sizeof path);
  ReleaseIfAny(folder);
  ReleaseIfAny(url);
  if (!ok) return {};
  std::string text(reinterpret_cast<const char*>(path));
  if (text.back() != '/') text += '/';
  return text;
}

}  // namespace

std::string BundleFolder(const char* bundleIdentifier) {
  CFStringRef identifier =
      bundleIdentifier ? CFStringCreateWithCString(nullptr, bundleIdentifier, kCFStringEncodingUTF8) : nullptr;
  CFBundleRef bundle = identifier ? CFBundleGetBundleWithIdentifier(identifier) : nullptr;
  ReleaseIfAny(identifier);
  const std::string folder = FolderHolding(bundle);
  return folder.empty() ? FolderHolding(CFBundleGetMainBundle()) : folder;
}

}  // namespace platform
