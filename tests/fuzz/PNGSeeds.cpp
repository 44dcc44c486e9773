// Seeds for fuzz_png: small PNGs of every colour type and bit depth, with
// and without transparency and interlacing, written by libpng.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/fuzz/FuzzSeeds.h"
#include "tests/lice/PNGTestFiles.h"

namespace {

std::vector<unsigned char> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<FuzzSeed> MakeSeeds() {
  std::string folder = (std::filesystem::temp_directory_path() / "brimlow-seeds-XXXXXX").string();
  if (!mkdtemp(folder.data())) return {};
  struct Shape {
    const char* name;
    int colorType, bitDepth;
    bool interlaced, transparency;
  };
  const Shape shapes[] = {
      {"grey1", PNG_COLOR_TYPE_GRAY, 1, false, false},       {"grey4-trns", PNG_COLOR_TYPE_GRAY, 4, false, true},
      {"grey16", PNG_COLOR_TYPE_GRAY, 16, true, false},      {"greyalpha8", PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, false},
      {"rgb8-trns", PNG_COLOR_TYPE_RGB, 8, false, true},     {"rgb16", PNG_COLOR_TYPE_RGB, 16, false, false},
      {"rgba8", PNG_COLOR_TYPE_RGB_ALPHA, 8, true, false},   {"rgba16", PNG_COLOR_TYPE_RGB_ALPHA, 16, false, false},
      {"palette2", PNG_COLOR_TYPE_PALETTE, 2, false, true},  {"palette8", PNG_COLOR_TYPE_PALETTE, 8, true, true},
  };
  std::vector<FuzzSeed> seeds;
  for (const Shape& shape : shapes) {
    LiceTest::PNGDescription s;
    s.width = 9;
    s.height = 6;
    s.colorType = shape.colorType;
    s.bitDepth = shape.bitDepth;
    s.interlaced = shape.interlaced;
    const bool palette = shape.colorType == PNG_COLOR_TYPE_PALETTE;
    const int range = 1 << shape.bitDepth;
    const int values = s.width * s.height * LiceTest::ChannelCount(shape.colorType);
    for (int i = 0; i < values; ++i) s.samples.push_back((i * 2654435761u >> 7) % range);
    if (palette) {
      for (int i = 0; i < range; ++i) {
        s.palette.push_back({static_cast<png_byte>(i * 7), static_cast<png_byte>(i * 13), static_cast<png_byte>(255 - i)});
      }
      if (shape.transparency) s.paletteAlpha = {0, 128, 255};
    } else if (shape.transparency) {
      s.hasTransparentColor = true;
      s.transparentColor.gray = s.transparentColor.red = static_cast<png_uint_16>(s.samples[0]);
      s.transparentColor.green = static_cast<png_uint_16>(s.samples[1] % range);
      s.transparentColor.blue = static_cast<png_uint_16>(s.samples[2] % range);
    }
    const std::string path = folder + "/" + shape.name + ".png";
    if (!LiceTest::WritePNG(path, s)) {
      seeds.clear();
      break;
    }
    seeds.emplace_back(std::string(shape.name) + ".png", ReadAll(path));
  }
  if (!seeds.empty()) {
    // Cut short in the image data.
    std::vector<unsigned char> cut = seeds[6].second;
    cut.resize(cut.size() / 2);
    seeds.emplace_back("rgba8-cut.png", cut);
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return seeds;
}

const FuzzSeedRegistration kRegistration("fuzz_png", MakeSeeds);

}  // namespace
