// Split-radix FFT at the sizes the filter bank uses: transforms of 2L for
// the convolution engines and L for the linear-phase impulse builder, with
// L = 2048, 4096 or 16384 times the oversampling factor 1, 2 or 4.
//
// Each iteration restores the input from a pristine copy before it
// transforms: repeated transforms of their own output would grow by up to
// N per pass and overflow. The copy is O(N) against the O(N log N)
// transform, so the figures are a small overestimate.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "dsp/convolution/SplitRadixFFT.h"

namespace {

std::vector<double> Noise(int n) {
  std::mt19937 rng(1);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  std::vector<double> x(2 * static_cast<size_t>(n));
  for (double& v : x) v = dist(rng);
  return x;
}

// range(1): the variant, SplitRadixFFT::FFTKernel.
void Transform(benchmark::State& state, int direction) {
  const int n = static_cast<int>(state.range(0));
  const auto kernel = static_cast<SplitRadixFFT::FFTKernel>(state.range(1));
  if (!SplitRadixFFT::IsFFTKernelAvailable(kernel)) {
    state.SkipWithError("variant not available on this processor");
    return;
  }
  SplitRadixFFT::InitFFT(n);
  const std::vector<double> pristine = Noise(n);
  std::vector<double> data = pristine;
  for (auto _ : state) {
    std::memcpy(data.data(), pristine.data(), sizeof(double) * pristine.size());
    SplitRadixFFT::RunFFTWith(kernel, data.data(), n, direction);
    benchmark::DoNotOptimize(data.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * n);
}

void BM_SplitRadixForward(benchmark::State& state) { Transform(state, 0); }
void BM_SplitRadixInverse(benchmark::State& state) { Transform(state, 1); }

// Two channels' transforms side by side (the engine's channels with
// impulses of their own): items count both channels' points.
void BM_SplitRadixPairForward(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  SplitRadixFFT::InitFFT(n);
  std::vector<double> pristine = Noise(2 * n);
  std::vector<double> data = pristine;
  for (auto _ : state) {
    std::memcpy(data.data(), pristine.data(), sizeof(double) * pristine.size());
    SplitRadixFFT::RunFFTPair(data.data(), n, 0);
    benchmark::DoNotOptimize(data.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 2 * n);
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->ArgNames({"n", "kernel"});
  for (int n = 2048; n <= 131072; n *= 2) {
    for (SplitRadixFFT::FFTKernel k : {SplitRadixFFT::FFTKernel::kPortable, SplitRadixFFT::FFTKernel::kAvx512}) {
      b->Args({n, static_cast<int>(k)});
    }
  }
}

}  // namespace

BENCHMARK(BM_SplitRadixForward)->Apply(Sizes);
BENCHMARK(BM_SplitRadixInverse)->Apply(Sizes);
BENCHMARK(BM_SplitRadixPairForward)->RangeMultiplier(2)->Range(2048, 131072);
