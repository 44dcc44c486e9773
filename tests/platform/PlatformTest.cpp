#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/corefoundation/Bundle.h"
#include "platform/foundation/SearchPaths.h"
#include "platform/posix/Directory.h"

namespace {

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : mName(name) {
    const char* old = std::getenv(name);
    mHad = old != nullptr;
    if (old) mOld = old;
    if (value) setenv(name, value, 1); else unsetenv(name);
  }
  ~ScopedEnv() {
    if (mHad) setenv(mName.c_str(), mOld.c_str(), 1); else unsetenv(mName.c_str());
  }

 private:
  std::string mName, mOld;
  bool mHad = false;
};

std::string MakeTempDir() {
  char pattern[] = "/tmp/brimlow-platform-XXXXXX";
  return mkdtemp(pattern);
}

}  // namespace

TEST(Platform, ApplicationSupportIsTheXdgDataHomeAndExists) {
  const std::string base = MakeTempDir();
  const std::string data = base + "/data/";
  ScopedEnv dataHome("XDG_DATA_HOME", data.c_str());
  EXPECT_EQ(platform::ApplicationSupportFolder(), base + "/data");
  ScopedEnv relative("XDG_DATA_HOME", "relative/path");  // ignored by the XDG rules
  ScopedEnv home("HOME", base.c_str());
  EXPECT_EQ(platform::ApplicationSupportFolder(), base + "/.local/share");
  struct stat info;
  EXPECT_EQ(stat((base + "/.local/share").c_str(), &info), 0);  // made on a fresh account
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  rmdir((base + "/.local/share").c_str());
  rmdir((base + "/.local").c_str());
  rmdir((base + "/data").c_str());
  rmdir(base.c_str());
}

TEST(Platform, BundleFolderHoldsThisProgram) {
  const std::string folder = platform::BundleFolder("com.kestrelbay.rtas.Brimlow");
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  ASSERT_GT(n, 0);
  self[n] = 0;
  EXPECT_EQ(std::string(self).rfind(folder, 0), 0u);
}

TEST(Platform, CreateDirectoryHonoursTheUmask) {
  const std::string base = MakeTempDir();
  const std::string folder = base + "/Brimlow";
  const mode_t old = umask(022);
  EXPECT_TRUE(platform::CreateDirectoryIfMissing(folder.c_str()));
  EXPECT_EQ(umask(old), 022);  // the process umask is never changed
  struct stat info;
  ASSERT_EQ(stat(folder.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0755);
  EXPECT_TRUE(platform::CreateDirectoryIfMissing(folder.c_str()));  // already there
  rmdir(folder.c_str());
  rmdir(base.c_str());
}
