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
bool WriteRows(png_structp png, png_infop info, FILE* file, png_bytep* rows, int width, int height) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

bool WriteXRGBAsPNG(FILE* file, const uint8_t* pixels, int width, int height, size_t bytesPerRow) {
  if (!file || !pixels || width <= 0 || height <= 0 || bytesPerRow < static_cast<size_t>(width) * 4) return false;
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
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  const bool ok = info && WriteRows(png, info, file, rows.data(), width, height);
  png_destroy_write_struct(&png, info ? &info : nullptr);
  return ok && std::ferror(file) == 0;
}
