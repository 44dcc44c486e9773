#include "tools/artwork/Artwork.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "lice/lice.h"
#include "tests/ScratchFolder.h"

namespace {

struct Size {
  int w = 0, h = 0;
};

Size PngSize(const std::string& path) {
  std::unique_ptr<LICE_IBitmap> image(LICE_LoadPNG(path.c_str(), nullptr));
  return image ? Size{image->getWidth(), image->getHeight()} : Size{};
}

// Each image at twice its 100 % size, its frames stacked: what the
// generator draws, and what the tree ships.
TEST(Artwork, DrawsEveryImageAtTwiceItsSizeWithItsFrames) {
  ScratchFolder folder;
  ASSERT_TRUE(folder.Ok());
  const ParamTexts texts = [](int paramIdx) {
    return std::vector<std::string>(16, "Text " + std::to_string(paramIdx));
  };
  ASSERT_TRUE(WriteArtwork(folder.Path(), texts));
  std::set<std::string> names;
  for (const ArtworkImage& image : ArtworkImages()) {
    names.insert(image.fileName);
    const Size drawn = PngSize(folder.PathOf(image.fileName));
    EXPECT_EQ(drawn.w, 2 * image.width) << image.fileName;
    EXPECT_EQ(drawn.h, 2 * image.height * image.frames) << image.fileName;
    const Size shipped = PngSize(std::string(BRIMLOW_IMAGE_DIR) + "/" + image.fileName);
    EXPECT_EQ(shipped.w, drawn.w) << image.fileName;
    EXPECT_EQ(shipped.h, drawn.h) << image.fileName;
  }
  EXPECT_EQ(names.size(), 37u);
  EXPECT_EQ(folder.FileCount(), names.size());
  // The editor's size at 100 % is 872 x 632.
  EXPECT_EQ(PngSize(folder.PathOf("background.png")).w, 1744);
  EXPECT_EQ(PngSize(folder.PathOf("background.png")).h, 1264);
}

TEST(Artwork, AFolderThatCannotBeWrittenFails) {
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(WriteArtwork("/nonexistent-folder/img", [](int) { return std::vector<std::string>(); }));
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("cannot write"), std::string::npos);
}

}  // namespace
