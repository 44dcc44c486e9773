#pragma once

// PNG files for the loader's tests and fuzz seeds, written with libpng's
// write side from plain sample values, so that the expected pixels can be
// computed from the samples without the loader.

#include <png.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace LiceTest {

struct PNGDescription {
  int width = 1, height = 1;
  int colorType = PNG_COLOR_TYPE_RGB;
  int bitDepth = 8;
  bool interlaced = false;
  // Samples row by row, channel by channel, each below 2^bitDepth.
  std::vector<int> samples;
  std::vector<png_color> palette;
  std::vector<png_byte> paletteAlpha;  // tRNS of a palette image
  bool hasTransparentColor = false;    // tRNS of a grey or RGB image
  png_color_16 transparentColor = {};
};

inline int ChannelCount(int colorType) {
  switch (colorType) {
    case PNG_COLOR_TYPE_GRAY: return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    default: return 1;  // palette index
  }
}

// Packs the samples into PNG rows (big-endian 16-bit, sub-byte samples
// from the high bits) and writes the file. False on any failure.
inline bool WritePNG(const std::string& path, const PNGDescription& s) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  const int channels = ChannelCount(s.colorType);
  const size_t rowBytes = (static_cast<size_t>(s.width) * channels * s.bitDepth + 7) / 8;
  std::vector<std::vector<png_byte>> rows(s.height, std::vector<png_byte>(rowBytes, 0));
  for (int y = 0; y < s.height; ++y) {
    for (int i = 0; i < s.width * channels; ++i) {
      const int v = s.samples[static_cast<size_t>(y) * s.width * channels + i];
      if (s.bitDepth == 16) {
        rows[y][2 * i] = static_cast<png_byte>(v >> 8);
        rows[y][2 * i + 1] = static_cast<png_byte>(v & 0xff);
      } else if (s.bitDepth == 8) {
        rows[y][i] = static_cast<png_byte>(v);
      } else {
        const int bit = i * s.bitDepth;
        rows[y][bit / 8] |= static_cast<png_byte>(v << (8 - s.bitDepth - bit % 8));
      }
    }
  }
  std::vector<png_bytep> table;
  for (auto& r : rows) table.push_back(r.data());
  volatile bool ok = png && info;  // read again after a longjmp
  if (ok && setjmp(png_jmpbuf(png))) ok = false;
  if (ok) {
    png_init_io(png, f);
    png_set_IHDR(png, info, s.width, s.height, s.bitDepth, s.colorType,
                 s.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!s.palette.empty()) {
      png_set_PLTE(png, info, s.palette.data(), static_cast<int>(s.palette.size()));
    }
    if (!s.paletteAlpha.empty()) {
      png_set_tRNS(png, info, s.paletteAlpha.data(), static_cast<int>(s.paletteAlpha.size()), nullptr);
    }
    if (s.hasTransparentColor) png_set_tRNS(png, info, nullptr, 0, &s.transparentColor);
    png_write_info(png, info);
    if (s.interlaced) png_set_interlace_handling(png);
    png_write_image(png, table.data());
    png_write_end(png, nullptr);
  }
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0 && ok;
}

inline std::vector<unsigned char> Chunk(const char* type, const std::vector<unsigned char>& data) {
  std::vector<unsigned char> out;
  const uint32_t n = static_cast<uint32_t>(data.size());
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<unsigned char>(n >> (8 * i)));
  std::vector<unsigned char> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  const uint32_t crc = static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size())));
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<unsigned char>(crc >> (8 * i)));
  return out;
}

// A valid signature and header for a w x h RGBA image and a few bytes of
// image data, nowhere near enough.
inline std::vector<unsigned char> HeaderOnlyPNG(uint32_t w, uint32_t h) {
  std::vector<unsigned char> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  std::vector<unsigned char> ihdr;
  for (const uint32_t v : {w, h}) {
    for (int i = 3; i >= 0; --i) ihdr.push_back(static_cast<unsigned char>(v >> (8 * i)));
  }
  ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
  const auto a = Chunk("IHDR", ihdr);
  const auto b = Chunk("IDAT", {0x78, 0x9c, 0x63, 0x00});
  file.insert(file.end(), a.begin(), a.end());
  file.insert(file.end(), b.begin(), b.end());
  return file;
}

}  // namespace LiceTest
