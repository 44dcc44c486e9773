#include "tools/artwork/Canvas.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/ScratchFolder.h"

namespace {

std::vector<uint8_t> ReadRGBA(const std::string& path, int* width, int* height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> rgba(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) return {};
  *width = static_cast<int>(image.width);
  *height = static_cast<int>(image.height);
  return rgba;
}

// The file holds the picture at twice its size, each pixel as R, G, B and
// straight alpha, painted and clear areas alike.
TEST(Canvas, WritesThePictureAsRGBA) {
  ScratchFolder folder;
  ASSERT_TRUE(folder.Ok());
  Canvas c(4, 2, 1, Rgb(0x102030, 0x40));
  c.Fill(0, 0, 2, 1, Rgb(0xA0B0C0));
  const std::string path = folder.PathOf("c.png");
  ASSERT_TRUE(c.WritePNG(path));
  int w = 0, h = 0;
  const std::vector<uint8_t> rgba = ReadRGBA(path, &w, &h);
  ASSERT_EQ(w, 8);
  ASSERT_EQ(h, 4);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const bool painted = x < 4 && y < 2;
      const uint8_t* p = &rgba[(y * w + x) * 4];
      const int want[4] = {painted ? 0xA0 : 0x10, painted ? 0xB0 : 0x20, painted ? 0xC0 : 0x30, painted ? 0xFF : 0x40};
      for (int k = 0; k < 4; ++k) EXPECT_EQ(p[k], want[k]) << x << "," << y << "," << k;
    }
  }
  EXPECT_EQ(folder.FileCount(), 1u);  // no temporary file left beside it
}

// A failed write leaves nothing behind and an existing image as it was.
TEST(Canvas, AFailedWriteLeavesNoFile) {
  ScratchFolder folder;
  ASSERT_TRUE(folder.Ok());
  Canvas c(2, 2, 1, Rgb(0xFFFFFF));
  EXPECT_FALSE(c.WritePNG(folder.PathOf("missing/c.png")));
  EXPECT_FALSE(c.WritePNG(folder.Path()));  // a folder
  EXPECT_EQ(folder.FileCount(), 0u);
}

}  // namespace
