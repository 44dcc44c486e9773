// The raster library at editor size: the whole 1744 x 1264 editor surface
// scaled with the filter bit (the image cache's work on a GUI scale
// change) and copied, and the many antialiased lines and discs the
// display draws, and the artwork blits and fills of every frame. Inputs are
// prepared outside the timed loops.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "lice/lice.h"

namespace {

constexpr int kEditorWidth = 1744;
constexpr int kEditorHeight = 1264;

void FillNoise(LICE_IBitmap* bm, unsigned seed) {
  std::mt19937 rng(seed);
  LICE_pixel* bits = bm->getBits();
  for (int y = 0; y < bm->getHeight(); ++y) {
    for (int x = 0; x < bm->getWidth(); ++x) bits[y * bm->getRowSpan() + x] = static_cast<LICE_pixel>(rng());
  }
}

// Scaling the editor-sized image down by the factor given in percent (the
// kernel paths below 1/1.7, bilinear above) and up to 1.5 times.
void BM_ScaledBlitFiltered(benchmark::State& state) {
  const double scale = state.range(0) / 100.0;
  const int w = static_cast<int>(kEditorWidth * scale), h = static_cast<int>(kEditorHeight * scale);
  LICE_MemBitmap src(kEditorWidth, kEditorHeight, 4), dest(w, h, 4);
  FillNoise(&src, 1);
  for (auto _ : state) {
    LICE_ScaledBlit(&dest, &src, 0, 0, w, h, 0.0f, 0.0f, kEditorWidth, kEditorHeight, 1.0f,
                    LICE_BLIT_MODE_COPY | LICE_BLIT_FILTER_BILINEAR);
    benchmark::DoNotOptimize(dest.getBits());
  }
  state.SetItemsProcessed(state.iterations() * w * h);
}
BENCHMARK(BM_ScaledBlitFiltered)->ArgName("percent")->Arg(25)->Arg(50)->Arg(75)->Arg(150)->Unit(benchmark::kMillisecond);

// The whole surface, by mode: the row copy, the half shortcut, and the
// source-alpha copy the bitmap controls use.
void BM_Blit(benchmark::State& state) {
  const int mode = static_cast<int>(state.range(0));
  const float alpha = state.range(1) / 100.0f;
  LICE_MemBitmap src(kEditorWidth, kEditorHeight, 4);
  LICE_SysBitmap dest(kEditorWidth, kEditorHeight);
  FillNoise(&src, 2);
  for (auto _ : state) {
    LICE_Blit(&dest, &src, 0, 0, 0, 0, kEditorWidth, kEditorHeight, alpha, mode);
    benchmark::DoNotOptimize(dest.getBits());
  }
  state.SetItemsProcessed(state.iterations() * kEditorWidth * kEditorHeight);
}
BENCHMARK(BM_Blit)
    ->ArgNames({"mode", "alpha%"})
    ->Args({LICE_BLIT_MODE_COPY, 100})
    ->Args({LICE_BLIT_MODE_COPY, 50})
    ->Args({LICE_BLIT_MODE_COPY | LICE_BLIT_USE_ALPHA, 100})
    ->Unit(benchmark::kMillisecond);

// Editor artwork: mostly opaque, with transparent surroundings and
// antialiased edges, in runs as knob strips and panels have them.
void FillArtwork(LICE_IBitmap* bm, unsigned seed) {
  std::mt19937 rng(seed);
  LICE_pixel* bits = bm->getBits();
  int run = 0;
  unsigned kind = 0;
  for (int y = 0; y < bm->getHeight(); ++y) {
    for (int x = 0; x < bm->getWidth(); ++x) {
      if (run-- <= 0) {
        kind = rng() % 100;
        run = kind < 90 ? 40 + static_cast<int>(rng() % 80) : 1 + static_cast<int>(rng() % 6);
      }
      const LICE_pixel a = kind < 90 ? 255u : (kind < 95 ? 0u : rng() % 256);
      bits[y * bm->getRowSpan() + x] = (static_cast<LICE_pixel>(rng()) & 0xffffff00u) | a;
    }
  }
}

// The source-alpha copy of artwork over the surface, at full strength (the
// background and the controls) and at a quarter (dimmed controls).
void BM_BlitArtwork(benchmark::State& state) {
  const float alpha = state.range(0) / 100.0f;
  LICE_MemBitmap src(kEditorWidth, kEditorHeight, 4);
  LICE_SysBitmap dest(kEditorWidth, kEditorHeight);
  FillArtwork(&src, 3);
  FillNoise(&dest, 4);
  for (auto _ : state) {
    LICE_Blit(&dest, &src, 0, 0, 0, 0, kEditorWidth, kEditorHeight, alpha, LICE_BLIT_USE_ALPHA);
    benchmark::DoNotOptimize(dest.getBits());
  }
  state.SetItemsProcessed(state.iterations() * kEditorWidth * kEditorHeight);
}
BENCHMARK(BM_BlitArtwork)->ArgName("alpha%")->Arg(100)->Arg(25)->Unit(benchmark::kMillisecond);

// Whole-surface fills: a plain store, the quarter shortcut (the translucent
// panels) and the blend at another alpha.
void BM_FillRect(benchmark::State& state) {
  const float alpha = state.range(0) / 100.0f;
  LICE_SysBitmap dest(kEditorWidth, kEditorHeight);
  FillNoise(&dest, 5);
  for (auto _ : state) {
    LICE_FillRect(&dest, 0, 0, kEditorWidth, kEditorHeight, 0x80604020u, alpha, LICE_BLIT_MODE_COPY);
    benchmark::DoNotOptimize(dest.getBits());
  }
  state.SetItemsProcessed(state.iterations() * kEditorWidth * kEditorHeight);
}
BENCHMARK(BM_FillRect)->ArgName("alpha%")->Arg(100)->Arg(25)->Arg(30)->Unit(benchmark::kMillisecond);

// The spectrum's fill at 200 %: a one-pixel column at quarter alpha under
// every column of a wavy curve across the plot, bottom to curve.
void BM_SpectrumColumns(benchmark::State& state) {
  LICE_SysBitmap dest(kEditorWidth, kEditorHeight);
  FillNoise(&dest, 6);
  const int left = 80, right = kEditorWidth - 80, bottom = kEditorHeight - 200;
  std::vector<int> tops;
  for (int x = left; x < right; ++x) {
    tops.push_back(200 + static_cast<int>(300.0 * (1.0 + std::sin(x / 97.0)) + 60.0 * std::sin(x / 7.0)));
  }
  int64_t pixels = 0;
  for (int top : tops) pixels += bottom - top;
  for (auto _ : state) {
    for (int x = left; x < right; ++x) {
      const int top = tops[static_cast<size_t>(x - left)];
      LICE_FillRect(&dest, x, top, 1, bottom - top, 0xFF80C0E0u, 0.25f, LICE_BLIT_MODE_COPY);
    }
    benchmark::DoNotOptimize(dest.getBits());
  }
  state.SetItemsProcessed(state.iterations() * pixels);
}
BENCHMARK(BM_SpectrumColumns)->Unit(benchmark::kMicrosecond);

// The plot's grid at 200 %: full-height and full-width lines at a
// translucent alpha, every 40 pixels.
void BM_GridLines(benchmark::State& state) {
  const float alpha = state.range(0) / 100.0f;
  LICE_SysBitmap dest(kEditorWidth, kEditorHeight);
  FillNoise(&dest, 7);
  for (auto _ : state) {
    for (int x = 80; x < kEditorWidth - 80; x += 40) {
      LICE_DrawLine(&dest, x, 200, x, kEditorHeight - 200, 0xFF406080u, alpha, LICE_BLIT_MODE_COPY, false);
    }
    for (int y = 200; y < kEditorHeight - 200; y += 40) {
      LICE_DrawLine(&dest, 80, y, kEditorWidth - 80, y, 0xFF406080u, alpha, LICE_BLIT_MODE_COPY, false);
    }
    benchmark::DoNotOptimize(dest.getBits());
  }
}
BENCHMARK(BM_GridLines)->ArgName("alpha%")->Arg(30)->Arg(100)->Unit(benchmark::kMicrosecond);

struct Segment {
  float x1, y1, x2, y2;
};

std::vector<Segment> RandomSegments(int n, float maxLength, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> x(0.0f, kEditorWidth), y(0.0f, kEditorHeight), d(-maxLength, maxLength);
  std::vector<Segment> out;
  for (int i = 0; i < n; ++i) {
    const float ax = x(rng), ay = y(rng);
    out.push_back({ax, ay, ax + d(rng), ay + d(rng)});
  }
  return out;
}

// 10,000 antialiased lines of up to 40 pixels each way, integer and float
// end points (the spectrum trace draws float lines).
void BM_AntialiasedLines(benchmark::State& state) {
  const bool floatLines = state.range(0) != 0;
  const std::vector<Segment> lines = RandomSegments(10000, 40.0f, 3);
  LICE_SysBitmap dest(kEditorWidth, kEditorHeight);
  for (auto _ : state) {
    for (const Segment& s : lines) {
      if (floatLines) {
        LICE_DrawLineFloat(&dest, s.x1, s.y1, s.x2, s.y2, 0xFF80C0E0u, 0.8f, LICE_BLIT_MODE_COPY, true);
      } else {
        LICE_DrawLine(&dest, static_cast<int>(s.x1), static_cast<int>(s.y1), static_cast<int>(s.x2),
                      static_cast<int>(s.y2), 0xFF80C0E0u, 0.8f, LICE_BLIT_MODE_COPY, true);
      }
    }
    benchmark::DoNotOptimize(dest.getBits());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
}
BENCHMARK(BM_AntialiasedLines)->ArgName("float")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// 1,000 antialiased discs of radius 2 to 12 (the band handles and rounded
// corners), in copy and in add mode.
void BM_AntialiasedDiscs(benchmark::State& state) {
  const int mode = static_cast<int>(state.range(0));
  std::mt19937 rng(4);
  std::uniform_real_distribution<float> x(0.0f, kEditorWidth), y(0.0f, kEditorHeight), r(2.0f, 12.0f);
  std::vector<Segment> discs;  // centre and radius in the first three fields
  for (int i = 0; i < 1000; ++i) discs.push_back({x(rng), y(rng), r(rng), 0.0f});
  LICE_SysBitmap dest(kEditorWidth, kEditorHeight);
  for (auto _ : state) {
    for (const Segment& d : discs) LICE_FillCircle(&dest, d.x1, d.y1, d.x2, 0xFF80C0E0u, 0.9f, mode, true);
    benchmark::DoNotOptimize(dest.getBits());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(discs.size()));
}
BENCHMARK(BM_AntialiasedDiscs)
    ->ArgName("mode")
    ->Arg(LICE_BLIT_MODE_COPY)
    ->Arg(LICE_BLIT_MODE_ADD)
    ->Unit(benchmark::kMillisecond);

}  // namespace
