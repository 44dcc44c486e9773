#include "tools/PluginBundle.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/corefoundation/CFBundle.h"
#include "platform/corefoundation/CFString.h"
#include "platform/corefoundation/CFURL.h"
#include "plugin/controller/Brimlow.h"
#include "tools/artwork/Artwork.h"

namespace {

std::string PathOf(CFURLRef url) {
  unsigned char path[4096];
  const bool ok = url && CFURLGetFileSystemRepresentation(url, true, path, sizeof path);
  CFRelease(url);
  return ok ? reinterpret_cast<const char*>(path) : "";
}

std::vector<char> Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The build's bundle, found by the plug-in's identifier once the host
// registered it: its code, and every image of the editor as a resource.
TEST(PluginBundle, TheBuildsBundleHoldsTheCodeAndEveryImage) {
  ASSERT_TRUE(RegisterPluginBundle());
  EXPECT_TRUE(RegisterPluginBundle());  // once for the process
  CFStringRef id = CFStringCreateWithCString(nullptr, Brimlow::kBundleID, kCFStringEncodingUTF8);
  CFBundleRef bundle = CFBundleGetBundleWithIdentifier(id);
  CFRelease(id);
  ASSERT_NE(bundle, nullptr);
  const std::string executable = PathOf(CFBundleCopyExecutableURL(bundle));
  EXPECT_EQ(std::filesystem::path(executable).filename(), "Brimlow");
  EXPECT_TRUE(std::filesystem::is_regular_file(executable)) << executable;

  const std::string resources = PathOf(CFBundleCopyResourcesDirectoryURL(bundle));
  for (const ArtworkImage& image : ArtworkImages()) {
    const std::vector<char> shipped = Bytes(resources + "/" + image.fileName);
    EXPECT_FALSE(shipped.empty()) << image.fileName;
    EXPECT_EQ(shipped, Bytes(std::string(BRIMLOW_IMAGE_DIR) + "/" + image.fileName)) << image.fileName;
  }
}

}  // namespace
