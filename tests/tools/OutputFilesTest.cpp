#include "tools/OutputFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "tests/ScratchFolder.h"
#include "tools/AtomicFile.h"
#include "tools/CommandError.h"

namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> SortedNames(const ScratchFolder& folder) {
  std::vector<std::string> names = folder.FileNames();
  std::sort(names.begin(), names.end());
  return names;
}

std::string ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const CommandError& e) {
    return e.what();
  }
  return "(no error)";
}

// Outputs written to temporary files and finished, ready to commit.
struct Prepared {
  OutputFiles outputs;
  std::vector<std::unique_ptr<AtomicFile>> files;

  void Add(const std::string& label, const std::string& path, const std::string& text) {
    files.push_back(std::make_unique<AtomicFile>());
    AtomicFile* file = files.back().get();
    outputs.Add(label, path, [file] { return file->Commit(); });
    ASSERT_TRUE(file->Open(path.c_str()));
    ASSERT_TRUE(file->Write(text.data(), text.size()));
    ASSERT_TRUE(file->Finish());
  }
};

TEST(OutputFiles, AllTargetsChangeTogether) {
  ScratchFolder folder;
  ASSERT_TRUE(AtomicFile::WriteWhole(folder.PathOf("a").c_str(), "old a", 5));
  Prepared p;
  p.Add("A", folder.PathOf("a"), "new a");
  p.Add("B", folder.PathOf("b"), "new b");
  p.Add("C", folder.PathOf("c"), "new c");
  EXPECT_EQ(ReadText(folder.PathOf("a")), "old a");
  EXPECT_FALSE(std::filesystem::exists(folder.PathOf("b")));
  p.outputs.CommitAll();
  EXPECT_EQ(ReadText(folder.PathOf("a")), "new a");
  EXPECT_EQ(ReadText(folder.PathOf("b")), "new b");
  EXPECT_EQ(ReadText(folder.PathOf("c")), "new c");
  EXPECT_EQ(SortedNames(folder), (std::vector<std::string>{"a", "b", "c"}));
}

// The last rename fails (its target turned into a folder after the check):
// the targets already replaced get their files back, new ones go again,
// and nothing else is left in the folder.
TEST(OutputFiles, AFailedRenamePutsEveryTargetBack) {
  ScratchFolder folder;
  ASSERT_TRUE(AtomicFile::WriteWhole(folder.PathOf("a").c_str(), "old a", 5));
  Prepared p;
  p.Add("A", folder.PathOf("a"), "new a");
  p.Add("B", folder.PathOf("b"), "new b");
  p.Add("C", folder.PathOf("c"), "new c");
  ASSERT_TRUE(std::filesystem::create_directory(folder.PathOf("c")));
  std::ofstream(folder.PathOf("c/inside")) << "x";
  EXPECT_EQ(ErrorOf([&] { p.outputs.CommitAll(); }), folder.PathOf("c") + ": is a directory");
  EXPECT_EQ(ReadText(folder.PathOf("a")), "old a");
  EXPECT_FALSE(std::filesystem::exists(folder.PathOf("b")));
  EXPECT_TRUE(std::filesystem::is_directory(folder.PathOf("c")));
  p.files.clear();  // the writers remove their uncommitted temporary files
  EXPECT_EQ(SortedNames(folder), (std::vector<std::string>{"a", "c"}));
}

TEST(OutputFiles, AFailedFirstRenameChangesNothing) {
  ScratchFolder folder;
  ASSERT_TRUE(AtomicFile::WriteWhole(folder.PathOf("b").c_str(), "old b", 5));
  Prepared p;
  p.Add("A", folder.PathOf("a"), "new a");
  p.Add("B", folder.PathOf("b"), "new b");
  ASSERT_TRUE(std::filesystem::create_directory(folder.PathOf("a")));
  std::ofstream(folder.PathOf("a/inside")) << "x";
  EXPECT_EQ(ErrorOf([&] { p.outputs.CommitAll(); }), folder.PathOf("a") + ": is a directory");
  EXPECT_EQ(ReadText(folder.PathOf("b")), "old b");
  p.files.clear();
  EXPECT_EQ(SortedNames(folder), (std::vector<std::string>{"a", "b"}));
}

TEST(OutputFiles, TwoSpellingsOfOneFileAreRefused) {
  ScratchFolder folder;
  ASSERT_TRUE(std::filesystem::create_directory(folder.PathOf("sub")));
  OutputFiles outputs;
  outputs.Add("OUT", folder.PathOf("out.wav"), [] { return true; });
  outputs.Add("--state-out", folder.PathOf("sub/out.wav"), [] { return true; });
  try {
    outputs.Add("--state-out", folder.PathOf("sub/../out.wav"), [] { return true; });
    ADD_FAILURE() << "no error";
  } catch (const CommandError& e) {
    EXPECT_STREQ(e.what(), "OUT and --state-out name the same file");
    EXPECT_EQ(e.ExitCode(), CommandError::kUsage);
  }
}

struct TargetCase {
  const char* name;
  std::string path;     // in the scratch folder
  std::string problem;  // after the path, {scratch} standing for the folder; "" for none
};

void PrintTo(const TargetCase& c, std::ostream* os) { *os << c.name; }

class OutputTargets : public ::testing::TestWithParam<TargetCase> {};

// Checked before any work, with the message a user can act on; the same
// targets refuse a temporary file, and nothing is left in the folder.
TEST_P(OutputTargets, AreCheckedBeforeAnyWork) {
  const TargetCase& c = GetParam();
  ScratchFolder folder;
  ASSERT_TRUE(std::filesystem::create_directory(folder.PathOf("adir")));
  ASSERT_TRUE(std::filesystem::create_directory(folder.PathOf("ro")));
  ASSERT_EQ(chmod(folder.PathOf("ro").c_str(), 0555), 0);
  ASSERT_TRUE(AtomicFile::WriteWhole(folder.PathOf("file").c_str(), "x", 1));
  if (c.path.rfind("ro/", 0) == 0 && access(folder.PathOf("ro").c_str(), W_OK) == 0) {
    chmod(folder.PathOf("ro").c_str(), 0755);
    GTEST_SKIP() << "a read-only folder is writable here (running as root)";
  }
  const std::string path = folder.PathOf(c.path);
  std::string expected = c.problem.empty() ? "" : path + c.problem;
  const size_t scratch = expected.find("{scratch}");
  if (scratch != std::string::npos) expected.replace(scratch, 9, folder.Path());
  EXPECT_EQ(OutputPathProblem(path), expected);
  AtomicFile file;
  EXPECT_EQ(file.Open(path.c_str()), c.problem.empty());
  file.Abandon();
  chmod(folder.PathOf("ro").c_str(), 0755);
  std::vector<std::string> names = SortedNames(folder);
  EXPECT_EQ(names, (std::vector<std::string>{"adir", "file", "ro"}));
  EXPECT_TRUE(std::filesystem::is_empty(folder.PathOf("adir")));
  EXPECT_TRUE(std::filesystem::is_empty(folder.PathOf("ro")));
}

INSTANTIATE_TEST_SUITE_P(
    Table, OutputTargets,
    ::testing::Values(TargetCase{"Folder", "adir", ": is a directory"},
                      TargetCase{"FolderWithSlash", "adir/", ": is a directory"},
                      TargetCase{"MissingFolder", "nodir/out.wav", ": cannot write (no such folder)"},
                      TargetCase{"SlashAfterAMissingName", "nodir/", ": cannot write (a file name cannot end in /)"},
                      TargetCase{"FileAsFolder", "file/out.wav", ": cannot write ({scratch}/file is not a folder)"},
                      TargetCase{"ReadOnlyFolder", "ro/out.wav", ": cannot write (Permission denied)"},
                      TargetCase{"NewFile", "adir/out.wav", ""}, TargetCase{"ExistingFile", "file", ""}),
    [](const ::testing::TestParamInfo<TargetCase>& info) { return std::string(info.param.name); });

}  // namespace
