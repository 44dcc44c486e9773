// Per-sample metering cost of one stereo meter in each mode at 48 kHz, over a
// 512-sample block.
#include "dsp/meter/LoudnessMeter.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

struct Mode {
  int kind;
  double window, hold, release, offset;
};
// Peak, RMS, EBU ML, EBU SL, VU.
const Mode kModes[] = {{6, 0, 0.1, 0.3, 0}, {1, 0.6, 0, 0, -3}, {2, 0.3, 0, 0, 0},
                       {3, 3.0, 0, 0, 0},   {4, 0.27, 0, 0, -18}};

void BM_MeterBlock(benchmark::State& state) {
  const Mode& m = kModes[state.range(0)];
  auto meter = std::make_unique<LoudnessMeter>();
  meter->InitMeter(m.window, 0.0, m.hold, m.release, m.offset, 48000.0, m.kind, 0.0);
  const int block = 512;
  std::vector<double> left(block), right(block);
  for (int i = 0; i < block; ++i) {
    left[i] = 0.5 * std::sin(0.13 * i);
    right[i] = 0.4 * std::sin(0.07 * i);
  }
  for (auto _ : state) {
    for (int i = 0; i < block; ++i) meter->ProcessMeter(left[i], right[i], 0);
    benchmark::DoNotOptimize(meter->current);
  }
  state.SetItemsProcessed(state.iterations() * block);
}

BENCHMARK(BM_MeterBlock)->ArgName("mode")->DenseRange(0, 4);

}  // namespace
