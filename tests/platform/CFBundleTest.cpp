#include "platform/corefoundation/CFBundle.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/carboncore/Resources.h"
#include "platform/corefoundation/Bundle.h"
#include "platform/corefoundation/CFBundleStandIn.h"
#include "platform/protools/HostFrameworks.h"
#include "tests/ScratchFolder.h"

namespace {

constexpr const char* kThingID = "com.kestrelbay.test.Thing";

std::string PathOf(CFURLRef url) {
  unsigned char buffer[4096] = {};
  CFURLGetFileSystemRepresentation(url, true, buffer, sizeof buffer);
  CFRelease(url);
  return reinterpret_cast<char*>(buffer);
}

CFStringRef Text(const char* text) { return CFStringMakeConstantString(text); }

// Lays out <folder>/<name>/Contents with an Info.plist and, when given,
// the executable as a link to an existing shared object.
std::string MakeBundle(const std::string& folder, const std::string& name, const char* identifier,
                       const char* executable, const std::string& code) {
  namespace fs = std::filesystem;
  const std::string contents = folder + "/" + name + "/Contents";
  fs::create_directories(contents + "/MacOS");
  std::ofstream plist(contents + "/Info.plist");
  plist << "<?xml version=\"1.0\"?>\n<plist version=\"1.0\"><dict>";
  if (identifier) plist << "<key>CFBundleIdentifier</key><string>" << identifier << "</string>";
  if (executable) plist << "<key>CFBundleExecutable</key><string>" << executable << "</string>";
  plist << "<key>Number</key><integer>3</integer></dict></plist>\n";
  if (executable && !code.empty()) fs::create_symlink(code, contents + "/MacOS/" + executable);
  return folder + "/" + name;
}

CFBundleRef Create(const std::string& path) {
  CFStringRef text = CFStringCreateWithCString(nullptr, path.c_str(), kCFStringEncodingUTF8);
  CFURLRef url = CFURLCreateWithFileSystemPath(nullptr, text, kCFURLPOSIXPathStyle, true);
  CFBundleRef bundle = CFBundleCreate(nullptr, url);
  CFRelease(url);
  CFRelease(text);
  return bundle;
}

std::string SomeCode() { return platform::StandInFrameworksFolder() + "/DSPManager.framework/Contents/MacOS/DSPManager"; }

}  // namespace

TEST(CFBundle, AFolderBundleIsKnownByItsIdentifierWhileItLives) {
  ScratchFolder scratch;
  const std::string path = MakeBundle(scratch.Path(), "Thing.bundle", kThingID, "Thing", SomeCode());
  CFBundleRef bundle = Create(path);
  ASSERT_NE(bundle, nullptr);
  EXPECT_EQ(CFBundleGetBundleWithIdentifier(Text(kThingID)), bundle);
  EXPECT_EQ(CFStringCompare(CFBundleGetIdentifier(bundle), Text(kThingID), 0), kCFCompareEqualTo);
  EXPECT_EQ(PathOf(CFBundleCopyBundleURL(bundle)), path);
  EXPECT_EQ(PathOf(CFBundleCopyResourcesDirectoryURL(bundle)), path + "/Contents/Resources");
  EXPECT_EQ(platform::BundleFolder(kThingID), scratch.Path() + "/");
  // The same folder gives the same bundle, once more retained.
  CFBundleRef again = Create(path);
  EXPECT_EQ(again, bundle);
  EXPECT_EQ(CFGetRetainCount(bundle), 2);
  CFRelease(again);
  EXPECT_FALSE(CFBundleIsExecutableLoaded(bundle));
  EXPECT_NE(CFBundleGetFunctionPointerForName(bundle, Text("GetDSPManager")), nullptr);  // loads on demand
  EXPECT_TRUE(CFBundleIsExecutableLoaded(bundle));
  EXPECT_EQ(CFBundleGetFunctionPointerForName(bundle, Text("NoSuchFunction")), nullptr);
  CFBundleUnloadExecutable(bundle);
  EXPECT_FALSE(CFBundleIsExecutableLoaded(bundle));
  CFRelease(bundle);
  EXPECT_EQ(CFBundleGetBundleWithIdentifier(Text(kThingID)), nullptr);
  EXPECT_EQ(Create(scratch.PathOf("Missing.bundle")), nullptr);
}

TEST(CFBundle, CodeThatIsMissingOrUnnamedDoesNotLoad) {
  ScratchFolder scratch;
  CFBundleRef noCode = Create(MakeBundle(scratch.Path(), "A.bundle", "com.kestrelbay.test.A", "A", ""));
  CFBundleRef noPlist = Create(MakeBundle(scratch.Path(), "B.bundle", nullptr, nullptr, ""));
  CFBundleRef escaping = Create(MakeBundle(scratch.Path(), "C.bundle", "com.kestrelbay.test.C", "../C", ""));
  for (CFBundleRef bundle : {noCode, noPlist, escaping}) {
    ASSERT_NE(bundle, nullptr);
    EXPECT_FALSE(CFBundleLoadExecutable(bundle));
    EXPECT_EQ(CFBundleGetFunctionPointerForName(bundle, Text("GetDSPManager")), nullptr);
  }
  EXPECT_EQ(CFBundleGetIdentifier(noPlist), nullptr);
  for (CFBundleRef bundle : {noCode, noPlist, escaping}) CFRelease(bundle);
}

TEST(CFBundle, AnExecutableCanHideNamesAsAnOlderBuildWould) {
  CFBundleRef manager = platform::OpenHostFramework(platform::StandInFrameworksFolder() + "/DSPManager.framework");
  ASSERT_NE(manager, nullptr);
  const SDSPManagerControl* control = platform::DSPManagerControlOf(manager);
  ASSERT_NE(control, nullptr);
  control->mCommon.HideName("GetDSPManager");
  EXPECT_EQ(CFBundleGetFunctionPointerForName(manager, Text("GetDSPManager")), nullptr);
  control->mCommon.Reset();
  EXPECT_NE(CFBundleGetFunctionPointerForName(manager, Text("GetDSPManager")), nullptr);
  CFRelease(manager);
}

TEST(CFBundle, SymbolBundlesAnswerFromTheirTableAndCanFailToLoad) {
  static int data = 5;
  const platform::BundleSymbol symbols[] = {{"Data", &data}, {"Other", nullptr}};
  CFBundleRef bundle = platform::CreateSymbolBundle("com.kestrelbay.test.Symbols", symbols, 2);
  EXPECT_EQ(CFBundleGetBundleWithIdentifier(Text("com.kestrelbay.test.Symbols")), bundle);
  EXPECT_EQ(CFBundleGetDataPointerForName(bundle, Text("Data")), &data);
  EXPECT_EQ(CFBundleCopyBundleURL(bundle), nullptr);  // it lives nowhere on disk
  CFBundleUnloadExecutable(bundle);
  platform::SetBundleLoadFails(bundle, true);
  EXPECT_FALSE(CFBundleLoadExecutable(bundle));
  EXPECT_EQ(CFBundleGetDataPointerForName(bundle, Text("Data")), nullptr);
  CFRelease(bundle);
}

TEST(CFBundle, TheMainBundleIsTheProgramOrTheFolderAroundIt) {
  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  ASSERT_GT(n, 0);
  self[n] = 0;
  EXPECT_EQ(PathOf(CFBundleCopyBundleURL(CFBundleGetMainBundle())), self);

  ScratchFolder scratch;
  const std::string app = MakeBundle(scratch.Path(), "Host.app", "com.kestrelbay.test.Host", "Host", "");
  platform::SetMainBundleExecutablePath((app + "/Contents/MacOS/Host").c_str());
  EXPECT_EQ(PathOf(CFBundleCopyBundleURL(CFBundleGetMainBundle())), app);
  EXPECT_EQ(CFBundleGetBundleWithIdentifier(Text("com.kestrelbay.test.Host")), CFBundleGetMainBundle());
  EXPECT_EQ(platform::BundleFolder("com.kestrelbay.unknown"), scratch.Path() + "/");
  platform::SetMainBundleExecutablePath(nullptr);
  EXPECT_EQ(PathOf(CFBundleCopyBundleURL(CFBundleGetMainBundle())), self);
}

TEST(CFBundle, TheResourceMapIsTheExecutablesFolderUnderResources) {
  ScratchFolder scratch;
  const std::string path = MakeBundle(scratch.Path(), "Thing.bundle", kThingID, "Thing", "");
  const std::string strings = path + "/Contents/Resources/Thing.rsrc/STR#";
  std::filesystem::create_directories(strings);
  std::ofstream(strings + "/128", std::ios::binary).write("\0\1\2Hi", 5);
  CFBundleRef bundle = Create(path);
  const short before = CurResFile();
  const short map = CFBundleOpenBundleResourceMap(bundle);
  EXPECT_GT(map, 0);
  EXPECT_EQ(CurResFile(), map);
  Str255 text;
  GetIndString(text, 128, 1);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(text + 1), text[0]), "Hi");
  CFBundleCloseBundleResourceMap(bundle, map);
  EXPECT_EQ(CurResFile(), before);
  // Without a map folder the map is empty but real.
  CFBundleRef symbols = platform::CreateSymbolBundle("com.kestrelbay.test.Empty", nullptr, 0);
  const short empty = CFBundleOpenBundleResourceMap(symbols);
  EXPECT_GT(empty, 0);
  EXPECT_EQ(Count1Resources(0x53545223), 0);
  CFBundleCloseBundleResourceMap(symbols, empty);
  EXPECT_EQ(CFBundleOpenBundleResourceMap(nullptr), -1);
  CFRelease(symbols);
  CFRelease(bundle);
}
