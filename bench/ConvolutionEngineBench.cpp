// The convolution engine as the FIR filter modes drove it before they
// spread their work (spread_convolver_bench): stereo, a one-partition
// impulse of L samples and a transform of 2L, one host block at a time
// (Add, Avail, Get, Advance). L = 2048, 4096 or 16384 times the
// oversampling factor; blocks of 64 and 512 host frames at the same factor.
//
// Two impulse channels cost two transforms per partition; identical ones
// run in pair mode, both channels in one transform. The cost comes in
// bursts (one partition every L / block frames), so the time per block is
// an average: compare items per second, which is frames per second.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "bench/DecayingNoise.h"
#include "dsp/convolution/ConvolutionEngine.h"
#include "dsp/convolution/LinearPhaseImpulse.h"

namespace {

void Engine(benchmark::State& state, bool identicalChannels) {
  const int length = static_cast<int>(state.range(0));
  const int block = static_cast<int>(state.range(1));
  ImpulseBuffer impulse;
  impulse.SetNumChannels(2);
  impulse.SetLength(length);
  const std::vector<double> left = DecayingNoise(length, 1);
  const std::vector<double> right = identicalChannels ? left : DecayingNoise(length, 2);
  std::copy(left.begin(), left.end(), impulse.GetSamples(0));
  std::copy(right.begin(), right.end(), impulse.GetSamples(1));

  ConvolutionEngine engine;
  engine.SetImpulse(&impulse, 2 * length, 0, 0, false, false, true);
  engine.Reset();
  engine.Add(nullptr, engine.GetLatency(), 2);

  std::vector<double> inL = DecayingNoise(block, 3), inR = DecayingNoise(block, 4);
  std::vector<double> outL(static_cast<size_t>(block)), outR(static_cast<size_t>(block));
  const double* in[2] = {inL.data(), inR.data()};
  for (auto _ : state) {
    engine.Add(in, block, 2);
    const int ready = std::min(engine.Avail(block, false), block);
    double** got = engine.Get();
    std::copy(got[0], got[0] + ready, outL.begin());
    std::copy(got[1], got[1] + ready, outR.begin());
    engine.Advance(ready);
    benchmark::DoNotOptimize(outL.data());
    benchmark::DoNotOptimize(outR.data());
  }
  state.SetItemsProcessed(state.iterations() * block);
}

void BM_ConvolutionStereoImpulse(benchmark::State& state) { Engine(state, false); }
void BM_ConvolutionMonoImpulse(benchmark::State& state) { Engine(state, true); }

void Sizes(benchmark::internal::Benchmark* b) {
  for (int os : {1, 2, 4}) {
    for (int length : {2048, 4096, 16384}) {
      for (int block : {64, 512}) b->Args({length * os, block * os});
    }
  }
}

// Impulse rebuild for the linear-phase modes: one conversion per channel
// buffer of L samples (outside the audio path, on parameter changes).
void BM_MakeLinearPhaseImpulse(benchmark::State& state) {
  const int length = static_cast<int>(state.range(0));
  const std::vector<double> pristine = DecayingNoise(length, 5);
  std::vector<double> data = pristine;
  for (auto _ : state) {
    std::copy(pristine.begin(), pristine.end(), data.begin());
    MakeLinearPhaseImpulse(data.data(), length);
    benchmark::DoNotOptimize(data.data());
  }
}

}  // namespace

BENCHMARK(BM_ConvolutionStereoImpulse)->Apply(Sizes);
BENCHMARK(BM_ConvolutionMonoImpulse)->Apply(Sizes);
BENCHMARK(BM_MakeLinearPhaseImpulse)->RangeMultiplier(2)->Range(2048, 65536);
