// Oversampling cost: a stereo channel pair up-converted and down-converted
// again around the filter bank, at 48 kHz and the block sizes hosts use.
#include "dsp/resampler/HalfBlockPasses.h"
#include "dsp/resampler/RealFFTWithTables.h"
#include "dsp/resampler/Resampler.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// A stereo pair's converters up and down again around the filter bank, with
// the engine's buffers, fed one fixed block.
struct RoundTrip {
  static constexpr int kMaxBlock = 8192;
  const int factor;
  const int block;
  Resampler up[2], down[2];
  std::vector<double> source;
  std::vector<double> channel[2];
  std::vector<double> high[2];

  RoundTrip(int factorIn, int blockIn, int32_t paths = kFastestPaths)
      : factor(factorIn), block(blockIn), source(blockIn) {
    const double fs = 48000.0;
    for (int c = 0; c < 2; ++c) {
      InitResampler(&up[c], fs, factor * fs, kMaxBlock, 0.5, 64.08, 0, true, paths);
      InitResampler(&down[c], factor * fs, fs, kMaxBlock * factor, 0.5, 64.08, 0, true, paths);
      channel[c].resize(kMaxBlock);
      high[c].resize(static_cast<size_t>(kMaxBlock) * factor);
    }
    for (int i = 0; i < block; ++i) source[i] = 0.5 * std::sin(0.05 * i);
  }
  ~RoundTrip() {
    for (int c = 0; c < 2; ++c) {
      FreeResampler(&up[c]);
      FreeResampler(&down[c]);
    }
  }
  RoundTrip(const RoundTrip&) = delete;
  RoundTrip& operator=(const RoundTrip&) = delete;

  // One channel after the other. The converters work in place in these
  // buffers, as the engine's do.
  void RunChannels() {
    for (int c = 0; c < 2; ++c) {
      std::copy(source.begin(), source.end(), channel[c].begin());
      double* upOut = nullptr;
      const int n = RunResamplerBlock(&up[c], channel[c].data(), block, &upOut);
      std::copy(upOut, upOut + n, high[c].begin());
      double* downOut = nullptr;
      const int m = RunResamplerBlock(&down[c], high[c].data(), n, &downOut);
      benchmark::DoNotOptimize(downOut);
      benchmark::DoNotOptimize(m);
    }
  }

  // The two channels converted together, as the oversampling stage runs a
  // stereo bus.
  void RunPair() {
    for (int c = 0; c < 2; ++c) std::copy(source.begin(), source.end(), channel[c].begin());
    double* upOut[2] = {nullptr, nullptr};
    int32_t n1 = 0;
    const int n0 = RunResamplerBlockPair(&up[0], &up[1], channel[0].data(), channel[1].data(), block, &upOut[0],
                                         &upOut[1], &n1);
    for (int c = 0; c < 2; ++c) std::copy(upOut[c], upOut[c] + n0, high[c].begin());
    double* downOut[2] = {nullptr, nullptr};
    int32_t m1 = 0;
    const int m0 = RunResamplerBlockPair(&down[0], &down[1], high[0].data(), high[1].data(), n0, &downOut[0],
                                         &downOut[1], &m1);
    benchmark::DoNotOptimize(downOut[0]);
    benchmark::DoNotOptimize(m0 + m1 + n1);
  }
};

void BM_OversampleRoundTrip(benchmark::State& state) {
  RoundTrip trip(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) trip.RunChannels();
  state.SetItemsProcessed(state.iterations() * trip.block);
}

BENCHMARK(BM_OversampleRoundTrip)
    ->ArgNames({"factor", "block"})
    ->ArgsProduct({{2, 4}, {64, 512, 2048}});

// The same round trip with the two channels converted together; paths 1
// holds every stage to full-size block transforms, the path the direct and
// half-size stages replace.
void BM_OversampleRoundTripPair(benchmark::State& state) {
  RoundTrip trip(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                 static_cast<int32_t>(state.range(2)));
  for (auto _ : state) trip.RunPair();
  state.SetItemsProcessed(state.iterations() * trip.block);
}

BENCHMARK(BM_OversampleRoundTripPair)
    ->ArgNames({"factor", "block", "paths"})
    ->ArgsProduct({{2, 4}, {64, 512, 2048}, {kFastestPaths, kTransformsOnly}});

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

namespace {

// One block of two-channel FFT filtering as the converter stages run it, at
// the sizes of the equaliser's 0.5 % stage (4096) and its 34 % stage (64):
// the path the processor's vector unit takes (0) against the two-lane path
// (1), which gives the same bits.
void BM_FilterPair(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const bool lanes = state.range(1) != 0;
  std::vector<int> ip(static_cast<size_t>(RealFFTWorkAreaIpSize(n)) + 2, 0);
  std::vector<double> w(static_cast<size_t>(n) / 2 + 2);
  std::vector<int32_t> table(static_cast<size_t>(n) / 2);
  MakeBitReverseTable(n / 2, table.data());
  std::vector<double> source(static_cast<size_t>(n)), spectrum(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    source[i] = 0.5 * std::sin(0.05 * i);
    spectrum[i] = 1.0 / (1 + i % 7);
  }
  std::vector<double> a = source, b = source, work(4 * static_cast<size_t>(n));
  for (auto _ : state) {
    std::copy(source.begin(), source.end(), a.begin());
    std::copy(source.begin(), source.end(), b.begin());
    if (lanes) {
      FilterPairWithTablesLanes(n, a.data(), b.data(), spectrum.data(), ip.data(), w.data(), table.data(), work.data());
    } else {
      FilterPairWithTables(n, a.data(), b.data(), spectrum.data(), ip.data(), w.data(), table.data(), work.data());
    }
    benchmark::DoNotOptimize(a.data());
  }
  state.SetItemsProcessed(state.iterations() * n);
}

BENCHMARK(BM_FilterPair)->ArgNames({"n", "lanes"})->ArgsProduct({{64, 4096}, {0, 1}});

}  // namespace

namespace {

// The slowest 64-frame block of a stereo round trip, against the average:
// the transform stages do a whole block's work in the call that fills it.
// Counters: worst and mean microseconds of one call pair (up and down), in
// the thread's CPU time, so that the scheduler's pre-emptions on a busy
// machine do not count.
double ThreadMicroseconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e6 + t.tv_nsec * 1e-3;
}

void BM_OversampleWorstBlock64(benchmark::State& state) {
  RoundTrip trip(static_cast<int>(state.range(0)), 64);
  double worst = 0.0, total = 0.0;
  int64_t calls = 0;
  for (auto _ : state) {
    const double start = ThreadMicroseconds();
    trip.RunPair();
    const double us = ThreadMicroseconds() - start;
    worst = std::max(worst, us);
    total += us;
    ++calls;
  }
  state.counters["worst_us"] = worst;
  state.counters["mean_us"] = calls ? total / calls : 0.0;
}

BENCHMARK(BM_OversampleWorstBlock64)->ArgName("factor")->Arg(2)->Arg(4)->Iterations(20000)->Repetitions(3);

}  // namespace

namespace {

// The radix-4 passes of the half-size transforms alone, forward over m
// points (m = 1024 is the equaliser's 0.5 % stage).
void BM_HalfBlockPasses(benchmark::State& state) {
  const int m = static_cast<int>(state.range(0));
  const int n = 2 * m;
  std::vector<int> ip(static_cast<size_t>(RealFFTWorkAreaIpSize(n)) + 2, 0);
  std::vector<double> w(static_cast<size_t>(n) / 2 + 2);
  int nc = 0, ks = 0;
  RealFFTTables(n, ip.data(), w.data(), &nc, &ks);
  std::vector<double> forward(3 * static_cast<size_t>(m) / 2), inverse(forward.size());
  HalfBlockPasses::MakePassTwiddles(m, w.data(), 1.0, forward.data());
  HalfBlockPasses::MakePassTwiddles(m, w.data(), -1.0, inverse.data());
  std::vector<double> z(4 * static_cast<size_t>(m));
  for (size_t i = 0; i < z.size(); ++i) z[i] = 0.5 * std::sin(0.05 * static_cast<double>(i));
  for (auto _ : state) {
    HalfBlockPasses::Passes(z.data(), m, forward.data(), HalfBlockPasses::kAllPoints);
    HalfBlockPasses::Passes(z.data(), m, inverse.data(), HalfBlockPasses::kAllPoints);
    for (double& v : z) v *= 1.0 / m;
    benchmark::DoNotOptimize(z.data());
  }
  state.SetItemsProcessed(state.iterations() * 2 * m);
}

BENCHMARK(BM_HalfBlockPasses)->ArgName("m")->Arg(64)->Arg(256)->Arg(1024);

}  // namespace
