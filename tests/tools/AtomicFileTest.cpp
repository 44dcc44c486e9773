#include "tools/AtomicFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/ScratchFolder.h"

namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(AtomicFile, TheTargetChangesOnlyAtCommit) {
  ScratchFolder folder;
  const std::string path = folder.PathOf("state.bin");
  ASSERT_TRUE(AtomicFile::WriteWhole(path.c_str(), "old", 3));

  AtomicFile file;
  ASSERT_TRUE(file.Open(path.c_str()));
  ASSERT_TRUE(file.Write("new bytes", 9));
  EXPECT_EQ(ReadText(path), "old");
  EXPECT_EQ(folder.FileCount(), 2u);  // the temporary file sits beside the target
  ASSERT_TRUE(file.Finish());
  EXPECT_EQ(ReadText(path), "old");
  ASSERT_TRUE(file.Commit());
  EXPECT_EQ(ReadText(path), "new bytes");
  EXPECT_EQ(folder.FileCount(), 1u);
}

TEST(AtomicFile, AnythingShortOfCommitLeavesTheTargetAsItWas) {
  ScratchFolder folder;
  const std::string path = folder.PathOf("keep.bin");
  ASSERT_TRUE(AtomicFile::WriteWhole(path.c_str(), "kept", 4));
  {
    AtomicFile open;
    ASSERT_TRUE(open.Open(path.c_str()));
    ASSERT_TRUE(open.Write("lost", 4));
  }
  {
    AtomicFile finished;
    ASSERT_TRUE(finished.Open(path.c_str()));
    ASSERT_TRUE(finished.Write("lost", 4));
    ASSERT_TRUE(finished.Finish());
  }
  AtomicFile abandoned;
  ASSERT_TRUE(abandoned.Open(path.c_str()));
  abandoned.Abandon();
  EXPECT_FALSE(abandoned.Write("x", 1));
  EXPECT_FALSE(abandoned.Finish());
  EXPECT_FALSE(abandoned.Commit());
  EXPECT_EQ(ReadText(path), "kept");
  EXPECT_EQ(folder.FileCount(), 1u);
}

TEST(AtomicFile, RefusesPathsItCannotCreate) {
  ScratchFolder folder;
  AtomicFile file;
  EXPECT_FALSE(file.Open(""));
  EXPECT_FALSE(file.Open(nullptr));
  EXPECT_FALSE(file.Open(folder.PathOf("missing/x.bin").c_str()));
  EXPECT_FALSE(AtomicFile::WriteWhole(folder.PathOf("missing/x.bin").c_str(), "x", 1));
  // A target that is a folder, or a path that can only name one: refused
  // before a temporary file goes beside the folder or into it.
  const std::string dir = folder.PathOf("dir");
  ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
  for (const std::string& target : {dir, dir + "/", folder.PathOf("new/")}) {
    errno = 0;
    EXPECT_FALSE(file.Open(target.c_str())) << target;
    EXPECT_EQ(errno, EISDIR) << target;
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir));
  EXPECT_EQ(folder.FileCount(), 1u);
}

}  // namespace
