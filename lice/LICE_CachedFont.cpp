#include "lice/LICE_CachedFont.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "lice/DrawContext.h"
#include "lice/GlyphEffects.h"
#include "lice/LICE_SysBitmap.h"

int LICE_CachedFont::sInstanceCount = 0;
LICE_SysBitmap* LICE_CachedFont::sGlyphScratch = nullptr;
LICE_SysBitmap* LICE_CachedFont::sNativeScratch = nullptr;

namespace {

constexpr int kMaxRenderedLineHeight = 1023;

// Makes sure the glyph scratch exists and is at least size x size; a new
// context gets white text on a black box.
void EnsureGlyphScratch(LICE_SysBitmap*& scratch, int size) {
  if (!scratch) scratch = new LICE_SysBitmap(0, 0);
  if (scratch->getWidth() >= size && scratch->getHeight() >= size) return;
  scratch->resize(size, size);
  if (DrawContext* dc = scratch->getDC()) {
    SetDCTextColor(dc, 0xFFFFFF);
    SetDCBkMode(dc, 1);
    SetDCBkColor(dc, 0);
  }
}

int EncodeUTF8(int c, char* out) {
  int n;
  if (c < 0x80) {
    out[0] = static_cast<char>(c);
    n = 1;
  } else if (c < 0x800) {
    out[0] = static_cast<char>(0xC0 | (c >> 6));
    out[1] = static_cast<char>(0x80 | (c & 0x3F));
    n = 2;
  } else {
    out[0] = static_cast<char>(0xE0 | ((c >> 12) & 0x0F));
    out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (c & 0x3F));
    n = 3;
  }
  out[n] = '\0';
  return n;
}

}  // namespace

LICE_CachedFont::LICE_CachedFont() { ++sInstanceCount; }

LICE_CachedFont::~LICE_CachedFont() {
  if ((mFlags & kFontOwnsPlatformFont) && mFont) DeleteDrawObject(mFont);
  if (--sInstanceCount == 0) {
    delete sGlyphScratch;
    delete sNativeScratch;
    sGlyphScratch = sNativeScratch = nullptr;
  }
}

LICE_pixel LICE_CachedFont::SetTextColor(LICE_pixel color) { return std::exchange(mTextColor, color); }
LICE_pixel LICE_CachedFont::SetBkColor(LICE_pixel color) { return std::exchange(mBkColor, color); }
LICE_pixel LICE_CachedFont::SetEffectColor(LICE_pixel color) { return std::exchange(mEffectColor, color); }
int LICE_CachedFont::SetBkMode(int mode) { return std::exchange(mBkMode, mode); }

void LICE_CachedFont::SetCombineMode(int mode, float alpha) {
  mCombineMode = mode;
  mAlpha = alpha;
}

void LICE_CachedFont::SetFromPlatformFont(DrawObject* font, int fontFlags) {
  if ((mFlags & kFontOwnsPlatformFont) && mFont && mFont != font) DeleteDrawObject(mFont);
  mFlags = fontFlags;
  mFont = font;
  if (font) {
    EnsureGlyphScratch(sGlyphScratch, 256);
    DrawContext* dc = sGlyphScratch->getDC();
    DrawObject* previous = SelectDrawObject(dc, font);
    TextMetrics tm{};
    GetTextMetrics(dc, &tm);
    SelectDrawObject(dc, previous);
    mLineHeight = tm.mHeight;
  }
  std::memset(mLowChars, 0, sizeof(mLowChars));
  mExtendedChars.Resize(0, false);
  mCoverage.Resize(0, true);
  if (mFlags & kFontRenderAllAtOnce) {
    for (int c = 0; c < 128; ++c) RenderGlyph(c);
  }
}

const LICE_CachedFont::GlyphEntry* LICE_CachedFont::FindGlyph(int character) const {
  if (character >= 0 && character < 128) return &mLowChars[character];
  const GlyphEntry* list = mExtendedChars.Get();
  const int n = mExtendedChars.GetSize();
  if (!list || n == 0) return nullptr;
  int lo = 0, hi = n;
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    const int cmp = character - list[mid].character;
    if (cmp == 0) return &list[mid];
    if (cmp < 0) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  return nullptr;
}

LICE_CachedFont::GlyphEntry* LICE_CachedFont::FindGlyphEntry(int character) {
  return const_cast<GlyphEntry*>(FindGlyph(character));
}

const unsigned char* LICE_CachedFont::GlyphCoverage(const GlyphEntry* entry) const {
  if (!entry || entry->position <= 0 || entry->position - 1 >= mCoverage.GetSize()) return nullptr;
  return static_cast<const unsigned char*>(mCoverage.Get()) + entry->position - 1;
}

bool LICE_CachedFont::RenderGlyph(int character) {
  if (mLineHeight > kMaxRenderedLineHeight) return false;
  GlyphEntry* entry = FindGlyphEntry(character);
  bool appended = false;
  if (!entry) {
    if (mFlags & kFontRenderAllAtOnce) return false;
    const int n = mExtendedChars.GetSize();
    mExtendedChars.Resize(n + 1, false);
    if (mExtendedChars.GetSize() != n + 1) return false;
    entry = mExtendedChars.Get() + n;
    *entry = GlyphEntry{0, 0, 0, 0, character};
    appended = true;
  }

  const int scratchSize = mLineHeight > 0 ? 2 * mLineHeight + 8 : 10;
  EnsureGlyphScratch(sGlyphScratch, scratchSize);
  LICE_SysBitmap* scratch = sGlyphScratch;
  DrawContext* dc = scratch->getDC();
  DrawObject* previous = mFont ? SelectDrawObject(dc, mFont) : nullptr;

  char utf8[4];
  EncodeUTF8(character, utf8);
  DrawRect r{0, 0, 0, 0};
  DrawTextCT(dc, utf8, -1, &r, kDrawTextCalcRect | kDrawTextSingleLine | kDrawTextNoPrefix);
  int w = r.right, h = r.bottom;
  const int padding = mLineHeight >= 16 ? mLineHeight / 16 + 2 : 2;
  r.right = w + padding;
  LICE_FillRect(scratch, 0, 0, w + padding, h, 0, 1.0f, LICE_BLIT_MODE_COPY);
  DrawTextCT(dc, utf8, -1, &r, kDrawTextSingleLine | kDrawTextNoPrefix);
  w = std::min(w, scratch->getWidth());
  const int right = std::min(r.right, scratch->getWidth());
  h = std::min(h, scratch->getHeight());
  if (mFont) SelectDrawObject(dc, previous);

  if (w > 0 && h > 0 && scratch->getBits()) {
    entry->advance = w;
    if (mFlags & kFontBlur) LICE_BlurRect(scratch, scratch, 0, 0, 0, 0, right, h);
    const int start = mCoverage.GetSize();
    const int bytes = h * right;
    mCoverage.Resize(start + bytes, false);
    if (mCoverage.GetSize() == start + bytes) {
      unsigned char* image = static_cast<unsigned char*>(mCoverage.Get()) + start;
      const LICE_pixel* bits = scratch->getBits();
      const int span = scratch->getRowSpan();
      const bool invert = (mFlags & kFontInvert) != 0;
      int used = w;
      for (int y = 0; y < h; ++y) {
        const int row = scratch->isFlipped() ? scratch->getHeight() - 1 - y : y;
        const LICE_pixel* src = bits + static_cast<ptrdiff_t>(row) * span;
        for (int x = 0; x < right; ++x) {
          const int v = LICE_GETR(src[x]);
          image[y * right + x] = static_cast<unsigned char>(invert ? 255 - v : v);
          if (v && x >= used) used = x + 1;
        }
      }
      if (used < right) {
        for (int y = 1; y < h; ++y) std::memmove(image + y * used, image + y * right, used);
        mCoverage.Resize(start + used * h, false);
      }
      int width = used, height = h;
      if (mFlags & kFontVertical) {
        // The scratch's pixels serve as the temporary copy; they hold at
        // least s * s * 4 bytes, the image at most s * s.
        auto* temp = reinterpret_cast<unsigned char*>(scratch->getBits());
        std::memcpy(temp, image, static_cast<size_t>(width) * height);
        RotateCoverage(temp, width, height, (mFlags & kFontBottomUp) != 0, image);
        std::swap(width, height);
      }
      if (mFlags & kFontMonochrome) ThresholdCoverage(image, width * height);
      if (mFlags & kFontShadow) {
        AddShadow(image, width, height);
      } else if (mFlags & kFontOutline) {
        AddOutline(image, width, height);
      }
      entry->position = start + 1;
      entry->width = width;
      entry->height = height;
    } else {
      *entry = GlyphEntry{-1, 0, 0, 0, entry->character};
    }
  } else {
    *entry = GlyphEntry{-1, 0, 0, 0, entry->character};
  }

  if (appended && mExtendedChars.GetSize() >= 2) {
    GlyphEntry* list = mExtendedChars.Get();
    std::sort(list, list + mExtendedChars.GetSize(),
              [](const GlyphEntry& a, const GlyphEntry& b) { return a.character < b.character; });
  }
  return true;
}
