#include "tools/brimlow-host/PlugInBundle.h"

#include <sys/stat.h>

#include "platform/corefoundation/CFString.h"
#include "platform/corefoundation/CFURL.h"
#include "tools/CommandError.h"

namespace {

void* FunctionNamed(CFBundleRef bundle, const char* name) {
  CFStringRef text = CFStringCreateWithCString(nullptr, name, kCFStringEncodingUTF8);
  void* pointer = CFBundleGetFunctionPointerForName(bundle, text);
  CFRelease(text);
  return pointer;
}

void* DataNamed(CFBundleRef bundle, const char* name) {
  CFStringRef text = CFStringCreateWithCString(nullptr, name, kCFStringEncodingUTF8);
  void* pointer = CFBundleGetDataPointerForName(bundle, text);
  CFRelease(text);
  return pointer;
}

}  // namespace

PlugInBundle::PlugInBundle(const std::string& folder) : mFolder(folder) {
  struct stat info {};
  if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    throw CommandError(folder + ": no plug-in bundle there");
  }
  CFStringRef path = CFStringCreateWithCString(nullptr, folder.c_str(), kCFStringEncodingUTF8);
  CFURLRef url = CFURLCreateWithFileSystemPath(nullptr, path, kCFURLPOSIXPathStyle, true);
  CFRelease(path);
  mBundle = CFBundleCreate(nullptr, url);
  CFRelease(url);
  // No identifier: the information file is missing or unreadable.
  if (mBundle && !CFBundleGetIdentifier(mBundle)) {
    CFRelease(mBundle);
    mBundle = nullptr;
  }
  if (!mBundle) throw CommandError(folder + ": no plug-in bundle there");
  if (!CFBundleLoadExecutable(mBundle)) {
    CFRelease(mBundle);
    throw CommandError(folder + ": the plug-in's code does not load");
  }
  mNew = reinterpret_cast<NewProc>(FunctionNamed(mBundle, "NewMachOPlugIn"));
  mClose = reinterpret_cast<CloseProc>(FunctionNamed(mBundle, "CloseMachOPlugIn"));
  // The data export holds the lookup's address.
  auto* descriptor = static_cast<void**>(DataNamed(mBundle, "_PI_GetRoutineDescriptor"));
  if (descriptor) mLookup = reinterpret_cast<LookupProc>(*descriptor);
  if (!mNew || !mClose || !mLookup) {
    CFBundleUnloadExecutable(mBundle);
    CFRelease(mBundle);
    throw CommandError(folder + ": the bundle lacks the plug-in's entry points");
  }
}

PlugInBundle::~PlugInBundle() {
  Close();
  if (mBundle) CFRelease(mBundle);
}

int16_t PlugInBundle::Open() {
  const int16_t result = mNew(mBundle);
  // The plug-in keeps what it made even when it failed; close it all the same.
  mOpen = true;
  return result;
}

void PlugInBundle::Close() {
  if (mOpen) {
    mClose();
    mOpen = false;
  }
  if (mBundle && CFBundleIsExecutableLoaded(mBundle)) CFBundleUnloadExecutable(mBundle);
}

int32_t PlugInBundle::LookUp(uint32_t selector, void** routine) const { return mLookup(selector, routine); }

void* PlugInBundle::Routine(uint32_t selector) const {
  void* routine = nullptr;
  const int32_t result = mLookup(selector, &routine);
  if (result != 0 || !routine) {
    throw CommandError("the plug-in has no entry for selector " + std::to_string(selector) + " (" +
                       std::to_string(result) + ")");
  }
  return routine;
}
