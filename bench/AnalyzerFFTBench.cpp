// The analysers' forward real transform at the frame lengths the plug-in
// offers, plain (RealFFT) and planned (AnalyzerFFT), which leave the same
// bits. Each iteration restores the input first, as the analyser windows
// a fresh frame before each transform.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "dsp/analyzer/AnalyzerFFT.h"
#include "dsp/fft/FFT.h"

namespace {

std::vector<double> Frame(int n) {
  std::mt19937 rng(1);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  std::vector<double> x(static_cast<size_t>(n) + 2, 0.0);
  for (int i = 0; i < n; ++i) x[i] = dist(rng);
  return x;
}

void Plain(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::vector<double> pristine = Frame(n);
  std::vector<double> data = pristine;
  for (auto _ : state) {
    std::memcpy(data.data(), pristine.data(), sizeof(double) * pristine.size());
    RealFFT(data.data(), n, 1);
    benchmark::DoNotOptimize(data.data());
  }
}

void Planned(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  AnalyzerFFT fft;
  fft.Plan(n);
  const std::vector<double> pristine = Frame(n);
  std::vector<double> data = pristine;
  for (auto _ : state) {
    std::memcpy(data.data(), pristine.data(), sizeof(double) * pristine.size());
    fft.Forward(data.data(), n);
    benchmark::DoNotOptimize(data.data());
  }
}

BENCHMARK(Plain)->Arg(2048)->Arg(8192)->Arg(32768);
BENCHMARK(Planned)->Arg(2048)->Arg(8192)->Arg(32768);

}  // namespace
