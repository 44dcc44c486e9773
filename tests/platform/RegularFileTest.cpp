#include "platform/posix/RegularFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/ScratchFolder.h"

TEST(RegularFile, ReadsOnlyARegularFileWithinTheLimit) {
  ScratchFolder folder;
  const std::vector<unsigned char> ten = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'};
  ASSERT_FALSE(folder.Write("ten", ten).empty());
  ASSERT_FALSE(folder.Write("empty", {}).empty());
  ASSERT_EQ(mkfifo(folder.PathOf("fifo").c_str(), 0600), 0);
  ASSERT_EQ(mkdir(folder.PathOf("folder").c_str(), 0700), 0);
  ASSERT_EQ(symlink("ten", folder.PathOf("link").c_str()), 0);
  ASSERT_EQ(symlink("/dev/zero", folder.PathOf("device").c_str()), 0);
  struct Case {
    std::string name;
    size_t limit;
    const char* expected;  // null: refused
  };
  const Case cases[] = {
      {"ten", 10, "0123456789"}, {"ten", 9, nullptr},    {"link", 10, "0123456789"}, {"empty", 0, ""},
      {"fifo", 100, nullptr},    {"folder", 100, nullptr}, {"device", 100, nullptr},     {"missing", 100, nullptr},
  };
  for (const Case& c : cases) {
    std::string bytes = "left over";
    const bool read = platform::ReadRegularFile(folder.PathOf(c.name), c.limit, &bytes);
    EXPECT_EQ(read, c.expected != nullptr) << c.name << " " << c.limit;
    EXPECT_EQ(bytes, c.expected ? c.expected : "") << c.name << " " << c.limit;
  }
}
