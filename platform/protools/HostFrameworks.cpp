#include "platform/protools/HostFrameworks.h"

#include "platform/corefoundation/CFBundleStandIn.h"

namespace platform {

namespace {

void* Lookup(CFBundleRef bundle, const char* name) {
  CFStringRef text = CFStringCreateWithCString(nullptr, name, kCFStringEncodingASCII);
  void* address = bundle && text ? CFBundleGetFunctionPointerForName(bundle, text) : nullptr;
  ReleaseIfAny(text);
  return address;
}

}  // namespace

std::string StandInFrameworksFolder() { return BRIMLOW_STANDIN_FRAMEWORKS_DIR; }

CFBundleRef OpenHostFramework(const std::string& frameworkPath) {
  CFStringRef path = CFStringCreateWithCString(nullptr, frameworkPath.c_str(), kCFStringEncodingUTF8);
  CFURLRef url = path ? CFURLCreateWithFileSystemPath(nullptr, path, kCFURLPOSIXPathStyle, true) : nullptr;
  CFBundleRef bundle = url ? CFBundleCreate(nullptr, url) : nullptr;
  ReleaseIfAny(url);
  ReleaseIfAny(path);
  if (bundle && !KeepBundleCodeLoaded(bundle)) {
    CFRelease(bundle);
    return nullptr;
  }
  return bundle;
}

const SDAEControl* DAEControlOf(CFBundleRef bundle) {
  auto control = reinterpret_cast<DAEStandInControlProc>(Lookup(bundle, standin::kDAEControlName));
  return control ? control() : nullptr;
}

const SDSIControl* DSIControlOf(CFBundleRef bundle) {
  auto control = reinterpret_cast<DSIStandInControlProc>(Lookup(bundle, standin::kDSIControlName));
  return control ? control() : nullptr;
}

const SDSPManagerControl* DSPManagerControlOf(CFBundleRef bundle) {
  auto control = reinterpret_cast<DSPManagerStandInControlProc>(Lookup(bundle, standin::kDSPManagerControlName));
  return control ? control() : nullptr;
}

}  // namespace platform
