#include "platform/corefoundation/CFBundleObject.h"

#include <dlfcn.h>

#include "platform/corefoundation/BundleRegistry.h"
#include "platform/corefoundation/CFStringObject.h"
#include "platform/corefoundation/InfoPlist.h"
#include "platform/posix/ElfObject.h"

CFBundleObject::~CFBundleObject() {
  Unload();
  platform::ReleaseIfAny(mIdentifierString);
}

void CFBundleObject::Release() {
  std::lock_guard<std::recursive_mutex> lock(platform::BundleMutex());
  if (!DropReference()) return;
  if (mKind == Kind::kMain) {
    Retain();  // an unbalanced release of the main bundle is not fatal
    return;
  }
  platform::UnregisterBundle(this);
  delete this;
}

void CFBundleObject::SetIdentifier(const std::string& identifier) {
  mIdentifier = identifier;
  platform::ReleaseIfAny(mIdentifierString);
  mIdentifierString = identifier.empty() ? nullptr : platform::NewString(identifier);
}

void CFBundleObject::ReadFolder() {
  const std::map<std::string, std::string> info = platform::ReadInfoPlist(mPath + "/Contents/Info.plist");
  auto value = [&info](const char* key) {
    auto found = info.find(key);
    return found == info.end() ? std::string() : found->second;
  };
  SetIdentifier(value("CFBundleIdentifier"));
  const std::string executable = value("CFBundleExecutable");
  // A name with a slash would reach outside Contents/MacOS/.
  const bool usable = !executable.empty() && executable.find('/') == std::string::npos;
  if (mKind == Kind::kFolder) mExecutablePath = usable ? mPath + "/Contents/MacOS/" + executable : std::string();
  // Without an executable the map is named after the bundle folder.
  std::string mapName = executable;
  if (!usable) {
    mapName = mPath.substr(mPath.rfind('/') + 1);
    mapName = mapName.substr(0, mapName.find('.'));
  }
  mResourceFolder = mPath + "/Contents/Resources/" + mapName + ".rsrc";
}

bool CFBundleObject::Load() {
  if (mLoaded) return true;
  if (mLoadFails) return false;
  if (mKind == Kind::kFolder) {
    // A cut or damaged object would fault inside the dynamic loader.
    if (mExecutablePath.empty() || !platform::IsWholeElfObject(mExecutablePath)) return false;
    mLibrary = dlopen(mExecutablePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!mLibrary) return false;
    mHides = reinterpret_cast<platform::BundleHidesSymbolProc>(dlsym(mLibrary, platform::kBundleHidesSymbolName));
  }
  mLoaded = true;
  return true;
}

void CFBundleObject::Unload() {
  if (mKind == Kind::kMain) return;  // the program's own code stays
  if (mLibrary) dlclose(mLibrary);
  mLibrary = nullptr;
  mHides = nullptr;
  mLoaded = false;
}

void* CFBundleObject::Lookup(const std::string& name) {
  if (name.empty() || !Load()) return nullptr;
  switch (mKind) {
    case Kind::kSymbols: {
      auto found = mSymbols.find(name);
      return found == mSymbols.end() ? nullptr : found->second;
    }
    case Kind::kMain:
      return dlsym(RTLD_DEFAULT, name.c_str());
    case Kind::kFolder:
      if (mHides && mHides(name.c_str())) return nullptr;
      return dlsym(mLibrary, name.c_str());
  }
  return nullptr;
}
