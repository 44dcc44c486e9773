// The host (this program) and a plug-in bundle (another shared object with
// its own copy of the library) reach one copy of each framework stand-in.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "rtas/library/DAEFunctions.h"
#include "rtas/library/HostFrameworkAccess.h"
#include "tests/rtas/library/StandInFrameworks.h"

namespace {

class PlugInBundle {
 public:
  PlugInBundle() {
    CFStringRef path = CFStringCreateWithCString(nullptr, BRIMLOW_TEST_PLUGIN_BUNDLE, kCFStringEncodingUTF8);
    CFURLRef url = CFURLCreateWithFileSystemPath(nullptr, path, kCFURLPOSIXPathStyle, true);
    mBundle = CFBundleCreate(nullptr, url);
    CFRelease(url);
    CFRelease(path);
  }
  ~PlugInBundle() {
    CFBundleUnloadExecutable(mBundle);
    CFRelease(mBundle);
  }
  template <class Proc>
  Proc Function(const char* name) const {
    return reinterpret_cast<Proc>(CFBundleGetFunctionPointerForName(mBundle, CFStringMakeConstantString(name)));
  }
  bool Ok() const { return mBundle != nullptr; }

 private:
  CFBundleRef mBundle = nullptr;
};

}  // namespace

TEST(SharedFramework, APlugInBundleAndTheHostSeeOneConfiguredEngine) {
  StandInFrameworks frameworks;
  frameworks.DAE()->SetMaximumQuantum(777);

  PlugInBundle plugIn;
  ASSERT_TRUE(plugIn.Ok());
  auto start = plugIn.Function<int32_t (*)()>("TestPlugInStartEngine");
  auto hasEngine = plugIn.Function<bool (*)()>("TestPlugInHasEngine");
  auto quantum = plugIn.Function<int32_t (*)()>("TestPlugInMaximumQuantum");
  auto dispatch = plugIn.Function<int32_t (*)(const void*)>("TestPlugInDispatchToken");
  auto release = plugIn.Function<void (*)()>("TestPlugInRelease");
  ASSERT_TRUE(start && hasEngine && quantum && dispatch && release);

  EXPECT_EQ(start(), 0);
  EXPECT_TRUE(hasEngine());
  EXPECT_EQ(DAELibAccess(), nullptr);  // the plug-in's library is a copy of its own
  EXPECT_EQ(quantum(), 777);           // the host's configuration reached the plug-in
  EXPECT_EQ(frameworks.DAE()->mCommon.CountCalls("FicMain"), 1);

  // What the plug-in posts, the host sees.
  std::vector<uint8_t> token(42, 0);
  const uint32_t type = 0x53455456;  // 'SETV'
  const uint16_t length = 42;
  std::memcpy(token.data() + 4, &type, 4);
  std::memcpy(token.data() + 36, &length, 2);
  token[38] = 0x5a;
  EXPECT_EQ(dispatch(token.data()), 0);
  ASSERT_EQ(frameworks.DAE()->CountDispatchedTokens(), 1);
  std::vector<uint8_t> seen(64, 0xee);
  EXPECT_EQ(frameworks.DAE()->GetDispatchedToken(0, seen.data(), 64), 42);
  EXPECT_TRUE(std::equal(token.begin(), token.end(), seen.begin()));

  // The host's own copy of the library reaches the same engine.
  ASSERT_EQ(InitDAELibAccess(), 0);
  EXPECT_EQ(FicGetMaximumRTASQuantum(), 777);
  frameworks.DAE()->SetMaximumQuantum(64);
  EXPECT_EQ(quantum(), 64);

  // The plug-in unloads its frameworks; the host's configured copy stays.
  release();
  EXPECT_FALSE(hasEngine());
  EXPECT_EQ(FicGetMaximumRTASQuantum(), 64);
  EXPECT_EQ(frameworks.DAE()->CountDispatchedTokens(), 1);
}
