#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "lice/LICE_IBitmap.h"
#include "platform/corefoundation/CFBundle.h"
#include "tests/ScratchFolder.h"
#include "tests/graphics/mac/MacWindowFixture.h"
#include "tests/lice/PNGTestFiles.h"

namespace {

constexpr const char* kPluginID = "com.kestrelbay.test.EditorImages";

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : mName(name) {
    if (const char* old = std::getenv(name)) mOld = old, mHad = true;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (mHad) setenv(mName.c_str(), mOld.c_str(), 1);
    else unsetenv(mName.c_str());
  }

 private:
  std::string mName, mOld;
  bool mHad = false;
};

// A plug-in bundle with images: background.png (3 x 2), png.png (1 x 1).
class MacResources : public MacWindowFixture {
 protected:
  void SetUp() override {
    namespace fs = std::filesystem;
    ASSERT_TRUE(scratch.Ok());
    mBundlePath = scratch.Path() + "/Editor.bundle";
    const std::string contents = mBundlePath + "/Contents";
    fs::create_directories(contents + "/Resources");
    fs::create_directories(contents + "/MacOS");
    std::ofstream(contents + "/Info.plist")
        << "<?xml version=\"1.0\"?>\n<plist version=\"1.0\"><dict><key>CFBundleIdentifier</key><string>" << kPluginID
        << "</string><key>CFBundleExecutable</key><string>Editor</string></dict></plist>\n";
    std::ofstream(contents + "/MacOS/Editor") << "";
    WritePng(contents + "/Resources/background.png", 3, 2);
    WritePng(contents + "/Resources/png.png", 1, 1);
    CFStringRef path = CFStringCreateWithCString(nullptr, mBundlePath.c_str(), kCFStringEncodingUTF8);
    CFURLRef url = CFURLCreateWithFileSystemPath(nullptr, path, kCFURLPOSIXPathStyle, true);
    bundle = CFBundleCreate(nullptr, url);
    CFRelease(url);
    CFRelease(path);
    ASSERT_NE(bundle, nullptr);
    graphics->mBundleID.Set(kPluginID);
  }
  void TearDown() override { CFRelease(bundle); }

  static void WritePng(const std::string& path, int width, int height) {
    LiceTest::PNGDescription png;
    png.width = width;
    png.height = height;
    png.samples.assign(static_cast<size_t>(width) * height * 3, 128);
    ASSERT_TRUE(LiceTest::WritePNG(path, png));
  }

  ScratchFolder scratch;
  std::string mBundlePath;
  CFBundleRef bundle = nullptr;
};

struct ResourceCase {
  const char* name;
  int width;  // 0: no bitmap
};

class MacResourceNames : public MacResources, public ::testing::WithParamInterface<ResourceCase> {};

TEST_P(MacResourceNames, AreTheLastComponentWithoutItsExtensionAndMustBePNG) {
  const ResourceCase c = GetParam();
  std::unique_ptr<LICE_IBitmap> bitmap(graphics->LoadResourceBitmap(0, c.name));
  if (c.width == 0) {
    EXPECT_EQ(bitmap, nullptr);
  } else {
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->getWidth(), c.width);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, MacResourceNames,
    ::testing::Values(ResourceCase{"resources/img/background.png", 3}, ResourceCase{"background.png", 3},
                      ResourceCase{"a/b/background.PNG", 3}, ResourceCase{"png", 1}, ResourceCase{"image.png.bak", 0},
                      ResourceCase{"background", 0}, ResourceCase{"missing.png", 0}, ResourceCase{"", 0},
                      ResourceCase{"background.jpg", 0}));

TEST_F(MacResources, NoFileNameOrNoBundleLoadsNothing) {
  EXPECT_EQ(graphics->LoadResourceBitmap(0, nullptr), nullptr);
  graphics->mBundleID.Set("com.kestrelbay.test.Nobody");
  EXPECT_EQ(graphics->LoadResourceBitmap(0, "background.png"), nullptr);
}

TEST_F(MacResources, TheBundleGivesItsFolderAndExecutable) {
  WDL_String folder, executable;
  graphics->PluginFolderPath(&folder);
  graphics->PluginExecutablePath(&executable);
  EXPECT_EQ(std::string(folder.Get()), scratch.Path() + "/");
  EXPECT_EQ(std::string(executable.Get()), mBundlePath + "/Contents/MacOS/Editor");
}

TEST_F(MacResources, TheDesktopAndApplicationSupportAreTheUsersFolders) {
  ScopedEnv home("HOME", scratch.Path());
  ScopedEnv data("XDG_DATA_HOME", scratch.Path() + "/data");
  WDL_String desktop, support;
  graphics->DesktopPath(&desktop);
  graphics->AppSupportPath(&support);
  EXPECT_EQ(std::string(desktop.Get()), scratch.Path() + "/Desktop");
  EXPECT_EQ(std::string(support.Get()), scratch.Path() + "/data");
  WDL_String same;
  graphics->GetAppSupportPath(&same);
  EXPECT_STREQ(same.Get(), support.Get());
}

TEST_F(MacResources, ADataFolderIsMadeUnderTheUmaskAndTheUmaskIsLeftAlone) {
  const mode_t old = umask(022);
  const WDL_String path((scratch.Path() + "/Brimlow").c_str());
  IGraphicsMac::CreateDirectoryIfMissing(&path);
  const mode_t now = umask(old);
  EXPECT_EQ(now, 022u);
  struct stat info;
  ASSERT_EQ(stat(path.Get(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  // Never writable by others.
  EXPECT_EQ(info.st_mode & 0777, 0755u);
  // An existing folder is left as it is.
  chmod(path.Get(), 0700);
  IGraphicsMac::CreateDirectoryIfMissing(&path);
  ASSERT_EQ(stat(path.Get(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
}

}  // namespace
