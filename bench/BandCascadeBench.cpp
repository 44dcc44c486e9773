// The zero-latency band chain a block at a time: twelve "A - Peak" bands
// with their high-frequency corrections (24 sections a channel), stereo at
// 48 kHz, through each section runner variant the processor offers, at the
// block sizes hosts use. The per-sample loop the cascade replaces runs
// alongside as the baseline. Noise is prepared outside the timed loop.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "plugin/engine/BandCascade.h"
#include "plugin/engine/BandChain.h"
#include "plugin/engine/BandDesign.h"
#include "plugin/engine/BandTypes.h"

namespace {

constexpr double kRate = 48000.0;

struct Chain {
  ParamMirrors mirrors;
  BandFilter first[kNumBands], second[kNumBands];
  BandChain chain;

  Chain() {
    for (int b = 0; b < kNumBands; ++b) {
      mirrors.bandActive[b] = 1;
      mirrors.bandType[b] = kTypeAPeak;
      mirrors.bandGain[b] = 3.0;
      mirrors.bandQ[b] = 1.0;
      mirrors.bandFreq[b] = 40.0 * std::pow(400.0, b / 11.0);
      for (BandFilter* band : {&first[b], &second[b]}) {
        DesignBand(*band, kTypeAPeak, mirrors.bandFreq[b], 3.0, 1.0, 0, kRate, false);
      }
    }
    chain.Select(mirrors);
  }
};

std::vector<double> Noise(int n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> dist(-0.5, 0.5);
  std::vector<double> v(static_cast<size_t>(n));
  for (double& x : v) x = dist(rng);
  return v;
}

void BM_CascadeBlock(benchmark::State& state) {
  const auto kernel = static_cast<SectionKernel>(state.range(0));
  const int block = static_cast<int>(state.range(1));
  if (!IsSectionKernelAvailable(kernel)) {
    state.SkipWithError("variant not available on this processor");
    return;
  }
  Chain c;
  BandCascade cascade;
  cascade.SetKernel(kernel);
  const std::vector<double> left = Noise(block, 1), right = Noise(block, 2);
  std::vector<double> l(left), r(right), scratch(static_cast<size_t>(block));
  for (auto _ : state) {
    // Fresh input each block keeps the values in range; the copies cost
    // far less than the 48 section steps per frame.
    std::copy(left.begin(), left.end(), l.begin());
    std::copy(right.begin(), right.end(), r.begin());
    cascade.Run(c.chain, 1, c.first, c.second, l.data(), r.data(), scratch.data(), block);
    benchmark::DoNotOptimize(l.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * block);
}

void BM_PerSampleBlock(benchmark::State& state) {
  const int block = static_cast<int>(state.range(0));
  Chain c;
  const std::vector<double> left = Noise(block, 1), right = Noise(block, 2);
  std::vector<double> l(static_cast<size_t>(block)), r(static_cast<size_t>(block));
  for (auto _ : state) {
    for (int i = 0; i < block; ++i) {
      double a = left[static_cast<size_t>(i)], b = right[static_cast<size_t>(i)];
      c.chain.RunPass1(c.first, c.second, a, b);
      l[static_cast<size_t>(i)] = a;
      r[static_cast<size_t>(i)] = b;
    }
    benchmark::DoNotOptimize(l.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * block);
}

BENCHMARK(BM_CascadeBlock)
    ->ArgNames({"kernel", "block"})
    ->ArgsProduct({{static_cast<int>(SectionKernel::kPortable), static_cast<int>(SectionKernel::kSse2),
                    static_cast<int>(SectionKernel::kAvx2), static_cast<int>(SectionKernel::kAvx512)},
                   {64, 512, 4096}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PerSampleBlock)->ArgNames({"block"})->Arg(64)->Arg(512)->Arg(4096)->Unit(benchmark::kMicrosecond);

}  // namespace
