#include "platform/corefoundation/BundleRegistry.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "platform/corefoundation/CFBundleObject.h"

namespace platform {

namespace {

struct Registry {
  std::recursive_mutex mMutex;
  std::vector<CFBundleObject*> mBundles;
  CFBundleObject* mMain = nullptr;
};

// Never destroyed: bundles may be released by other libraries' exit code.
Registry& TheRegistry() {
  static Registry* registry = new Registry;
  return *registry;
}

std::string OwnExecutable() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return {};
  path[n] = 0;
  return path;
}

// Places the main bundle: the <X> of <X>/Contents/MacOS/<program>, or the
// program itself.
void PlaceMainBundle(CFBundleObject* main, const std::string& executable) {
  const std::string marker = "/Contents/MacOS/";
  const std::string::size_type at = executable.rfind(marker);
  const bool inFolder = at != std::string::npos && at > 0 &&
                        executable.find('/', at + marker.size()) == std::string::npos;
  main->mPath = inFolder ? executable.substr(0, at) : executable;
  main->mIsFolder = inFolder;
  main->mExecutablePath = executable;
  main->SetIdentifier("");
  main->mResourceFolder.clear();
  if (inFolder) main->ReadFolder();
}

}  // namespace

std::recursive_mutex& BundleMutex() { return TheRegistry().mMutex; }

void RegisterBundle(CFBundleObject* bundle) {
  std::lock_guard<std::recursive_mutex> lock(BundleMutex());
  TheRegistry().mBundles.push_back(bundle);
}

void UnregisterBundle(CFBundleObject* bundle) {
  std::lock_guard<std::recursive_mutex> lock(BundleMutex());
  auto& bundles = TheRegistry().mBundles;
  bundles.erase(std::remove(bundles.begin(), bundles.end(), bundle), bundles.end());
}

CFBundleObject* FindBundleByIdentifier(const std::string& identifier) {
  std::lock_guard<std::recursive_mutex> lock(BundleMutex());
  if (identifier.empty()) return nullptr;
  for (CFBundleObject* bundle : TheRegistry().mBundles) {
    if (bundle->mIdentifier == identifier) return bundle;
  }
  CFBundleObject* main = MainBundle();
  return main->mIdentifier == identifier ? main : nullptr;
}

CFBundleObject* FindBundleByPath(const std::string& path) {
  std::lock_guard<std::recursive_mutex> lock(BundleMutex());
  for (CFBundleObject* bundle : TheRegistry().mBundles) {
    if (bundle->mKind == CFBundleObject::Kind::kFolder && bundle->mPath == path) return bundle;
  }
  return nullptr;
}

CFBundleObject* MainBundle() {
  std::lock_guard<std::recursive_mutex> lock(BundleMutex());
  Registry& registry = TheRegistry();
  if (!registry.mMain) {
    registry.mMain = new CFBundleObject(CFBundleObject::Kind::kMain);
    registry.mMain->mLoaded = true;
    PlaceMainBundle(registry.mMain, OwnExecutable());
  }
  return registry.mMain;
}

void SetMainBundlePath(const std::string& executablePath) {
  std::lock_guard<std::recursive_mutex> lock(BundleMutex());
  PlaceMainBundle(MainBundle(), executablePath.empty() ? OwnExecutable() : executablePath);
}

}  // namespace platform
