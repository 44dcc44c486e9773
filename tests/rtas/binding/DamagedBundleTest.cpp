// A damaged plug-in bundle is refused by the stand-in host in one line,
// however it is damaged: never a crash, never a wait.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "tests/ProgramRun.h"
#include "tests/ScratchFolder.h"
#include "tools/brimlow-host/StandInHost.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kNoBundle = "no plug-in bundle there";
constexpr const char* kNoCode = "the plug-in's code does not load";

// The build's bundle laid out again under the folder: its information file
// and resources copied, its executable a link to the build's (a damage
// replaces it).
std::string CopyOfTheBundle(const std::string& folder) {
  const fs::path from = fs::path(StandInHost::DefaultBundle()) / "Contents";
  const fs::path bundle = fs::path(folder) / "Brimlow.dpm";
  const fs::path contents = bundle / "Contents";
  fs::create_directories(contents / "MacOS");
  fs::copy_file(from / "Info.plist", contents / "Info.plist");
  fs::copy(from / "Resources", contents / "Resources", fs::copy_options::recursive);
  fs::create_symlink(from / "MacOS" / "Brimlow", contents / "MacOS" / "Brimlow");
  return bundle.string();
}

void Replace(const fs::path& path, const std::string& bytes) {
  fs::remove(path);
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

TEST(DamagedBundle, IsRefusedInOneLine) {
  const std::string code = ReadText(StandInHost::DefaultBundle() + "/Contents/MacOS/Brimlow");
  ASSERT_GT(code.size(), 4096u);
  // Kept open for reading and writing while a FIFO stands in for the
  // information file, so that even a host that opened it would not wait.
  int fifoHold = -1;
  struct Case {
    const char* what;
    std::function<void(const fs::path& contents)> damage;
    const char* says;  // null: the bundle works
  };
  const Case cases[] = {
      {"untouched", [](const fs::path&) {}, nullptr},
      {"information file a folder",
       [](const fs::path& c) {
         fs::remove(c / "Info.plist");
         fs::create_directory(c / "Info.plist");
       },
       kNoBundle},
      {"information file a FIFO",
       [&](const fs::path& c) {
         fs::remove(c / "Info.plist");
         ASSERT_EQ(mkfifo((c / "Info.plist").c_str(), 0600), 0);
         fifoHold = open((c / "Info.plist").c_str(), O_RDWR | O_NONBLOCK);
         ASSERT_GE(fifoHold, 0);
       },
       kNoBundle},
      {"information file a device",
       [](const fs::path& c) {
         fs::remove(c / "Info.plist");
         fs::create_symlink("/dev/zero", c / "Info.plist");
       },
       kNoBundle},
      {"information file missing", [](const fs::path& c) { fs::remove(c / "Info.plist"); }, kNoBundle},
      {"information file of 64 MiB (the real one, then a hole)",
       [](const fs::path& c) { fs::resize_file(c / "Info.plist", 64u << 20); }, kNoBundle},
      {"executable cut to its first 4 KiB",
       [&](const fs::path& c) { Replace(c / "MacOS" / "Brimlow", code.substr(0, 4096)); }, kNoCode},
      {"executable empty", [](const fs::path& c) { Replace(c / "MacOS" / "Brimlow", ""); }, kNoCode},
      {"executable missing", [](const fs::path& c) { fs::remove(c / "MacOS" / "Brimlow"); }, kNoCode},
      {"executable not ELF",
       [](const fs::path& c) { Replace(c / "MacOS" / "Brimlow", "#!/bin/sh\nexit 0\n"); }, kNoCode},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchFolder folder;
    const std::string bundle = CopyOfTheBundle(folder.Path());
    c.damage(fs::path(bundle) / "Contents");
    const RunResult r = RunProgram(BRIMLOW_HOST_PROGRAM, {"--bundle", bundle, "--list-controls"}, folder.Path());
    if (fifoHold >= 0) close(fifoHold);
    fifoHold = -1;
    if (!c.says) {
      EXPECT_EQ(r.exitCode, 0) << r.err;
      ASSERT_FALSE(r.out.empty());
      EXPECT_EQ(Lines(r.out).back(), "closed: 0");
      continue;
    }
    EXPECT_GT(r.exitCode, 0);  // exited, not killed
    EXPECT_TRUE(r.out.empty()) << Lines(r.out).front();
    EXPECT_EQ(r.err, "brimlow-host: " + bundle + ": " + c.says + "\n");
  }
}
