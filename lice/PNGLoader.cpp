// PNG files through libpng's read side. The transformations are requested
// in a fixed order so that every colour type and bit depth arrives as 8-bit
// straight-alpha A, R, G, B.

#include <png.h>

#include <cctype>
#include <climits>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "lice/LICE_ImageLoader.h"
#include "lice/lice.h"

ImageLoaderRecord* ImageLoaderListHead = nullptr;

namespace {

// Everything from the header on; false on any failure. libpng's errors
// come back by longjmp to LICE_LoadPNG, past this frame, so what must be
// freed then is handed out through the volatile variables there before
// anything can fail.
bool ReadImage(png_structp png, png_infop info, FILE* file, LICE_IBitmap* bitmap, png_bytep* volatile& rows,
               LICE_IBitmap* volatile& created, LICE_IBitmap** result) {
  png_init_io(png, file);
  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colorType = 0, interlace = 0, compression = 0, filter = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, &compression, &filter);

  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) {
    png_set_tRNS_to_alpha(png);
    colorType |= PNG_COLOR_MASK_ALPHA;
  }
  if (bitDepth == 16) png_set_strip_16(png);
  if (bitDepth < 8) png_set_packing(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  if (colorType & PNG_COLOR_MASK_ALPHA) {
    png_set_swap_alpha(png);
  } else {
    png_set_filler(png, 0xff, PNG_FILLER_BEFORE);
  }

  // libpng takes images of up to 1,000,000 x 1,000,000 pixels; what a
  // bitmap cannot hold is refused before anything is allocated or written.
  if (width < 1 || height < 1 || static_cast<uint64_t>(width) * height * 4 > INT_MAX) return false;
  const int w = static_cast<int>(width);
  const int h = static_cast<int>(height);
  LICE_IBitmap* target = bitmap;
  if (target) {
    target->resize(w, h);
  } else {
    target = new (std::nothrow) LICE_MemBitmap(w, h, 4);
    created = target;
    if (!target) return false;
  }
  // A new bitmap is checked like the caller's: it may have failed to get
  // its memory.
  LICE_pixel* bits = target->getBits();
  if (target->getWidth() != w || target->getHeight() != h || !bits) return false;

  png_bytep* table = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * static_cast<size_t>(h)));
  rows = table;
  if (!table) return false;
  ptrdiff_t span = target->getRowSpan();
  if (target->isFlipped()) {
    bits += static_cast<ptrdiff_t>(h - 1) * span;
    span = -span;
  }
  for (int i = 0; i < h; ++i) table[i] = reinterpret_cast<png_bytep>(bits + i * span);
  png_read_image(png, table);  // interlaced files are assembled here
  *result = target;
  return true;
}

}  // namespace

LICE_IBitmap* LICE_LoadPNG(const char* path, LICE_IBitmap* bitmap) {
  if (!path) return nullptr;
  FILE* file = std::fopen(path, "rb");
  if (!file) return nullptr;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) {
    std::fclose(file);
    return nullptr;
  }
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    std::fclose(file);
    return nullptr;
  }
  // Set after the setjmp and read again after a jump: volatile, or their
  // values would be indeterminate there.
  png_bytep* volatile rows = nullptr;
  LICE_IBitmap* volatile created = nullptr;
  LICE_IBitmap* result = nullptr;
  bool ok = false;
  if (setjmp(png_jmpbuf(png)) == 0) ok = ReadImage(png, info, file, bitmap, rows, created, &result);
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
  std::free(rows);
  if (!ok) {
    // The caller's bitmap stays the caller's, with the rows decoded so far.
    delete created;
    return nullptr;
  }
  return result;
}

namespace {

// The header's size, held to what a bitmap can take; false on any failure.
bool ReadSize(png_structp png, png_infop info, FILE* file, int* width, int* height) {
  png_init_io(png, file);
  png_read_info(png, info);
  const png_uint_32 w = png_get_image_width(png, info);
  const png_uint_32 h = png_get_image_height(png, info);
  if (w < 1 || h < 1 || static_cast<uint64_t>(w) * h * 4 > INT_MAX) return false;
  *width = static_cast<int>(w);
  *height = static_cast<int>(h);
  return true;
}

}  // namespace

bool LICE_ReadPNGSize(const char* path, int* width, int* height) {
  if (!path || !width || !height) return false;
  FILE* file = std::fopen(path, "rb");
  if (!file) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool ok = false;
  if (info && setjmp(png_jmpbuf(png)) == 0) ok = ReadSize(png, info, file, width, height);
  if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
  std::fclose(file);
  return ok;
}

LICE_IBitmap* LICE_LoadPNGIfExtension(const char* path, bool checkExtension, LICE_IBitmap* bitmap) {
  if (!checkExtension) return LICE_LoadPNG(path, bitmap);
  if (!path) return nullptr;
  // The suffix starts at the last '.', '/' or '\\' after the first
  // character; with none, the whole path is the suffix.
  const size_t length = std::strlen(path);
  const char* suffix = path;
  for (size_t i = length; i-- > 1;) {
    if (path[i] == '.' || path[i] == '/' || path[i] == '\\') {
      suffix = path + i;
      break;
    }
  }
  const char* png = ".png";
  for (size_t i = 0;; ++i) {
    if (std::tolower(static_cast<unsigned char>(suffix[i])) != png[i]) return nullptr;
    if (!png[i]) break;
  }
  return LICE_LoadPNG(path, bitmap);
}

const char* LICE_PNGTypeDescription() { return "PNG files (*.PNG)\0*.PNG\0"; }

namespace {

ImageLoaderRecord gPNGLoader;

// Runs at start-up, before any loading, in this file so that every program
// that can load a PNG also registers the reader.
struct LICE_RegisterPNGLoader {
  LICE_RegisterPNGLoader() {
    gPNGLoader.loadfunc = LICE_LoadPNGIfExtension;
    gPNGLoader.get_extlist = LICE_PNGTypeDescription;
    gPNGLoader._next = ImageLoaderListHead;
    ImageLoaderListHead = &gPNGLoader;
  }
};
const LICE_RegisterPNGLoader kRegisterPNGLoader;

}  // namespace
