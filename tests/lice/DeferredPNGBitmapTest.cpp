#include "lice/DeferredPNGBitmap.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "lice/LICE_Pixel.h"
#include "tests/ScratchFolder.h"
#include "tests/lice/LiceTestSupport.h"
#include "tests/lice/PNGTestFiles.h"

namespace {

using LiceTest::At;

// An RGBA image whose pixel (x, y) is A = 255 - x, R = x, G = y, B = x + y.
LiceTest::PNGDescription Gradient(int width, int height) {
  LiceTest::PNGDescription s;
  s.width = width;
  s.height = height;
  s.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) s.samples.insert(s.samples.end(), {x, y, x + y, 255 - x});
  }
  return s;
}

LICE_pixel GradientPixel(int x, int y) { return LICE_RGBA(x, y, x + y, 255 - x); }

std::vector<unsigned char> ReadAll(const std::string& path) {
  std::vector<unsigned char> bytes(1 << 20);
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return {};
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  std::fclose(f);
  return bytes;
}

DeferredPNGBitmap* OpenGradient(const ScratchFolder& folder, int width, int height) {
  const std::string path = folder.PathOf("gradient.png");
  return LiceTest::WritePNG(path, Gradient(width, height)) ? DeferredPNGBitmap::Open(path) : nullptr;
}

}  // namespace

TEST(DeferredPNGBitmap, KnowsItsSizeFromTheHeaderAndDecodesOnFirstUse) {
  ScratchFolder folder;
  std::unique_ptr<DeferredPNGBitmap> bitmap(OpenGradient(folder, 40, 30));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_FALSE(bitmap->IsDecoded());
  EXPECT_EQ(bitmap->getWidth(), 40);
  EXPECT_EQ(bitmap->getHeight(), 30);
  EXPECT_FALSE(bitmap->IsDecoded());
  ASSERT_NE(bitmap->getBits(), nullptr);
  EXPECT_TRUE(bitmap->IsDecoded());
  EXPECT_GE(bitmap->getRowSpan(), 40);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) ASSERT_EQ(At(bitmap.get(), x, y), GradientPixel(x, y)) << x << "," << y;
  }
}

TEST(DeferredPNGBitmap, RefusesWhatTheLoaderRefusesAtItsHeader) {
  ScratchFolder folder;
  EXPECT_EQ(DeferredPNGBitmap::Open(folder.PathOf("missing.png")), nullptr);
  EXPECT_EQ(DeferredPNGBitmap::Open(folder.Write("text.png", {'h', 'e', 'l', 'l', 'o'})), nullptr);
  EXPECT_EQ(DeferredPNGBitmap::Open(folder.Write("empty.png", {})), nullptr);
  // 32768 x 16384 pixels is 2^31 bytes, one past what a bitmap holds.
  EXPECT_EQ(DeferredPNGBitmap::Open(folder.Write("big.png", LiceTest::HeaderOnlyPNG(32768, 16384))), nullptr);
}

TEST(DeferredPNGBitmap, ABodyThatFailsToDecodeLeavesNoPixels) {
  ScratchFolder folder;
  const std::string whole = folder.PathOf("whole.png");
  ASSERT_TRUE(LiceTest::WritePNG(whole, Gradient(64, 64)));
  std::vector<unsigned char> bytes = ReadAll(whole);
  ASSERT_GT(bytes.size(), 100u);
  bytes.resize(bytes.size() * 2 / 3);
  std::unique_ptr<DeferredPNGBitmap> bitmap(DeferredPNGBitmap::Open(folder.Write("cut.png", bytes)));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->getWidth(), 64);
  EXPECT_EQ(bitmap->getBits(), nullptr);
  EXPECT_EQ(bitmap->getWidth(), 0);
  EXPECT_EQ(bitmap->getHeight(), 0);
  // Drawing into it is harmless.
  LICE_FillRect(bitmap.get(), 0, 0, 64, 64, 0, 1.0f, 0);
}

// Two drawing threads reaching the pixels first at once decode them once
// and see the same pixels (ThreadSanitizer checks the hand-over).
TEST(DeferredPNGBitmap, DecodesOnceWhenTwoThreadsAskAtOnce) {
  ScratchFolder folder;
  std::unique_ptr<DeferredPNGBitmap> bitmap(OpenGradient(folder, 50, 50));
  ASSERT_NE(bitmap, nullptr);
  LICE_pixel* seen[2] = {nullptr, nullptr};
  LICE_pixel corner[2] = {0, 0};
  std::thread a([&] {
    seen[0] = bitmap->getBits();
    corner[0] = At(bitmap.get(), 49, 49);
  });
  std::thread b([&] {
    seen[1] = bitmap->getBits();
    corner[1] = At(bitmap.get(), 49, 49);
  });
  a.join();
  b.join();
  ASSERT_NE(seen[0], nullptr);
  EXPECT_EQ(seen[0], seen[1]);
  EXPECT_EQ(corner[0], GradientPixel(49, 49));
  EXPECT_EQ(corner[1], GradientPixel(49, 49));
}

// The file may be replaced between the header and the first draw (a newer
// bundle installed while the host runs). The first draw reads the size
// before the pixels: an image of another size must not be drawn as if it
// had the header's.
TEST(DeferredPNGBitmap, AnImageOfAnotherSizeThanItsHeaderLeavesNoPixels) {
  const struct {
    int width, height;
  } replacements[] = {{8, 8}, {64, 8}, {8, 64}, {80, 80}};
  for (const auto& r : replacements) {
    SCOPED_TRACE(r.width);
    SCOPED_TRACE(r.height);
    ScratchFolder folder;
    std::unique_ptr<DeferredPNGBitmap> bitmap(OpenGradient(folder, 64, 64));
    ASSERT_NE(bitmap, nullptr);
    ASSERT_TRUE(LiceTest::WritePNG(folder.PathOf("gradient.png"), Gradient(r.width, r.height)));

    LICE_MemBitmap dest(64, 64, 4);
    LICE_FillRect(&dest, 0, 0, 64, 64, LICE_RGBA(1, 2, 3, 255), 1.0f, 0);
    LICE_Blit(&dest, bitmap.get(), 0, 0, 0, 0, 64, 64, 1.0f, 0);
    EXPECT_EQ(bitmap->getBits(), nullptr);
    EXPECT_EQ(bitmap->getWidth(), 0);
    EXPECT_EQ(bitmap->getHeight(), 0);
    EXPECT_EQ(At(&dest, 0, 0), LICE_RGBA(1, 2, 3, 255));
    EXPECT_EQ(At(&dest, 63, 63), LICE_RGBA(1, 2, 3, 255));

    // Scaling, as the editor's bitmap cache does, reads it the same way.
    std::unique_ptr<DeferredPNGBitmap> again(OpenGradient(folder, 64, 64));
    ASSERT_NE(again, nullptr);
    ASSERT_TRUE(LiceTest::WritePNG(folder.PathOf("gradient.png"), Gradient(r.width, r.height)));
    LICE_MemBitmap scaled(32, 32, 4);
    LICE_ScaledBlit(&scaled, again.get(), 0, 0, 32, 32, 0.0f, 0.0f, 64.0f, 64.0f, 1.0f, 0x100);
    EXPECT_EQ(again->getBits(), nullptr);
  }
}
