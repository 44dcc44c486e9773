#include <strings.h>

#include <string>

#include "graphics/mac/IGraphicsMac.h"
#include "lice/DeferredPNGBitmap.h"
#include "lice/lice.h"
#include "platform/corefoundation/Bundle.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/SearchPaths.h"
#include "platform/posix/Directory.h"

// Folders, the plug-in's bundle and the images in it.

namespace {

// The plug-in's bundle; a plug-in built into the host program has none of
// its own and lives in the program's.
NSBundle* PluginBundle(const WDL_String& bundleID) {
  NSBundle* bundle = NSBundle::bundleWithIdentifier(bundleID.Get());
  return bundle ? bundle : NSBundle::mainBundle();
}

void SetFirstFolder(int directory, WDL_String* path) {
  if (!path) return;
  const std::vector<std::string> folders = NSSearchPathForDirectoriesInDomains(directory, NSUserDomainMask, true);
  if (!folders.empty()) path->Set(folders.front().c_str());
}

}  // namespace

void IGraphicsMac::PluginExecutablePath(WDL_String* path) {
  if (!path) return;
  NSBundle* bundle = PluginBundle(mBundleID);
  const std::string executable = bundle ? bundle->executablePath() : std::string();
  if (!executable.empty()) path->Set(executable.c_str());
}

void IGraphicsMac::PluginFolderPath(WDL_String* path) {
  if (!path) return;
  const std::string folder = platform::BundleFolder(mBundleID.Get());
  if (!folder.empty()) path->Set(folder.c_str());
}

void IGraphicsMac::DesktopPath(WDL_String* path) { SetFirstFolder(NSDesktopDirectory, path); }

void IGraphicsMac::AppSupportPath(WDL_String* path) { SetFirstFolder(NSApplicationSupportDirectory, path); }

void IGraphicsMac::CreateDirectoryIfMissing(const WDL_String* path) {
  if (path) platform::CreateDirectoryIfMissing(path->Get());
}

LICE_IBitmap* IGraphicsMac::LoadResourceBitmap(int, const char* fileName) {
  if (!fileName) return nullptr;
  NSAutoreleasePool pool;
  const std::string name = fileName;
  const std::string::size_type dot = name.rfind('.');
  const std::string extension = dot == std::string::npos ? name : name.substr(dot + 1);
  if (strcasecmp(extension.c_str(), "png") != 0) return nullptr;

  // Resources are looked up by bare name: "resources/img/knob.png" is "knob".
  const std::string::size_type slash = name.rfind('/');
  std::string resource = slash == std::string::npos ? name : name.substr(slash + 1);
  const std::string::size_type resourceDot = resource.rfind('.');
  if (resourceDot != std::string::npos) resource.erase(resourceDot);

  // The images belong to the plug-in's own bundle, never the host's.
  NSBundle* bundle = NSBundle::bundleWithIdentifier(mBundleID.Get());
  const std::string path = bundle && !resource.empty() ? bundle->pathForResource(resource, "png") : std::string();
  if (path.empty()) return nullptr;
  // Decoded when first drawn: a host that never opens the editor never
  // pays for its artwork.
  return DeferredPNGBitmap::Open(path);
}
