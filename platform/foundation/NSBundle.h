#pragma once

#include <string>

#include "platform/foundation/NSObject.h"

// Stand-in for NSBundle over the Core Foundation bundles: a bundle by
// identifier, its folder and executable, and the path of a resource file in
// its Contents/Resources folder. Bundle objects live as long as the process.
class NSBundle : public NSObject {
 public:
  // Null when no live bundle has the identifier.
  static NSBundle* bundleWithIdentifier(const std::string& identifier);
  static NSBundle* mainBundle();

  std::string bundlePath() const { return mPath; }
  // "" when the bundle names no executable.
  std::string executablePath() const { return mExecutable; }
  // <Resources>/<name>.<type> when that file exists, else "" (nil). An
  // empty type takes the name as the whole file name.
  std::string pathForResource(const std::string& name, const std::string& type) const;

 // The one object for a Core Foundation bundle; for the stand-in's own use.
  static NSBundle* ForRef(const void* ref, const std::string& path, const std::string& executable,
                          const std::string& resources);

 private:
  NSBundle(std::string path, std::string executable, std::string resources);

  std::string mPath;
  std::string mExecutable;
  std::string mResources;
};
