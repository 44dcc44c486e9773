#include <gtest/gtest.h>
#include <zlib.h>

#include <climits>
#include <cstring>
#include <memory>
#include <random>

#include "lice/LICE_ImageLoader.h"
#include "lice/lice.h"
#include "tests/ScratchFolder.h"
#include "tests/lice/LiceTestSupport.h"
#include "tests/lice/PNGTestFiles.h"

namespace {

using LiceTest::At;
using LiceTest::PNGDescription;

struct FormatCase {
  const char* name;
  int colorType, bitDepth;
  bool interlaced, transparency;
};

// A sample stretched to 8 bits as the PNG standard's bit replication does:
// 1-bit 0/255, 2-bit times 85, 4-bit times 17; 16-bit keeps its high byte.
int To8Bits(int v, int depth) {
  if (depth == 16) return v >> 8;
  return v * 255 / ((1 << depth) - 1);
}

PNGDescription MakeDescription(const FormatCase& c, unsigned seed) {
  PNGDescription s;
  s.width = 7;
  s.height = 5;
  s.colorType = c.colorType;
  s.bitDepth = c.bitDepth;
  s.interlaced = c.interlaced;
  std::mt19937 rng(seed);
  const int channels = LiceTest::ChannelCount(c.colorType);
  const int entries = c.colorType == PNG_COLOR_TYPE_PALETTE ? (1 << c.bitDepth) : 0;
  for (int i = 0; i < s.width * s.height * channels; ++i) {
    const int range = entries ? entries : (1 << c.bitDepth);
    s.samples.push_back(static_cast<int>(rng() % static_cast<unsigned>(range)));
  }
  for (int i = 0; i < entries; ++i) {
    s.palette.push_back({static_cast<png_byte>(rng()), static_cast<png_byte>(rng()), static_cast<png_byte>(rng())});
  }
  if (c.transparency) {
    if (entries) {
      // Alphas for the first half of the palette; the rest stays opaque.
      for (int i = 0; i < (entries + 1) / 2; ++i) s.paletteAlpha.push_back(static_cast<png_byte>(rng()));
    } else {
      // The colour of the first pixel becomes transparent.
      s.hasTransparentColor = true;
      if (c.colorType == PNG_COLOR_TYPE_GRAY) {
        s.transparentColor.gray = static_cast<png_uint_16>(s.samples[0]);
      } else {
        s.transparentColor.red = static_cast<png_uint_16>(s.samples[0]);
        s.transparentColor.green = static_cast<png_uint_16>(s.samples[1]);
        s.transparentColor.blue = static_cast<png_uint_16>(s.samples[2]);
      }
    }
  }
  return s;
}

// The straight-alpha pixel the described samples stand for.
LICE_pixel Expected(const PNGDescription& s, int x, int y) {
  const int channels = LiceTest::ChannelCount(s.colorType);
  const int* v = &s.samples[(static_cast<size_t>(y) * s.width + x) * channels];
  const int d = s.bitDepth;
  switch (s.colorType) {
    case PNG_COLOR_TYPE_GRAY: {
      const int g = To8Bits(v[0], d);
      const bool clear = s.hasTransparentColor && v[0] == s.transparentColor.gray;
      return LICE_RGBA(g, g, g, clear ? 0 : 255);
    }
    case PNG_COLOR_TYPE_GRAY_ALPHA: {
      const int g = To8Bits(v[0], d);
      return LICE_RGBA(g, g, g, To8Bits(v[1], d));
    }
    case PNG_COLOR_TYPE_RGB: {
      const bool clear = s.hasTransparentColor && v[0] == s.transparentColor.red &&
                         v[1] == s.transparentColor.green && v[2] == s.transparentColor.blue;
      return LICE_RGBA(To8Bits(v[0], d), To8Bits(v[1], d), To8Bits(v[2], d), clear ? 0 : 255);
    }
    case PNG_COLOR_TYPE_RGB_ALPHA:
      return LICE_RGBA(To8Bits(v[0], d), To8Bits(v[1], d), To8Bits(v[2], d), To8Bits(v[3], d));
    default: {
      const png_color& e = s.palette[v[0]];
      const int a = v[0] < static_cast<int>(s.paletteAlpha.size()) ? s.paletteAlpha[v[0]] : 255;
      return LICE_RGBA(e.red, e.green, e.blue, a);
    }
  }
}

class PNGFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(PNGFormats, ArriveAsStraightAlphaARGB) {
  const FormatCase c = GetParam();
  ScratchFolder folder;
  ASSERT_TRUE(folder.Ok());
  const PNGDescription image = MakeDescription(c, 100 + c.bitDepth + 7 * c.colorType);
  const std::string path = folder.PathOf("image.png");
  ASSERT_TRUE(LiceTest::WritePNG(path, image));

  std::unique_ptr<LICE_IBitmap> bm(LICE_LoadPNG(path.c_str(), nullptr));
  ASSERT_NE(bm, nullptr);
  ASSERT_EQ(bm->getWidth(), image.width);
  ASSERT_EQ(bm->getHeight(), image.height);
  EXPECT_EQ(bm->getRowSpan(), 8);  // a new bitmap aligns its rows to 4 pixels
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      EXPECT_EQ(At(bm.get(), x, y), Expected(image, x, y)) << x << "," << y;
    }
  }
  // Into a bottom-up bitmap of the image's size: image row 0 is its top row.
  LiceTest::FlippedBitmap flipped(image.width, image.height);
  ASSERT_EQ(LICE_LoadPNG(path.c_str(), &flipped), &flipped);
  EXPECT_EQ(LiceTest::Pixels(&flipped), LiceTest::Pixels(bm.get()));
  EXPECT_TRUE(flipped.PaddingIntact());
}

INSTANTIATE_TEST_SUITE_P(
    Formats, PNGFormats,
    ::testing::Values(FormatCase{"Grey1", PNG_COLOR_TYPE_GRAY, 1, false, false},
                      FormatCase{"Grey2", PNG_COLOR_TYPE_GRAY, 2, false, false},
                      FormatCase{"Grey4", PNG_COLOR_TYPE_GRAY, 4, false, false},
                      FormatCase{"Grey8", PNG_COLOR_TYPE_GRAY, 8, false, false},
                      FormatCase{"Grey16", PNG_COLOR_TYPE_GRAY, 16, false, false},
                      FormatCase{"Grey8Transparent", PNG_COLOR_TYPE_GRAY, 8, false, true},
                      FormatCase{"Grey2Transparent", PNG_COLOR_TYPE_GRAY, 2, false, true},
                      FormatCase{"Grey16Transparent", PNG_COLOR_TYPE_GRAY, 16, false, true},
                      FormatCase{"GreyAlpha8", PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, false},
                      FormatCase{"GreyAlpha16", PNG_COLOR_TYPE_GRAY_ALPHA, 16, false, false},
                      FormatCase{"RGB8", PNG_COLOR_TYPE_RGB, 8, false, false},
                      FormatCase{"RGB16", PNG_COLOR_TYPE_RGB, 16, false, false},
                      FormatCase{"RGB8Transparent", PNG_COLOR_TYPE_RGB, 8, false, true},
                      FormatCase{"RGBA8", PNG_COLOR_TYPE_RGB_ALPHA, 8, false, false},
                      FormatCase{"RGBA16", PNG_COLOR_TYPE_RGB_ALPHA, 16, false, false},
                      FormatCase{"Palette1", PNG_COLOR_TYPE_PALETTE, 1, false, false},
                      FormatCase{"Palette2", PNG_COLOR_TYPE_PALETTE, 2, false, false},
                      FormatCase{"Palette4Transparent", PNG_COLOR_TYPE_PALETTE, 4, false, true},
                      FormatCase{"Palette8Transparent", PNG_COLOR_TYPE_PALETTE, 8, false, true},
                      FormatCase{"RGBA8Interlaced", PNG_COLOR_TYPE_RGB_ALPHA, 8, true, false},
                      FormatCase{"Grey4Interlaced", PNG_COLOR_TYPE_GRAY, 4, true, false},
                      FormatCase{"Palette8Interlaced", PNG_COLOR_TYPE_PALETTE, 8, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LoadPNG, HalfTransparentRedKeepsItsAlphaUnpremultiplied) {
  ScratchFolder folder;
  PNGDescription s;
  s.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
  s.samples = {255, 0, 0, 128};
  const std::string path = folder.PathOf("red.png");
  ASSERT_TRUE(LiceTest::WritePNG(path, s));
  std::unique_ptr<LICE_IBitmap> bm(LICE_LoadPNG(path.c_str(), nullptr));
  ASSERT_NE(bm, nullptr);
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(bm->getBits());
  EXPECT_EQ(bytes[0], 128);  // A, R, G, B in memory
  EXPECT_EQ(bytes[1], 255);
  EXPECT_EQ(bytes[2], 0);
  EXPECT_EQ(bytes[3], 0);
}

TEST(LoadPNG, CallersBitmapIsResizedAndReturned) {
  ScratchFolder folder;
  PNGDescription s = MakeDescription({"", PNG_COLOR_TYPE_RGB, 8, false, false}, 5);
  const std::string path = folder.PathOf("rgb.png");
  ASSERT_TRUE(LiceTest::WritePNG(path, s));
  LICE_MemBitmap bm(40, 2, 4);
  EXPECT_EQ(LICE_LoadPNG(path.c_str(), &bm), &bm);
  EXPECT_EQ(bm.getWidth(), 7);
  EXPECT_EQ(bm.getHeight(), 5);
  EXPECT_EQ(At(&bm, 6, 4), Expected(s, 6, 4));
  // A bitmap that cannot take the size is refused and stays the caller's.
  LiceTest::FlippedBitmap fixed(3, 3);
  EXPECT_EQ(LICE_LoadPNG(path.c_str(), &fixed), nullptr);
  EXPECT_TRUE(fixed.PaddingIntact());
}

TEST(LoadPNG, ImagesTooLargeForABitmapAreRefusedBeforeAnyAllocation) {
  ScratchFolder folder;
  // libpng's own limit is 1,000,000 on each side; 32768 x 16384 pixels is
  // 2^31 bytes, one past INT_MAX.
  for (const auto& size : {std::make_pair(1000000u, 1000000u), std::make_pair(32768u, 16384u)}) {
    const std::string path = folder.Write("big.png", LiceTest::HeaderOnlyPNG(size.first, size.second));
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(LICE_LoadPNG(path.c_str(), nullptr), nullptr);
    LICE_MemBitmap mine(4, 4, 4);
    LiceTest::FillAll(&mine, 0x12345678u);
    EXPECT_EQ(LICE_LoadPNG(path.c_str(), &mine), nullptr);
    EXPECT_EQ(mine.getWidth(), 4);  // not even resized
    EXPECT_EQ(At(&mine, 3, 3), 0x12345678u);
  }
}

TEST(LoadPNG, BrokenFilesReturnNull) {
  ScratchFolder folder;
  EXPECT_EQ(LICE_LoadPNG(folder.PathOf("missing.png").c_str(), nullptr), nullptr);
  EXPECT_EQ(LICE_LoadPNG(nullptr, nullptr), nullptr);
  const std::string text = folder.Write("text.png", {'h', 'e', 'l', 'l', 'o'});
  EXPECT_EQ(LICE_LoadPNG(text.c_str(), nullptr), nullptr);
  const std::string empty = folder.Write("empty.png", {});
  EXPECT_EQ(LICE_LoadPNG(empty.c_str(), nullptr), nullptr);

  // Truncated in the image data: a bitmap the call made is freed (ASan
  // would see a leak), the caller's survives with the rows read so far.
  PNGDescription s = MakeDescription({"", PNG_COLOR_TYPE_RGB_ALPHA, 8, false, false}, 9);
  s.width = 64;
  s.height = 64;
  s.samples.resize(64 * 64 * 4);
  for (size_t i = 0; i < s.samples.size(); ++i) s.samples[i] = static_cast<int>((i * 7919) % 256);
  const std::string whole = folder.PathOf("whole.png");
  ASSERT_TRUE(LiceTest::WritePNG(whole, s));
  FILE* f = std::fopen(whole.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  std::vector<unsigned char> bytes(20000);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  std::fclose(f);
  bytes.resize(bytes.size() * 2 / 3);
  const std::string cut = folder.Write("cut.png", bytes);
  EXPECT_EQ(LICE_LoadPNG(cut.c_str(), nullptr), nullptr);
  LICE_MemBitmap mine(1, 1, 4);
  EXPECT_EQ(LICE_LoadPNG(cut.c_str(), &mine), nullptr);
  EXPECT_EQ(mine.getWidth(), 64);
  LICE_FillRect(&mine, 0, 0, 64, 64, 0, 1.0f, 0);  // still the caller's to use
}

TEST(LoadPNGIfExtension, OnlyNamesEndingInPngAreTried) {
  ScratchFolder folder;
  PNGDescription s = MakeDescription({"", PNG_COLOR_TYPE_GRAY, 8, false, false}, 2);
  ASSERT_TRUE(std::filesystem::create_directories(folder.PathOf("a/b")));
  ASSERT_TRUE(std::filesystem::create_directories(folder.PathOf("dir.png")));
  for (const char* name : {"a/b/image.PNG", "x.png", "image.png.bak", "dir.png/file", "png"}) {
    ASSERT_TRUE(LiceTest::WritePNG(folder.PathOf(name), s)) << name;
  }
  struct Case {
    const char* name;
    bool loaded;
  } cases[] = {{"a/b/image.PNG", true}, {"x.png", true}, {"image.png.bak", false}, {"dir.png/file", false},
               {"png", false}};
  for (const Case& c : cases) {
    const std::string path = folder.PathOf(c.name);
    std::unique_ptr<LICE_IBitmap> checked(LICE_LoadPNGIfExtension(path.c_str(), true, nullptr));
    EXPECT_EQ(checked != nullptr, c.loaded) << c.name;
    std::unique_ptr<LICE_IBitmap> unchecked(LICE_LoadPNGIfExtension(path.c_str(), false, nullptr));
    EXPECT_NE(unchecked, nullptr) << c.name;
  }
  // A bare name: the whole of it is the suffix.
  EXPECT_EQ(LICE_LoadPNGIfExtension(".png", true, nullptr), nullptr);  // no such file, but tried
  EXPECT_EQ(LICE_LoadPNGIfExtension("", true, nullptr), nullptr);
  EXPECT_EQ(LICE_LoadPNGIfExtension(nullptr, true, nullptr), nullptr);
}

TEST(ImageLoaderList, PNGReaderIsRegisteredAtStartUp) {
  bool found = false;
  for (const ImageLoaderRecord* r = ImageLoaderListHead; r; r = r->_next) {
    if (r->loadfunc == LICE_LoadPNGIfExtension) {
      found = true;
      EXPECT_EQ(r->get_extlist, LICE_PNGTypeDescription);
    }
  }
  EXPECT_TRUE(found);
  const char* list = LICE_PNGTypeDescription();
  EXPECT_STREQ(list, "PNG files (*.PNG)");
  list += std::strlen(list) + 1;
  EXPECT_STREQ(list, "*.PNG");
  list += std::strlen(list) + 1;
  EXPECT_STREQ(list, "");
}

}  // namespace
