#include "tools/PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <vector>

namespace {

// libpng reports errors by calling back; the callback jumps out of the
// writer to the setjmp below, past nothing that needs destroying.
void OnError(png_structp png, png_const_charp) { std::longjmp(png_jmpbuf(png), 1); }
void OnWarning(png_structp, png_const_charp) {}

// Kept apart from the function with the setjmp: its locals are trivial.
// A compression level below 0 leaves libpng's default.
bool WriteRows(png_structp png, png_infop info, FILE* file, png_bytep* rows, int width, int height, int colorType,
               int compressionLevel) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, colorType,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (compressionLevel >= 0) png_set_compression_level(png, compressionLevel);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  return true;
}

bool Write(FILE* file, std::vector<png_bytep>& rows, int width, int height, int colorType, int compressionLevel) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  const bool ok = info && WriteRows(png, info, file, rows.data(), width, height, colorType, compressionLevel);
  png_destroy_write_struct(&png, info ? &info : nullptr);
  return ok && std::ferror(file) == 0;
}

bool Acceptable(FILE* file, const uint8_t* pixels, int width, int height, size_t bytesPerRow) {
  return file && pixels && width > 0 && height > 0 && bytesPerRow >= static_cast<size_t>(width) * 4;
}

}  // namespace

bool WriteXRGBAsPNG(FILE* file, const uint8_t* pixels, int width, int height, size_t bytesPerRow) {
  if (!Acceptable(file, pixels, width, height, bytesPerRow)) return false;
  std::vector<png_byte> rgb(static_cast<size_t>(width) * height * 3);
  std::vector<png_bytep> rows(static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    const uint8_t* in = pixels + static_cast<size_t>(y) * bytesPerRow;
    png_byte* out = &rgb[static_cast<size_t>(y) * width * 3];
    rows[static_cast<size_t>(y)] = out;
    for (int x = 0; x < width; ++x, in += 4, out += 3) {
      out[0] = in[1];
      out[1] = in[2];
      out[2] = in[3];
    }
  }
  return Write(file, rows, width, height, PNG_COLOR_TYPE_RGB, -1);
}

bool WriteRGBAAsPNG(FILE* file, const uint8_t* pixels, int width, int height, size_t bytesPerRow,
                    int compressionLevel) {
  if (!Acceptable(file, pixels, width, height, bytesPerRow) || compressionLevel < 0 || compressionLevel > 9) {
    return false;
  }
  // libpng only reads the rows.
  std::vector<png_bytep> rows(static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    rows[static_cast<size_t>(y)] = const_cast<png_bytep>(pixels + static_cast<size_t>(y) * bytesPerRow);
  }
  return Write(file, rows, width, height, PNG_COLOR_TYPE_RGB_ALPHA, compressionLevel);
}
