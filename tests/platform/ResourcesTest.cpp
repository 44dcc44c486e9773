#include "platform/carboncore/Resources.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/carboncore/MacMemory.h"
#include "platform/carboncore/ResourceFile.h"
#include "tests/ScratchFolder.h"

namespace {

constexpr ResType kPICT = 0x50494354;  // 'PICT'
constexpr ResType kSTRS = 0x53545223;  // 'STR#'
constexpr ResType kSnd = 0x736e6420;   // 'snd ' (a space in the code)
constexpr ResType kPpat = 0x70706174;  // 'ppat'

// A resource folder written by the layout's own naming rules.
class ResourceFolder {
 public:
  void Add(ResType type, ResID id, const std::string& name, const std::vector<unsigned char>& bytes) {
    const std::string folder = mScratch.PathOf(platform::ResourceTypeFolderName(type));
    std::filesystem::create_directories(folder);
    FILE* f = std::fopen((folder + "/" + platform::ResourceFileName(id, name)).c_str(), "wb");
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  const std::string& Path() const { return mScratch.Path(); }

 private:
  ScratchFolder mScratch;
};

std::string Bytes(Handle h) { return h ? std::string(*h, static_cast<size_t>(GetHandleSize(h))) : "(null)"; }

std::vector<unsigned char> Text(const std::string& text) { return {text.begin(), text.end()}; }

std::string Counted(const unsigned char* text) { return std::string(reinterpret_cast<const char*>(text + 1), text[0]); }

class Resources : public ::testing::Test {
 protected:
  void SetUp() override {
    mLower.Add(kPICT, 128, "Back", Text("lower 128"));
    mLower.Add(kPICT, 129, "", Text("lower 129"));
    mUpper.Add(kPICT, 128, "", Text("upper 128"));
    mUpper.Add(kPICT, -4000, "A/B%", Text("negative"));
    mUpper.Add(kSnd, 1, "", Text("sound"));
    mLowerFile = platform::OpenResourceFolder(mLower.Path().c_str());
    mUpperFile = platform::OpenResourceFolder(mUpper.Path().c_str());
  }
  void TearDown() override {
    CloseResFile(mUpperFile);
    CloseResFile(mLowerFile);
  }

  ResourceFolder mLower, mUpper;
  short mLowerFile = 0, mUpperFile = 0;
};

}  // namespace

TEST_F(Resources, Get1SearchesTheCurrentFileAndGetTheChainBelowIt) {
  ASSERT_GT(mLowerFile, 0);
  ASSERT_GT(mUpperFile, 0);
  EXPECT_NE(mLowerFile, mUpperFile);
  EXPECT_EQ(CurResFile(), mUpperFile);  // opening makes a file current
  EXPECT_EQ(Bytes(Get1Resource(kPICT, 128)), "upper 128");
  EXPECT_EQ(Get1Resource(kPICT, 129), nullptr);
  EXPECT_EQ(ResError(), resNotFound);
  EXPECT_EQ(Bytes(GetResource(kPICT, 129)), "lower 129");  // found further down
  EXPECT_EQ(ResError(), noErr);
  EXPECT_EQ(Bytes(Get1Resource(kSnd, 1)), "sound");
  UseResFile(mLowerFile);
  EXPECT_EQ(Bytes(GetResource(kPICT, 128)), "lower 128");  // the upper file lies above: not searched
  EXPECT_EQ(GetResource(kSnd, 1), nullptr);
  UseResFile(0);  // the empty system file
  EXPECT_EQ(GetResource(kPICT, 128), nullptr);
  UseResFile(12345);
  EXPECT_EQ(ResError(), resFNotFound);
  EXPECT_EQ(CurResFile(), 0);
}

TEST_F(Resources, NamesIndicesAndInfo) {
  unsigned char name[256] = {4, 'B', 'a', 'c', 'k'};
  EXPECT_EQ(Get1NamedResource(kPICT, name), nullptr);
  EXPECT_EQ(Bytes(GetNamedResource(kPICT, name)), "lower 128");
  EXPECT_EQ(Count1Resources(kPICT), 2);
  EXPECT_EQ(Bytes(Get1IndResource(kPICT, 1)), "negative");  // ascending ids
  EXPECT_EQ(Bytes(Get1IndResource(kPICT, 2)), "upper 128");
  EXPECT_EQ(Get1IndResource(kPICT, 3), nullptr);
  EXPECT_EQ(Get1IndResource(kPICT, 0), nullptr);
  Handle negative = Get1IndResource(kPICT, 1);
  ResID id = 0;
  ResType type = 0;
  GetResInfo(negative, &id, &type, name);
  EXPECT_EQ(id, -4000);
  EXPECT_EQ(type, kPICT);
  EXPECT_EQ(Counted(name), "A/B%");  // escaped on disk, whole again here
  EXPECT_EQ(HomeResFile(negative), mUpperFile);
  EXPECT_EQ(Get1Resource(kPICT, -4000), negative);  // one handle per resource
}

TEST_F(Resources, DetachedHandlesOutliveTheirFileReleasedOnesAreReadAgain) {
  Handle detached = Get1Resource(kPICT, 128);
  DetachResource(detached);
  EXPECT_EQ(ResError(), noErr);
  GetResInfo(detached, nullptr, nullptr, nullptr);
  EXPECT_EQ(ResError(), resNotFound);  // no longer a resource
  Handle again = Get1Resource(kPICT, 128);
  EXPECT_NE(again, detached);
  ReleaseResource(again);
  Handle third = Get1Resource(kPICT, 128);
  EXPECT_EQ(Bytes(third), "upper 128");
  Handle attached = Get1Resource(kSnd, 1);
  DisposeHandle(attached);  // forgotten by its file first
  EXPECT_EQ(Bytes(Get1Resource(kSnd, 1)), "sound");
  CloseResFile(mUpperFile);
  mUpperFile = 0;
  EXPECT_EQ(CurResFile(), mLowerFile);  // the file below takes over
  EXPECT_EQ(Bytes(detached), "upper 128");
  DisposeHandle(detached);
}

TEST(ResourceChain, StringListsAndPatterns) {
  ResourceFolder folder;
  folder.Add(kSTRS, 200, "", {0, 3, 2, 'O', 'n', 0, 5, 'T', 'h', 'r', 'e', 'e'});
  folder.Add(kSTRS, 201, "", {0, 2, 3, 'a', 'b', 'c', 9, 'x'});  // the second string is cut short
  folder.Add(kPpat, 1001, "", {1, 2, 3});
  const short file = platform::OpenResourceFolder(folder.Path().c_str());
  Str255 text;
  GetIndString(text, 200, 1);
  EXPECT_EQ(Counted(text), "On");
  GetIndString(text, 200, 2);
  EXPECT_EQ(Counted(text), "");
  GetIndString(text, 200, 3);
  EXPECT_EQ(Counted(text), "Three");
  for (const short index : {0, 4, -1}) {
    GetIndString(text, 200, index);
    EXPECT_EQ(text[0], 0) << index;
  }
  GetIndString(text, 201, 1);
  EXPECT_EQ(Counted(text), "abc");
  GetIndString(text, 201, 2);
  EXPECT_EQ(text[0], 0);
  GetIndString(text, 999, 1);
  EXPECT_EQ(text[0], 0);
  PixPatHandle pattern = GetPixPat(1001);
  ASSERT_NE(pattern, nullptr);
  EXPECT_EQ(Bytes(reinterpret_cast<Handle>(pattern)), "\1\2\3");
  EXPECT_EQ(GetPixPat(1002), nullptr);
  CloseResFile(file);
  EXPECT_EQ(Bytes(reinterpret_cast<Handle>(pattern)), "\1\2\3");  // the pattern is its own copy
  DisposePixPat(pattern);
}

TEST(ResourceChain, AMissingFolderIsAnEmptyFileAndBadNamesAreSkipped) {
  const short empty = platform::OpenResourceFolder("/nonexistent/Brimlow.rsrc");
  EXPECT_GT(empty, 0);
  EXPECT_EQ(CurResFile(), empty);
  EXPECT_EQ(Count1Resources(kPICT), 0);
  CloseResFile(empty);

  ResourceFolder folder;
  folder.Add(kPICT, 5, "", Text("five"));
  const std::string pict = folder.Path() + "/" + platform::ResourceTypeFolderName(kPICT);
  for (const char* bad : {"0005", "+6", "40000", "x7", "8 bad%zz"}) std::fclose(std::fopen((pict + "/" + bad).c_str(), "w"));
  std::filesystem::create_directories(folder.Path() + "/TOOLONG");
  std::filesystem::create_directories(pict + "/9");  // a folder, not a resource
  const short file = platform::OpenResourceFolder(folder.Path().c_str());
  EXPECT_EQ(Count1Resources(kPICT), 1);
  EXPECT_EQ(Bytes(Get1Resource(kPICT, 5)), "five");
  CloseResFile(file);
  EXPECT_EQ(platform::ResourceTypeFolderName(kSnd), "snd%20");
  EXPECT_EQ(platform::ResourceTypeFolderName(kSTRS), "STR#");
}

TEST(MacMemory, HandlesHoldTheirSizeAndRefuseBadRequests) {
  Handle h = NewHandleClear(16);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(MemError(), noErr);
  EXPECT_EQ(GetHandleSize(h), 16);
  for (int i = 0; i < 16; ++i) EXPECT_EQ((*h)[i], 0);
  HLock(h);
  HUnlock(h);
  DisposeHandle(h);
  Handle empty = NewHandle(0);
  ASSERT_NE(empty, nullptr);
  EXPECT_NE(*empty, nullptr);  // a master pointer even for no bytes
  DisposeHandle(empty);
  EXPECT_EQ(NewHandle(-1), nullptr);
  EXPECT_EQ(MemError(), paramErr);
  DisposeHandle(nullptr);
  EXPECT_EQ(MemError(), nilHandleErr);
  EXPECT_EQ(GetHandleSize(nullptr), 0);
}
