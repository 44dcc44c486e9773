// Oversampling cost: a stereo channel pair up-converted and down-converted
// again around the filter bank, at 48 kHz and the block sizes hosts use.
#include "dsp/resampler/Resampler.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

void BM_OversampleRoundTrip(benchmark::State& state) {
  const int factor = static_cast<int>(state.range(0));
  const int block = static_cast<int>(state.range(1));
  const double fs = 48000.0;
  const int maxBlock = 8192;
  Resampler up[2], down[2];
  for (int c = 0; c < 2; ++c) {
    InitResampler(&up[c], fs, factor * fs, maxBlock, 0.5, 64.08, 0, true);
    InitResampler(&down[c], factor * fs, fs, maxBlock * factor, 0.5, 64.08, 0, true);
  }
  std::vector<double> source(block);
  for (int i = 0; i < block; ++i) source[i] = 0.5 * std::sin(0.05 * i);
  std::vector<double> channel(maxBlock);
  std::vector<double> high(maxBlock * factor);
  for (auto _ : state) {
    for (int c = 0; c < 2; ++c) {
      // The converters work in place in these buffers, as the engine's do.
      std::copy(source.begin(), source.end(), channel.begin());
      double* upOut = nullptr;
      const int n = RunResamplerBlock(&up[c], channel.data(), block, &upOut);
      std::copy(upOut, upOut + n, high.begin());
      double* downOut = nullptr;
      const int m = RunResamplerBlock(&down[c], high.data(), n, &downOut);
      benchmark::DoNotOptimize(downOut);
      benchmark::DoNotOptimize(m);
    }
  }
  state.SetItemsProcessed(state.iterations() * block);
  for (int c = 0; c < 2; ++c) {
    FreeResampler(&up[c]);
    FreeResampler(&down[c]);
  }
}

BENCHMARK(BM_OversampleRoundTrip)
    ->ArgNames({"factor", "block"})
    ->ArgsProduct({{2, 4}, {64, 512, 2048}});

// Up-conversion alone, one channel.
void BM_UpConvert(benchmark::State& state) {
  const int factor = static_cast<int>(state.range(0));
  const int block = 512;
  Resampler up;
  InitResampler(&up, 48000.0, factor * 48000.0, 8192, 0.5, 64.08, 0, true);
  std::vector<double> source(block, 0.25), channel(block);
  for (auto _ : state) {
    std::copy(source.begin(), source.end(), channel.begin());
    double* out = nullptr;
    benchmark::DoNotOptimize(RunResamplerBlock(&up, channel.data(), block, &out));
  }
  state.SetItemsProcessed(state.iterations() * block);
  FreeResampler(&up);
}

BENCHMARK(BM_UpConvert)->ArgName("factor")->Arg(2)->Arg(4);

}  // namespace
