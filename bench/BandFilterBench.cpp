// One equaliser band, one sample per call, as the zero-latency bank runs it
// (per band, channel and sample, at up to four times the host rate). The
// slope sets the work: up to eight cut stages, sixteen band-pass or notch
// sections, or a Butterworth design of order slope + 1.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "plugin/engine/BandDesign.h"
#include "plugin/engine/BandProcessing.h"
#include "plugin/engine/BandTypes.h"

namespace {

void BM_BandPerSample(benchmark::State& state) {
  const int type = static_cast<int>(state.range(0));
  const int slope = static_cast<int>(state.range(1));
  BandFilter band;
  DesignBand(band, type, 1000.0, 6.0, 1.2, slope, 48000.0, false);
  // Noise prepared outside the timed loop; the mask keeps the index cheap.
  std::mt19937 rng(1);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  std::vector<double> input(4096);
  for (double& v : input) v = dist(rng);
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ProcessBandSample(band, input[i++ & 4095]));
  }
  state.SetItemsProcessed(state.iterations());
}

// The types whose cost follows the slope, one band of each slope.
BENCHMARK(BM_BandPerSample)
    ->ArgNames({"type", "slope"})
    ->ArgsProduct({{kTypeALowCut, kTypeABandPass, kTypeDPeak, kTypeDHighCut},
                   benchmark::CreateDenseRange(0, 15, 1)});
// The slope-independent types at the default slope, for comparison.
BENCHMARK(BM_BandPerSample)
    ->ArgNames({"type", "slope"})
    ->ArgsProduct({{kTypeAPeak, kTypeATiltShelf, kTypeAFlatTilt, kTypeDTiltShelf}, {0}});

}  // namespace
