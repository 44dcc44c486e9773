#include "tools/PluginBundle.h"

#include "platform/corefoundation/CFBundle.h"
#include "platform/corefoundation/CFString.h"
#include "platform/corefoundation/CFURL.h"

bool RegisterPluginBundle() {
  // One registration for the process: a bundle stays known while it lives.
  static CFBundleRef bundle = [] {
    CFStringRef path = CFStringCreateWithCString(nullptr, BRIMLOW_PLUGIN_BUNDLE_DIR, kCFStringEncodingUTF8);
    CFURLRef url = path ? CFURLCreateWithFileSystemPath(nullptr, path, kCFURLPOSIXPathStyle, true) : nullptr;
    CFBundleRef made = url ? CFBundleCreate(nullptr, url) : nullptr;
    CFRelease(url);
    CFRelease(path);
    return made;
  }();
  return bundle != nullptr;
}
