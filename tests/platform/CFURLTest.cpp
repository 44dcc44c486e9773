#include "platform/corefoundation/CFURL.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "tests/ScratchFolder.h"

namespace {

std::string PathOf(CFURLRef url) {
  unsigned char buffer[PATH_MAX];
  return CFURLGetFileSystemRepresentation(url, true, buffer, sizeof buffer) ? reinterpret_cast<char*>(buffer)
                                                                            : "(failed)";
}

CFURLRef URL(const char* path, bool isDirectory) {
  CFStringRef text = CFStringCreateWithCString(nullptr, path, kCFStringEncodingUTF8);
  CFURLRef url = CFURLCreateWithFileSystemPath(nullptr, text, kCFURLPOSIXPathStyle, isDirectory);
  CFRelease(text);
  return url;
}

}  // namespace

TEST(CFURL, PathsAreAbsoluteWithoutDoubleOrTrailingSlashes) {
  CFURLRef folder = URL("/usr//lib/", true);
  EXPECT_EQ(PathOf(folder), "/usr/lib");
  EXPECT_TRUE(CFURLHasDirectoryPath(folder));
  CFURLRef file = CFURLCreateCopyAppendingPathComponent(nullptr, folder, CFSTR("libz.so"), false);
  EXPECT_EQ(PathOf(file), "/usr/lib/libz.so");
  EXPECT_FALSE(CFURLHasDirectoryPath(file));
  CFURLRef up = CFURLCreateCopyDeletingLastPathComponent(nullptr, file);
  EXPECT_EQ(PathOf(up), "/usr/lib");
  EXPECT_TRUE(CFURLHasDirectoryPath(up));
  CFURLRef usr = URL("/usr", true);
  CFURLRef root = CFURLCreateCopyDeletingLastPathComponent(nullptr, usr);
  CFRelease(usr);
  EXPECT_EQ(PathOf(root), "/");
  CFURLRef top = CFURLCreateCopyDeletingLastPathComponent(nullptr, root);
  EXPECT_EQ(PathOf(top), "/");
  CFStringRef text = CFURLCopyFileSystemPath(file, kCFURLPOSIXPathStyle);
  EXPECT_EQ(CFStringGetLength(text), 16);
  for (CFTypeRef ref : {CFTypeRef(folder), CFTypeRef(file), CFTypeRef(up), CFTypeRef(root), CFTypeRef(top),
                        CFTypeRef(text)}) {
    CFRelease(ref);
  }
}

TEST(CFURL, RelativePathsStartAtTheWorkingFolder) {
  char cwd[PATH_MAX];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  CFURLRef url = URL("a/b", false);
  EXPECT_EQ(PathOf(url), std::string(cwd) + "/a/b");
  CFRelease(url);
}

TEST(CFURL, FileSystemReferenceMeansThePathExists) {
  ScratchFolder scratch;
  ASSERT_TRUE(scratch.Ok());
  scratch.Write("here", {1});
  FSRef ref;
  CFURLRef here = URL(scratch.PathOf("here").c_str(), false);
  CFURLRef gone = URL(scratch.PathOf("gone").c_str(), false);
  EXPECT_TRUE(CFURLGetFSRef(here, &ref));
  EXPECT_FALSE(CFURLGetFSRef(gone, &ref));
  unsigned char small[4];
  EXPECT_FALSE(CFURLGetFileSystemRepresentation(here, true, small, sizeof small));
  CFRelease(here);
  CFRelease(gone);
}
