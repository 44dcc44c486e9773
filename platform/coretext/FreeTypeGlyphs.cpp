#include "platform/coretext/FreeTypeGlyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <mutex>

namespace platform {

namespace {

// One library for the process. Faces are used by one thread at a time, but
// creating and freeing them touches the library, hence the lock.
std::mutex& LibraryMutex() {
  static std::mutex mutex;
  return mutex;
}

FT_Library Library() {
  static FT_Library library = [] {
    FT_Library lib = nullptr;
    return FT_Init_FreeType(&lib) == 0 ? lib : nullptr;
  }();
  return library;
}

double Pixels26Dot6(long v) { return static_cast<double>(v) / 64.0; }

constexpr size_t kMaxCachedGlyphs = 4096;

}  // namespace

FreeTypeGlyphs* FreeTypeGlyphs::Load(const std::string& file, int index, double size,
                                     const std::string& postScriptName) {
  if (!(size >= 1.0 && size <= 16384.0)) return nullptr;
  FT_Face face = nullptr;
  {
    std::lock_guard<std::mutex> lock(LibraryMutex());
    FT_Library library = Library();
    if (!library || FT_New_Face(library, file.c_str(), index, &face) != 0) return nullptr;
  }
  if (FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(size * 64.0)), 72, 72) != 0) {
    std::lock_guard<std::mutex> lock(LibraryMutex());
    FT_Done_Face(face);
    return nullptr;
  }
  return new FreeTypeGlyphs(face, postScriptName);
}

FreeTypeGlyphs::FreeTypeGlyphs(FT_Face face, const std::string& postScriptName)
    : mFace(face), mPostScriptName(postScriptName) {
  const FT_Size_Metrics& m = face->size->metrics;
  mAscent = std::ceil(Pixels26Dot6(m.ascender));
  mDescent = std::ceil(-Pixels26Dot6(m.descender));
  mLeading = std::max(0.0, std::round(Pixels26Dot6(m.height)) - mAscent - mDescent);
  if (mPostScriptName.empty()) {
    const char* ps = FT_Get_Postscript_Name(face);
    if (ps) mPostScriptName = ps;
  }
}

FreeTypeGlyphs::~FreeTypeGlyphs() {
  std::lock_guard<std::mutex> lock(LibraryMutex());
  FT_Done_Face(mFace);
}

// Hinted advances are whole pixels, so measured widths and drawn pens agree.
double FreeTypeGlyphs::Advance(uint32_t codePoint) {
  const auto cached = mAdvances.find(codePoint);
  if (cached != mAdvances.end()) return cached->second;
  const double advance = FT_Load_Char(mFace, codePoint, FT_LOAD_DEFAULT) == 0
                             ? std::round(Pixels26Dot6(mFace->glyph->advance.x))
                             : 0.0;
  if (mAdvances.size() >= kMaxCachedGlyphs) mAdvances.clear();
  mAdvances.emplace(codePoint, advance);
  return advance;
}

bool FreeTypeGlyphs::Render(uint32_t codePoint, bool antialias, GlyphCoverage* out) {
  const uint64_t key = (static_cast<uint64_t>(codePoint) << 1) | (antialias ? 1 : 0);
  const auto cached = mImages.find(key);
  if (cached != mImages.end()) {
    *out = cached->second;
    return out->width > 0;
  }
  if (mImages.size() >= kMaxCachedGlyphs) mImages.clear();
  GlyphCoverage& image = mImages[key];  // stays empty when there is no image
  if (!RenderUncached(codePoint, antialias, &image)) {
    image = GlyphCoverage();
    return false;
  }
  *out = image;
  return true;
}

bool FreeTypeGlyphs::RenderUncached(uint32_t codePoint, bool antialias, GlyphCoverage* out) {
  const FT_Int32 flags =
      FT_LOAD_RENDER | (antialias ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME);
  if (FT_Load_Char(mFace, codePoint, flags) != 0) return false;
  const FT_GlyphSlot slot = mFace->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.width == 0 || bitmap.rows == 0 || !bitmap.buffer) return false;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return false;
  out->left = slot->bitmap_left;
  out->top = slot->bitmap_top;
  out->width = static_cast<int>(bitmap.width);
  out->height = static_cast<int>(bitmap.rows);
  out->coverage.assign(static_cast<size_t>(out->width) * out->height, 0);
  for (int y = 0; y < out->height; ++y) {
    const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
    unsigned char* dst = out->coverage.data() + static_cast<size_t>(y) * out->width;
    for (int x = 0; x < out->width; ++x) {
      if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
        dst[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
      } else {
        dst[x] = row[x];  // 256 grey levels, 0..255
      }
    }
  }
  return true;
}

}  // namespace platform
