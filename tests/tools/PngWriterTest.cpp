#include "tools/PngWriter.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/ScratchFolder.h"

namespace {

// Reads the file back with libpng's read side, as 8-bit RGB (or RGBA) rows.
bool ReadRGB(const std::string& path, int* width, int* height, std::vector<uint8_t>* rgb, bool alpha = false) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  rgb->resize(PNG_IMAGE_SIZE(image));
  const bool ok = png_image_finish_read(&image, nullptr, rgb->data(), 0, nullptr) != 0;
  *width = static_cast<int>(image.width);
  *height = static_cast<int>(image.height);
  return ok;
}

TEST(PngWriter, WritesBytesOneToThreeOfEachPixelRowByRow) {
  ScratchFolder folder;
  const int width = 5, height = 3;
  const size_t rowBytes = 24;  // room for six pixels a row
  std::vector<uint8_t> pixels(rowBytes * height, 0xEE);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = &pixels[y * rowBytes + x * 4];
      p[0] = 0x55;  // never written
      p[1] = static_cast<uint8_t>(40 * x);
      p[2] = static_cast<uint8_t>(80 * y);
      p[3] = static_cast<uint8_t>(x + y);
    }
  }
  const std::string path = folder.PathOf("x.png");
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(WriteXRGBAsPNG(file, pixels.data(), width, height, rowBytes));
  ASSERT_EQ(std::fclose(file), 0);
  int w = 0, h = 0;
  std::vector<uint8_t> rgb;
  ASSERT_TRUE(ReadRGB(path, &w, &h, &rgb));
  ASSERT_EQ(w, width);
  ASSERT_EQ(h, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = &rgb[(y * width + x) * 3];
      EXPECT_EQ(p[0], 40 * x);
      EXPECT_EQ(p[1], 80 * y);
      EXPECT_EQ(p[2], x + y);
    }
  }
}

// Straight (not premultiplied) alpha, kept to the byte, at every
// compression level; the padding past the width is never read.
TEST(PngWriter, WritesRGBARowsAsTheyAre) {
  ScratchFolder folder;
  const int width = 3, height = 4;
  const size_t rowBytes = 16;
  std::vector<uint8_t> pixels(rowBytes * height, 0xEE);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = &pixels[y * rowBytes + x * 4];
      p[0] = static_cast<uint8_t>(50 * x + 1);
      p[1] = static_cast<uint8_t>(60 * y + 2);
      p[2] = static_cast<uint8_t>(x * y + 3);
      p[3] = static_cast<uint8_t>(85 * x);  // 0 (clear) .. 170
    }
  }
  for (int level : {0, 6, 9}) {
    const std::string path = folder.PathOf("a" + std::to_string(level) + ".png");
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(WriteRGBAAsPNG(file, pixels.data(), width, height, rowBytes, level));
    ASSERT_EQ(std::fclose(file), 0);
    int w = 0, h = 0;
    std::vector<uint8_t> rgba;
    ASSERT_TRUE(ReadRGB(path, &w, &h, &rgba, true));
    ASSERT_EQ(w, width);
    ASSERT_EQ(h, height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        for (int c = 0; c < 4; ++c) {
          EXPECT_EQ(rgba[(y * width + x) * 4 + c], pixels[y * rowBytes + x * 4 + c]) << x << "," << y << "," << c;
        }
      }
    }
  }
}

TEST(PngWriter, RefusesWhatItCannotWrite) {
  std::vector<uint8_t> pixels(16, 0);
  FILE* sink = std::fopen("/dev/null", "wb");
  ASSERT_NE(sink, nullptr);
  EXPECT_FALSE(WriteXRGBAsPNG(sink, pixels.data(), 0, 1, 16));
  EXPECT_FALSE(WriteXRGBAsPNG(sink, pixels.data(), 4, 1, 15));  // rows shorter than the width
  EXPECT_FALSE(WriteXRGBAsPNG(sink, nullptr, 1, 1, 4));
  EXPECT_FALSE(WriteXRGBAsPNG(nullptr, pixels.data(), 1, 1, 4));
  EXPECT_FALSE(WriteRGBAAsPNG(sink, pixels.data(), 4, 1, 15, 9));
  EXPECT_FALSE(WriteRGBAAsPNG(sink, pixels.data(), 1, 1, 4, 10));  // no such compression level
  EXPECT_FALSE(WriteRGBAAsPNG(sink, pixels.data(), 1, 1, 4, -1));
  EXPECT_FALSE(WriteRGBAAsPNG(nullptr, pixels.data(), 1, 1, 4, 9));
  std::fclose(sink);
  // A full device reports the failed writes.
  if (FILE* full = std::fopen("/dev/full", "wb")) {
    std::vector<uint8_t> big(4 * 64 * 64, 7);
    const bool written = WriteXRGBAsPNG(full, big.data(), 64, 64, 256);
    const bool closed = std::fclose(full) == 0;
    EXPECT_FALSE(written && closed);
  }
  if (FILE* full = std::fopen("/dev/full", "wb")) {
    std::vector<uint8_t> big(4 * 64 * 64, 7);
    const bool written = WriteRGBAAsPNG(full, big.data(), 64, 64, 256, 0);
    const bool closed = std::fclose(full) == 0;
    EXPECT_FALSE(written && closed);
  }
}

}  // namespace
