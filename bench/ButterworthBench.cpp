// Butterworth designs as the "D - " bands run them: one sample per process
// call (the band hands over a one-sample buffer), at order 2, 8 and 16, and
// the cost of a redesign on a parameter change.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "dsp/filters/butterworth/Butterworth.h"

namespace {

using BandShelf = Dsp::FilterDesign<Dsp::Butterworth::Design::BandShelf1<16>, 1, Dsp::DirectFormII>;
using HighPass = Dsp::FilterDesign<Dsp::Butterworth::Design::HighPass<16>, 1, Dsp::DirectFormII>;

template <class Design>
void PerSample(benchmark::State& state, const Dsp::Params& params) {
  Design filter;
  filter.setParams(params);
  std::mt19937 rng(1);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  std::vector<double> input(4096);
  for (double& v : input) v = dist(rng);
  double sample = 0.0;
  double* channels[1] = {&sample};
  size_t i = 0;
  for (auto _ : state) {
    sample = input[i++ & 4095];
    filter.process(1, channels);
    benchmark::DoNotOptimize(sample);
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_BandShelfPerSample(benchmark::State& state) {
  PerSample<BandShelf>(state, {96000.0, static_cast<double>(state.range(0)), 1000.0, 1.0, 6.0});
}

void BM_HighPassPerSample(benchmark::State& state) {
  PerSample<HighPass>(state, {96000.0, static_cast<double>(state.range(0)), 80.0});
}

// A frequency sweep: the prototype is cached, only the mapping and the
// cascade are redone.
void BM_BandShelfRedesign(benchmark::State& state) {
  BandShelf filter;
  double frequency = 100.0;
  for (auto _ : state) {
    frequency = frequency > 10000.0 ? 100.0 : frequency * 1.01;
    filter.setParams({96000.0, static_cast<double>(state.range(0)), frequency, 1.0, 6.0});
    benchmark::DoNotOptimize(&filter);
  }
}

}  // namespace

BENCHMARK(BM_BandShelfPerSample)->Arg(2)->Arg(8)->Arg(16);
BENCHMARK(BM_HighPassPerSample)->Arg(2)->Arg(8)->Arg(16);
BENCHMARK(BM_BandShelfRedesign)->Arg(2)->Arg(16);
