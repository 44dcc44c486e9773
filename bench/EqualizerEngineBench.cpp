// One stereo host block through the whole engine with all twelve bands
// active, in each filter mode at each oversampling factor: the workload we
// compare against other equalisers (48 kHz, 512-frame blocks). The engine
// is run past its start-up first, so the timed blocks are steady-state
// ones: converters full and convolution engines primed.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "bench/StartEngine.h"
#include "plugin/engine/EqualizerEngine.h"
#include "plugin/engine/Meters.h"
#include "plugin/engine/ParamMirrors.h"

namespace {

constexpr double kRate = 48000.0;
constexpr int kBlock = 512;

// Twelve bands of the kinds a mix uses: cuts, shelves and peaks, some
// steep, spread over the spectrum.
void SetTwelveBands(ParamMirrors& m) {
  const int types[kNumBands] = {1, 3, 0, 0, 9, 0, 8, 0, 12, 0, 4, 2};
  const double freqs[kNumBands] = {30, 90, 200, 400, 700, 1200, 2000, 3500, 5000, 8000, 12000, 18000};
  const int slopes[kNumBands] = {3, 0, 0, 0, 1, 0, 2, 0, 3, 0, 0, 5};
  for (int b = 0; b < kNumBands; ++b) {
    m.bandActive[b] = 1;
    m.bandType[b] = types[b];
    m.bandFreq[b] = freqs[b];
    m.bandGain[b] = (b % 2 ? -4.0 : 5.0);
    m.bandQ[b] = 1.2;
    m.bandSlope[b] = slopes[b];
  }
}

void BM_EngineStereoBlock(benchmark::State& state) {
  const int filterMode = static_cast<int>(state.range(0));
  const int osFactor = static_cast<int>(state.range(1));
  ParamMirrors m;
  SetTwelveBands(m);
  m.osFactor = osFactor;
  m.filterMode = filterMode;
  EqualizerEngine engine(&m);
  StartEngine(engine, kRate, kBlock, filterMode, osFactor);

  std::mt19937 rng(7);
  std::uniform_real_distribution<double> dist(-0.5, 0.5);
  std::vector<double> left(kBlock), right(kBlock), outL(kBlock), outR(kBlock);
  for (int i = 0; i < kBlock; ++i) {
    left[i] = dist(rng);
    right[i] = dist(rng);
  }
  double* in[2] = {left.data(), right.data()};
  double* out[2] = {outL.data(), outR.data()};
  const int warmBlocks = engine.GetTotalLatency() / kBlock + 16;
  for (int b = 0; b < warmBlocks; ++b) engine.ProcessBlock(in, out, kBlock);

  for (auto _ : state) {
    engine.ProcessBlock(in, out, kBlock);
    benchmark::DoNotOptimize(outL.data());
    benchmark::DoNotOptimize(outR.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kBlock);
}

BENCHMARK(BM_EngineStereoBlock)
    ->ArgNames({"mode", "os"})
    ->ArgsProduct({benchmark::CreateDenseRange(0, 6, 1), {1, 2, 4}})
    ->Unit(benchmark::kMicrosecond);

// The two peak meters with their lamps over a host block of noise, the
// output hot enough to light its lamp now and then (the engine's metering
// of every run above, on its own).
void BM_PeakMeterBlock(benchmark::State& state) {
  Meters meters;
  meters.SetMeterMode(Meters::kModePeak, kRate);
  meters.SetClipLampTiming(kRate);
  std::mt19937 rng(11);
  std::normal_distribution<double> dist(0.0, 0.15);
  const int frames = 48000;
  std::vector<double> left(frames), right(frames), outL(frames), outR(frames);
  for (int i = 0; i < frames; ++i) {
    left[i] = dist(rng);
    right[i] = dist(rng);
    outL[i] = 2.5 * left[i];
    outR[i] = 2.5 * right[i];
  }
  int at = 0;
  for (auto _ : state) {
    meters.ProcessMeterBlocks(&left[at], &right[at], &outL[at], &outR[at], kBlock);
    at = at + 2 * kBlock > frames ? 0 : at + kBlock;
    benchmark::DoNotOptimize(meters.OutputReading().current);
  }
  state.SetItemsProcessed(state.iterations() * kBlock);
}

BENCHMARK(BM_PeakMeterBlock);

}  // namespace
