#include "platform/foundation/NSBundle.h"

#include <sys/stat.h>

#include <map>

#include "platform/corefoundation/CFBundle.h"

namespace {

std::string PathOf(CFURLRef url) {
  unsigned char path[4096];
  if (!url || !CFURLGetFileSystemRepresentation(url, true, path, sizeof path)) return {};
  return reinterpret_cast<const char*>(path);
}

NSBundle* Wrap(CFBundleRef bundle);

}  // namespace

NSBundle::NSBundle(std::string path, std::string executable, std::string resources)
    : mPath(std::move(path)), mExecutable(std::move(executable)), mResources(std::move(resources)) {}

NSBundle* NSBundle::ForRef(const void* ref, const std::string& path, const std::string& executable,
                           const std::string& resources) {
  // One object per bundle, kept for the process as the Mac keeps them. A
  // released bundle's address may come back for another, so the object
  // takes the paths of the bundle it stands for at each lookup.
  static auto* bundles = new std::map<const void*, NSBundle*>;
  NSBundle*& bundle = (*bundles)[ref];
  if (!bundle) bundle = new NSBundle(path, executable, resources);
  bundle->mPath = path;
  bundle->mExecutable = executable;
  bundle->mResources = resources;
  return bundle;
}

NSBundle* NSBundle::bundleWithIdentifier(const std::string& identifier) {
  CFStringRef id = CFStringCreateWithCString(nullptr, identifier.c_str(), kCFStringEncodingUTF8);
  CFBundleRef bundle = id ? CFBundleGetBundleWithIdentifier(id) : nullptr;
  platform::ReleaseIfAny(id);
  return bundle ? Wrap(bundle) : nullptr;
}

NSBundle* NSBundle::mainBundle() { return Wrap(CFBundleGetMainBundle()); }

std::string NSBundle::pathForResource(const std::string& name, const std::string& type) const {
  if (name.empty() || mResources.empty()) return {};
  std::string path = mResources;
  if (path.back() != '/') path += '/';
  path += type.empty() ? name : name + "." + type;
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
  return path;
}

namespace {

NSBundle* Wrap(CFBundleRef bundle) {
  if (!bundle) return nullptr;
  CFURLRef url = CFBundleCopyBundleURL(bundle);
  CFURLRef resources = CFBundleCopyResourcesDirectoryURL(bundle);
  CFURLRef executable = CFBundleCopyExecutableURL(bundle);
  const std::string path = PathOf(url);
  const std::string resourcePath = PathOf(resources);
  const std::string executablePath = PathOf(executable);
  platform::ReleaseIfAny(executable);
  platform::ReleaseIfAny(resources);
  platform::ReleaseIfAny(url);
  return NSBundle::ForRef(bundle, path, executablePath, resourcePath);
}

}  // namespace
