// The way of a frame to the screen at editor size (1744 x 1264, the editor
// at 200 %): the surface drawn into the window's image, where only what
// differs is stored and told, and the image's rows converted into the X
// visual's words. By how much of the frame changed: nothing, the display
// (about 42 % of the rows), everything.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "platform/windowserver/ScreenWindow.h"
#include "platform/windowserver/SurfaceRowConversion.h"

namespace {

constexpr int kWidth = 1744;
constexpr int kHeight = 1264;

std::vector<uint8_t> Noise(unsigned seed) {
  std::vector<uint8_t> bytes(static_cast<size_t>(kWidth) * kHeight * 4);
  std::mt19937 rng(seed);
  for (size_t i = 0; i < bytes.size(); i += 4) {
    const uint32_t v = static_cast<uint32_t>(rng());
    for (int b = 0; b < 4; ++b) bytes[i + static_cast<size_t>(b)] = static_cast<uint8_t>(v >> (8 * b));
  }
  return bytes;
}

// Two frames alternate; they differ in the given percentage of the rows.
void BM_DrawImage(benchmark::State& state) {
  const int changedRows = static_cast<int>(state.range(0)) * kHeight / 100;
  const std::vector<uint8_t> a = Noise(1);
  std::vector<uint8_t> b = a;
  const std::vector<uint8_t> other = Noise(2);
  std::copy(other.begin(), other.begin() + static_cast<ptrdiff_t>(changedRows) * kWidth * 4, b.begin());
  platform::ScreenWindow w(platform::ScreenRect{0, 0, kWidth, kHeight});
  const platform::DeviceRect all{0, 0, kWidth, kHeight};
  bool odd = false;
  for (auto _ : state) {
    w.DrawImage((odd ? b : a).data(), kWidth, kHeight, kWidth, 0, 0, kWidth, kHeight, all);
    odd = !odd;
    benchmark::DoNotOptimize(w.Pixels());
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_DrawImage)->ArgName("changed%")->Arg(0)->Arg(42)->Arg(100)->Unit(benchmark::kMillisecond);

// The window's pixels into the usual visual's words, every row, the words
// all stale (every word stored) or all current (only compared).
void BM_ConvertRows(benchmark::State& state) {
  const bool stale = state.range(0) != 0;
  const bool avx2 = state.range(1) != 0;
  const std::vector<uint8_t> pixels = Noise(3);
  std::vector<uint32_t> words(static_cast<size_t>(kWidth) * kHeight);
  const platform::VisualLayout layout;
  int first = 0, last = 0;
  for (int y = 0; y < kHeight; ++y) {
    platform::ConvertSurfaceRow(layout, &pixels[static_cast<size_t>(y) * kWidth * 4],
                                &words[static_cast<size_t>(y) * kWidth], kWidth, &first, &last, avx2);
  }
  for (auto _ : state) {
    if (stale) {
      for (uint32_t& word : words) word ^= 1;
    }
    for (int y = 0; y < kHeight; ++y) {
      platform::ConvertSurfaceRow(layout, &pixels[static_cast<size_t>(y) * kWidth * 4],
                                  &words[static_cast<size_t>(y) * kWidth], kWidth, &first, &last, avx2);
    }
    benchmark::DoNotOptimize(words.data());
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_ConvertRows)
    ->ArgNames({"stale", "avx2"})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({1, 0})
    ->Unit(benchmark::kMillisecond);

}  // namespace
