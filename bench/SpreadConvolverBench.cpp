// The spread convolver as the FIR filter modes drive it: two channels, an
// impulse of L samples at a latency of L, one host block at a time. L =
// 2048, 4096 or 16384 times the oversampling factor; blocks of 64 and 512
// frames at the processing rate. Shared impulses (every band on both
// channels) take one product per bin, distinct ones two. Items per second
// are frames per second; the per-block spread is fir_block_timing_bench's.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/DecayingNoise.h"
#include "dsp/convolution/SpreadConvolver.h"

namespace {

void Convolver(benchmark::State& state, bool shared) {
  const int length = static_cast<int>(state.range(0));
  const int block = static_cast<int>(state.range(1));
  const std::vector<double> left = DecayingNoise(length, 1);
  const std::vector<double> right = shared ? left : DecayingNoise(length, 2);
  SpreadConvolver conv;
  conv.SetImpulse(left.data(), right.data(), length, length);
  std::vector<double> in0 = DecayingNoise(block, 3), in1 = DecayingNoise(block, 4);
  std::vector<double> out0(static_cast<size_t>(block)), out1(static_cast<size_t>(block));
  const double* ins[2] = {in0.data(), in1.data()};
  double* outs[2] = {out0.data(), out1.data()};
  for (auto _ : state) {
    conv.Process(ins, outs, block);
    benchmark::DoNotOptimize(out0.data());
    benchmark::DoNotOptimize(out1.data());
  }
  state.SetItemsProcessed(state.iterations() * block);
}

void BM_SpreadConvolverShared(benchmark::State& state) { Convolver(state, true); }
void BM_SpreadConvolverDistinct(benchmark::State& state) { Convolver(state, false); }

BENCHMARK(BM_SpreadConvolverShared)
    ->ArgNames({"L", "block"})
    ->ArgsProduct({{2048, 4096, 16384, 65536}, {64, 512}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SpreadConvolverDistinct)
    ->ArgNames({"L", "block"})
    ->ArgsProduct({{4096, 16384, 65536}, {64}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
