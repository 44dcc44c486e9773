#include "rtas/library/HostFrameworkLoaders.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/corefoundation/CFBundleStandIn.h"
#include "platform/protools/HostFrameworkIds.h"
#include "rtas/library/HostFrameworkAccess.h"
#include "rtas/library/PascalText.h"
#include "rtas/library/UDigiLibAccess.h"
#include "tests/ScratchFolder.h"
#include "tests/rtas/library/StandInFrameworks.h"

namespace {

std::string Text(const char* text) { return text; }

std::string PathOf(CFBundleRef bundle) {
  CFURLRef url = CFBundleCopyBundleURL(bundle);
  unsigned char path[4096] = {};
  CFURLGetFileSystemRepresentation(url, true, path, sizeof path);
  CFRelease(url);
  return reinterpret_cast<char*>(path);
}

// A host application in a scratch folder, with the DAE stand-in beside it
// (under the name the folder search uses) but not known by identifier.
class HostBesideFrameworks : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mScratch.Ok());
    std::filesystem::create_directory_symlink(StandInFrameworks::FrameworkPath("DAE"), mScratch.PathOf("DAE.framework"));
    mHost = mScratch.Write("Host", {});
    platform::SetMainBundleExecutablePath(mHost.c_str());
  }
  void TearDown() override { platform::SetMainBundleExecutablePath(nullptr); }

  ScratchFolder mScratch;
  std::string mHost;
  StandInFrameworks mFrameworks{0};
};

}  // namespace

TEST(HostFrameworkLoaders, IdentifiersEndAsTheLibraryExpects) {
  EXPECT_EQ(pascaltext::ToString(DAEFrameworkIdentifier()), Text(BRIMLOW_HOST_FRAMEWORK_PREFIX ".framework.DAE"));
  EXPECT_EQ(pascaltext::ToString(DSIFrameworkIdentifier()), Text(BRIMLOW_HOST_FRAMEWORK_PREFIX ".framework.DSI"));
  EXPECT_EQ(pascaltext::ToString(DSPManagerFrameworkIdentifier()),
            Text(BRIMLOW_HOST_FRAMEWORK_PREFIX ".framework.DSPManager"));
  EXPECT_TRUE(IsDAEIdentifier(DAEFrameworkIdentifier()));
  EXPECT_FALSE(IsDAEIdentifier(DSIFrameworkIdentifier()));
  Str255 shouted;
  pascaltext::FromString(BRIMLOW_HOST_FRAMEWORK_PREFIX ".framework.dae", shouted);
  EXPECT_FALSE(IsDAEIdentifier(shouted));  // case counts
  EXPECT_TRUE(IsStreamManagerIdentifier(StreamManagerFrameworkIdentifier()));
}

// Missing names or folders make no text or address to release: each
// loader answers its code instead of releasing a null reference, which
// ends the program on the Mac (and here).
TEST(HostFrameworkLoaders, MissingNamesAndFoldersAnswerACode) {
  Str255 name, folder;
  pascaltext::FromString("DAE.framework", name);
  pascaltext::FromString("/nowhere/", folder);
  CFBundleRef bundle = nullptr;
  EXPECT_EQ(LoadBundleByIdentifier(nullptr, &bundle), -9065);
  EXPECT_EQ(LoadBundleInFolder(nullptr, name, &bundle), -9064);
  EXPECT_EQ(LoadBundleAtPath(folder, nullptr, &bundle), -9064);
  EXPECT_EQ(bundle, nullptr);
  EXPECT_FALSE(IsDAEIdentifier(nullptr));
  EXPECT_FALSE(IsStreamManagerIdentifier(nullptr));
}

TEST(HostFrameworkLoaders, ByIdentifierRetainsAndLoadsAKnownBundle) {
  StandInFrameworks frameworks(StandInFrameworks::kDAE);
  const CFIndex before = CFGetRetainCount(frameworks.DAEBundle());
  CFBundleRef bundle = nullptr;
  EXPECT_EQ(LoadBundleByIdentifier(DAEFrameworkIdentifier(), &bundle), 0);
  EXPECT_EQ(bundle, frameworks.DAEBundle());
  EXPECT_EQ(CFGetRetainCount(bundle), before + 1);
  EXPECT_TRUE(CFBundleIsExecutableLoaded(bundle));
  CFBundleRef again = bundle;
  EXPECT_EQ(LoadBundleByIdentifier(DSIFrameworkIdentifier(), &again), 0);  // already set: nothing is done
  EXPECT_EQ(again, bundle);
  CFRelease(bundle);

  CFBundleRef unknown = nullptr;
  EXPECT_EQ(LoadBundleByIdentifier(DSIFrameworkIdentifier(), &unknown), -9065);
  EXPECT_EQ(unknown, nullptr);
}

TEST(HostFrameworkLoaders, CodeThatDoesNotLoadGivesTheBundleBack) {
  CFBundleRef broken = platform::CreateSymbolBundle(hostframeworks::kDSIIdentifier, nullptr, 0);
  platform::SetBundleLoadFails(broken, true);
  CFBundleRef bundle = nullptr;
  EXPECT_EQ(LoadBundleByIdentifier(DSIFrameworkIdentifier(), &bundle), -9065);
  EXPECT_EQ(bundle, nullptr);
  EXPECT_EQ(CFGetRetainCount(broken), 1);
  CFRelease(broken);
}

TEST_F(HostBesideFrameworks, AMissingPathIsMinus9064AndLeavesTheBundleAlone) {
  Str255 folder, name;
  pascaltext::FromString(mScratch.Path(), folder);
  pascaltext::FromString("DSI.framework", name);
  CFBundleRef bundle = reinterpret_cast<CFBundleRef>(0x1);  // untouched on -9064
  EXPECT_EQ(LoadBundleAtPath(folder, name, &bundle), -9064);
  EXPECT_EQ(bundle, reinterpret_cast<CFBundleRef>(0x1));
  // A path that exists but is no bundle with loadable code.
  pascaltext::FromString("Host", name);
  bundle = nullptr;
  EXPECT_EQ(LoadBundleAtPath(folder, name, &bundle), -9065);
  EXPECT_EQ(bundle, nullptr);
}

TEST_F(HostBesideFrameworks, TheDAEIsFoundBesideTheHostWhenNotKnownByIdentifier) {
  ASSERT_EQ(InitDAELibAccess(), 0);
  ASSERT_NE(DAELibAccess(), nullptr);
  EXPECT_EQ(PathOf(DAELibAccess()->Bundle()), mScratch.PathOf("DAE.framework"));
  ReleaseDAELibAccess();
  // The DSI and the DSP manager are never searched for on disk.
  std::filesystem::create_directory_symlink(StandInFrameworks::FrameworkPath("DSI"), mScratch.PathOf("DSI.framework"));
  EXPECT_EQ(InitDSILibAccess(), -9065);
  EXPECT_EQ(DSILibAccess(), nullptr);
}

TEST_F(HostBesideFrameworks, NeitherBesideTheHostNorInLibraryFrameworksIsMinus9064) {
  platform::SetMainBundleExecutablePath("/nonexistent-host-folder/Host");
  EXPECT_EQ(InitDAELibAccess(), -9064);  // the status of the second attempt
  EXPECT_EQ(DAELibAccess(), nullptr);
}

namespace {

// No access object asks for the stream manager; this one does, to show the
// loader's own rule for it.
class StreamManagerAccess : public UDigiLibAccess {
 public:
  StreamManagerAccess() : UDigiLibAccess(1, StreamManagerFrameworkIdentifier()) {}
  int32_t GetFunctionName(int32_t index, Str255 name) const override {
    static const SFunctionName kNames[] = {{0, "GetDSPManager"}};
    return FindFunctionName(kNames, 1, index, name);
  }
};

}  // namespace

TEST_F(HostBesideFrameworks, TheStreamManagerIsLookedForOnlyByFileName) {
  CFBundleRef known = platform::CreateSymbolBundle(hostframeworks::kStreamManagerIdentifier, nullptr, 0);
  {
    StreamManagerAccess access;
    EXPECT_EQ(access.OpenLibrary(), -9064);  // known by identifier, but not looked up that way
  }
  std::filesystem::create_directory_symlink(StandInFrameworks::FrameworkPath("DSPManager"),
                                            mScratch.PathOf("DigiStreamManager.framework"));
  StreamManagerAccess access;
  EXPECT_EQ(access.OpenLibrary(), 0);
  EXPECT_EQ(PathOf(access.Bundle()), mScratch.PathOf("DigiStreamManager.framework"));
  EXPECT_NE(access.GetLibraryFunction(0), nullptr);
  CFRelease(known);
}
