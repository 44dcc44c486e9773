// Text as the editor draws it: a readout label drawn with a real face on the
// native path (FreeType each time) and on the glyph path (cached coverage
// blended), opaque and at the display's half alpha, and measuring. Fonts and
// their glyph caches are made outside the timed loops.
#include <benchmark/benchmark.h>

#include "lice/DrawContext.h"
#include "lice/LICE_CachedFont.h"
#include "lice/lice.h"

namespace {

const char kLabel[] = "1.00 kHz  -6.0 dB  Q 0.71";

// flags: 0 native, 1 glyphs opaque, 2 glyphs at half alpha.
void BM_DrawLabel(benchmark::State& state) {
  const int path = static_cast<int>(state.range(0));
  LICE_CachedFont font;
  font.SetFromPlatformFont(CreateFont(-13, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Verdana"),
                           kFontOwnsPlatformFont | (path == 0 ? kFontPreferNative : 0));
  font.SetTextColor(LICE_RGBA(0xE8, 0xE0, 0xC8, path == 2 ? 128 : 255));
  LICE_SysBitmap surface(400, 40);
  LICE_Rect warm{0, 0, 400, 40};
  font.DrawText(&surface, kLabel, -1, &warm, path == 2 ? kDrawTextUseColorAlpha : 0);
  for (auto _ : state) {
    LICE_Rect r{4, 4, 396, 36};
    benchmark::DoNotOptimize(
        font.DrawText(&surface, kLabel, -1, &r, kDrawTextCenter | (path == 2 ? kDrawTextUseColorAlpha : 0)));
  }
  state.SetItemsProcessed(state.iterations() * (sizeof kLabel - 1));
}
BENCHMARK(BM_DrawLabel)->ArgName("path")->Arg(0)->Arg(1)->Arg(2);

void BM_MeasureLabel(benchmark::State& state) {
  const bool native = state.range(0) == 1;
  LICE_CachedFont font;
  font.SetFromPlatformFont(CreateFont(-13, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Verdana"),
                           kFontOwnsPlatformFont | (native ? kFontPreferNative : 0));
  for (auto _ : state) {
    LICE_Rect r{0, 0, 0, 0};
    benchmark::DoNotOptimize(font.DrawText(nullptr, kLabel, -1, &r, kDrawTextCalcRect));
  }
}
BENCHMARK(BM_MeasureLabel)->ArgName("native")->Arg(0)->Arg(1);

}  // namespace
