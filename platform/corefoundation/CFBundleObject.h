#pragma once

#include <map>
#include <string>

#include "platform/corefoundation/CFBundle.h"
#include "platform/corefoundation/CFBundleStandIn.h"
#include "platform/corefoundation/CFObject.h"

// Private to platform/corefoundation. Every field is guarded by
// platform::BundleMutex().
struct CFBundleObject : platform::CFObject {
  enum class Kind { kFolder, kMain, kSymbols };

  explicit CFBundleObject(Kind kind) : CFObject(platform::kCFBundleTypeID), mKind(kind) {}
  ~CFBundleObject() override;
  // The last release takes the bundle out of the lookup under the same
  // lock, so a lookup never hands out a bundle that is being destroyed.
  void Release() override;

  void SetIdentifier(const std::string& identifier);
  // Reads Contents/Info.plist of a folder bundle (or of a main bundle that
  // is a folder): identifier, executable and resource map.
  void ReadFolder();
  bool Load();
  void Unload();
  void* Lookup(const std::string& name);

  const Kind mKind;
  std::string mPath;  // the bundle's folder, or the main program's executable
  bool mIsFolder = false;
  std::string mIdentifier;
  CFStringRef mIdentifierString = nullptr;
  std::string mExecutablePath;
  std::string mResourceFolder;
  std::map<std::string, void*> mSymbols;
  bool mLoadFails = false;
  bool mLoaded = false;
  void* mLibrary = nullptr;
  platform::BundleHidesSymbolProc mHides = nullptr;
};
