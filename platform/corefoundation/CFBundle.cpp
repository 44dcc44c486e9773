#include "platform/corefoundation/CFBundle.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <new>

#include "platform/carboncore/Resources.h"
#include "platform/corefoundation/BundleRegistry.h"
#include "platform/corefoundation/CFBundleObject.h"
#include "platform/corefoundation/CFBundleStandIn.h"
#include "platform/corefoundation/CFStringObject.h"
#include "platform/corefoundation/CFURLObject.h"

namespace platform {

namespace {

CFBundleObject* BundleOf(CFBundleRef ref) { return CFObjectOf<CFBundleObject>(ref, kCFBundleTypeID); }

}  // namespace

CFBundleRef CreateSymbolBundle(const char* identifier, const BundleSymbol* symbols, size_t count) {
  CFBundleObject* bundle = new (std::nothrow) CFBundleObject(CFBundleObject::Kind::kSymbols);
  if (!bundle) return nullptr;
  std::lock_guard<std::recursive_mutex> lock(BundleMutex());
  bundle->SetIdentifier(identifier ? identifier : "");
  for (size_t i = 0; i < count; ++i) {
    if (symbols[i].name) bundle->mSymbols[symbols[i].name] = symbols[i].address;
  }
  RegisterBundle(bundle);
  return bundle;
}

void SetBundleLoadFails(CFBundleRef ref, bool fails) {
  std::lock_guard<std::recursive_mutex> lock(BundleMutex());
  if (CFBundleObject* bundle = BundleOf(ref)) bundle->mLoadFails = fails;
}

void SetBundleResourceFolder(CFBundleRef ref, const char* folder) {
  std::lock_guard<std::recursive_mutex> lock(BundleMutex());
  if (CFBundleObject* bundle = BundleOf(ref)) bundle->mResourceFolder = folder ? folder : "";
}

void SetMainBundleExecutablePath(const char* path) { SetMainBundlePath(path ? path : ""); }

bool KeepBundleCodeLoaded(CFBundleRef ref) {
  std::lock_guard<std::recursive_mutex> lock(BundleMutex());
  CFBundleObject* bundle = BundleOf(ref);
  if (!bundle || !bundle->Load()) return false;
  // One more reference of the loader's own, never given back.
  return bundle->mKind != CFBundleObject::Kind::kFolder ||
         dlopen(bundle->mExecutablePath.c_str(), RTLD_NOW | RTLD_LOCAL) != nullptr;
}

}  // namespace platform

using platform::BundleMutex;
using platform::BundleOf;

extern "C" {

CFBundleRef CFBundleCreate(CFAllocatorRef, CFURLRef bundleURL) {
  const std::string& path = platform::PathOf(bundleURL);
  struct stat info;
  if (path.empty() || stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return nullptr;
  std::lock_guard<std::recursive_mutex> lock(BundleMutex());
  if (CFBundleObject* live = platform::FindBundleByPath(path)) {
    live->Retain();
    return live;
  }
  CFBundleObject* bundle = new (std::nothrow) CFBundleObject(CFBundleObject::Kind::kFolder);
  if (!bundle) return nullptr;
  bundle->mPath = path;
  bundle->mIsFolder = true;
  bundle->ReadFolder();
  platform::RegisterBundle(bundle);
  return bundle;
}

CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef bundleID) {
  return bundleID ? platform::FindBundleByIdentifier(platform::TextOf(bundleID)) : nullptr;
}

CFBundleRef CFBundleGetMainBundle(void) { return platform::MainBundle(); }

CFStringRef CFBundleGetIdentifier(CFBundleRef ref) {
  std::lock_guard<std::recursive_mutex> lock(BundleMutex());
  const CFBundleObject* bundle = BundleOf(ref);
  return bundle ? bundle->mIdentifierString : nullptr;
}

CFURLRef CFBundleCopyBundleURL(CFBundleRef ref) {
  std::lock_guard<std::recursive_mutex> lock(BundleMutex());
  const CFBundleObject* bundle = BundleOf(ref);
  // A symbol bundle lives nowhere on disk.
  if (!bundle || bundle->mPath.empty()) return nullptr;
  return platform::NewURL(bundle->mPath, bundle->mIsFolder);
}

CFURLRef CFBundleCopyResourcesDirectoryURL(CFBundleRef ref) {
  std::lock_guard<std::recursive_mutex> lock(BundleMutex());
  const CFBundleObject* bundle = BundleOf(ref);
  if (!bundle || !bundle->mIsFolder) return nullptr;
  return platform::NewURL(bundle->mPath + "/Contents/Resources", true);
}

CFURLRef CFBundleCopyExecutableURL(CFBundleRef ref) {
  std::lock_guard<std::recursive_mutex> lock(BundleMutex());
  const CFBundleObject* bundle = BundleOf(ref);
  if (!bundle || bundle->mExecutablePath.empty()) return nullptr;
  return platform::NewURL(bundle->mExecutablePath, false);
}

Boolean CFBundleLoadExecutable(CFBundleRef ref) {
  std::lock_guard<std::recursive_mutex> lock(BundleMutex());
  CFBundleObject* bundle = BundleOf(ref);
  return bundle && bundle->Load();
}

Boolean CFBundleIsExecutableLoaded(CFBundleRef ref) {
  std::lock_guard<std::recursive_mutex> lock(BundleMutex());
  const CFBundleObject* bundle = BundleOf(ref);
  return bundle && bundle->mLoaded;
}

void CFBundleUnloadExecutable(CFBundleRef ref) {
  std::lock_guard<std::recursive_mutex> lock(BundleMutex());
  if (CFBundleObject* bundle = BundleOf(ref)) bundle->Unload();
}

void* CFBundleGetFunctionPointerForName(CFBundleRef ref, CFStringRef functionName) {
  std::lock_guard<std::recursive_mutex> lock(BundleMutex());
  CFBundleObject* bundle = BundleOf(ref);
  return bundle && functionName ? bundle->Lookup(platform::TextOf(functionName)) : nullptr;
}

void* CFBundleGetDataPointerForName(CFBundleRef ref, CFStringRef symbolName) {
  return CFBundleGetFunctionPointerForName(ref, symbolName);
}

short CFBundleOpenBundleResourceMap(CFBundleRef ref) {
  std::string folder;
  {
    std::lock_guard<std::recursive_mutex> lock(BundleMutex());
    const CFBundleObject* bundle = BundleOf(ref);
    if (!bundle) return -1;
    folder = bundle->mResourceFolder;
  }
  // No folder (a symbol bundle without one) reads as an empty map.
  const short refNum = platform::OpenResourceFolder(folder.c_str());
  return refNum > 0 ? refNum : -1;
}

void CFBundleCloseBundleResourceMap(CFBundleRef ref, short refNum) {
  if (BundleOf(ref)) CloseResFile(refNum);
}

}  // extern "C"
