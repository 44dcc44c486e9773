// Text drawing on arbitrary bytes: the drawing-context layer's cleaning and
// layout and the cached fonts' UTF-8 walk, with the deterministic test font.
// The first two bytes choose the draw flags and the font flags.

#include <cstdint>
#include <cstring>
#include <string>

#include "lice/DrawContext.h"
#include "lice/LICE_CachedFont.h"
#include "lice/lice.h"
#include "platform/coretext/Font.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

constexpr int kW = 48, kH = 32;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2 || size > 8192) return 0;
  platform::SetTestFontEnabled(true);
  const int drawFlags = (data[0] & 0x7F) | ((data[0] & 0x80) ? kDrawTextNoClip : 0);
  const int fontFlags = data[1] & 0xF7;  // every effect, never all glyphs at once
  const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
  const int count = (data[0] & 1) ? -1 : static_cast<int>(text.size());

  DrawContext* ctx = CreateMemContext(kW, kH);
  FUZZ_CHECK(ctx);
  DrawObject* font = CreateFont(-11, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Fuzz");
  SelectDrawObject(ctx, font);
  DrawRect r{3, 2, 40, 30};
  const int measured = DrawTextCT(ctx, text.c_str(), count, &r, drawFlags | kDrawTextCalcRect);
  FUZZ_CHECK(measured >= 0);
  FUZZ_CHECK(measured == 0 || r.bottom - r.top == measured);
  FUZZ_CHECK(r.right >= r.left);
  DrawRect d{3, 2, 40, 30};
  FUZZ_CHECK(DrawTextCT(ctx, text.c_str(), count, &d, drawFlags & ~kDrawTextCalcRect) == measured);
  DeleteDrawContext(ctx);

  {
    LICE_CachedFont cached;
    cached.SetFromPlatformFont(font, fontFlags | kFontOwnsPlatformFont);
    cached.SetTextColor(LICE_RGBA(200, 100, 50, 160));
    LICE_MemBitmap bitmap(kW, kH, 4);
    LICE_SysBitmap surface(kW, kH);
    for (unsigned int flags : {0u, kDrawTextUseColorAlpha, kDrawTextGlyphPath}) {
      LICE_Rect m{1, 1, 1, 1};
      const int h = cached.DrawText(nullptr, text.c_str(), count, &m, flags | kDrawTextCalcRect | (drawFlags & 0x40));
      FUZZ_CHECK(h >= 0 && m.right >= m.left && m.bottom >= m.top);
      LICE_Rect a{-5, 3, 40, 30};
      cached.DrawText(&bitmap, text.c_str(), count, &a, flags | static_cast<unsigned int>(drawFlags & ~1));
      cached.DrawText(&surface, text.c_str(), count, &a, flags | static_cast<unsigned int>(drawFlags & ~1));
    }
  }
  platform::SetTestFontEnabled(false);
  return 0;
}
