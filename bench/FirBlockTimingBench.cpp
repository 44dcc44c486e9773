// Per-block cost of the engine: a host that calls every few milliseconds
// drops out on the slowest block, whatever the average. Times every
// ProcessBlock of a steady stereo-noise run through twelve "A - Peak"
// bands (+3 dB, Q 1, 40 Hz to 16 kHz, log-spaced) at 48 kHz, and prints
// the mean, the 99th percentile and the worst block as a percentage of
// the block's own duration, for each filter mode and oversampling factor
// at several host block sizes. Each statistic is the least over the runs,
// which keeps other work on the machine out of the figures.
//
//   fir_block_timing_bench [--runs N] [--seconds S] [--block B]... [--mode M]... [--os F]...
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/StartEngine.h"
#include "plugin/engine/EqualizerEngine.h"
#include "plugin/engine/ParamMirrors.h"

namespace {

constexpr double kRate = 48000.0;

const char* const kModeNames[] = {"Zero Latency",     "MinimumPhase Eco", "MinimumPhase High", "MinimumPhase Max",
                                  "LinearPhase Eco",  "LinearPhase High", "LinearPhase Max"};

void SetTwelveBells(ParamMirrors& m) {
  for (int b = 0; b < kNumBands; ++b) {
    m.bandActive[b] = 1;
    m.bandType[b] = 0;
    m.bandChMode[b] = 0;
    m.bandGain[b] = 3.0;
    m.bandQ[b] = 1.0;
    m.bandFreq[b] = 40.0 * std::pow(16000.0 / 40.0, b / (kNumBands - 1.0));
  }
}

struct Stats {
  double mean = 0.0, p99 = 0.0, worst = 0.0;
};

// One run: the engine is set up, run past its latency and start-up, then
// every block of `seconds` of audio is timed.
Stats RunOnce(int mode, int os, int block, double seconds, unsigned seed) {
  ParamMirrors m;
  SetTwelveBells(m);
  m.osFactor = os;
  m.filterMode = mode;
  EqualizerEngine engine(&m);
  StartEngine(engine, kRate, block, mode, os);

  // A few seconds of noise, cycled, so the blocks see fresh input without
  // the generator in the timed loop.
  const int noiseFrames = 1 << 17;
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> dist(-0.5, 0.5);
  std::vector<double> noise[2];
  for (std::vector<double>& channel : noise) {
    channel.resize(noiseFrames + block);
    for (double& v : channel) v = dist(rng);
  }
  std::vector<double> left(block), right(block), outL(block), outR(block);
  double* in[2] = {left.data(), right.data()};
  double* out[2] = {outL.data(), outR.data()};
  int at = 0;
  auto next = [&] {
    std::memcpy(left.data(), noise[0].data() + at, sizeof(double) * static_cast<size_t>(block));
    std::memcpy(right.data(), noise[1].data() + at, sizeof(double) * static_cast<size_t>(block));
    at = at + block > noiseFrames ? 0 : at + block;
  };

  const int warmBlocks = (engine.GetTotalLatency() + static_cast<int>(kRate)) / block + 16;
  for (int b = 0; b < warmBlocks; ++b) {
    next();
    engine.ProcessBlock(in, out, block);
  }
  const int blocks = std::max(1000, static_cast<int>(seconds * kRate / block));
  std::vector<double> times(static_cast<size_t>(blocks));
  for (int b = 0; b < blocks; ++b) {
    next();
    const auto start = std::chrono::steady_clock::now();
    engine.ProcessBlock(in, out, block);
    const auto stop = std::chrono::steady_clock::now();
    times[static_cast<size_t>(b)] = std::chrono::duration<double>(stop - start).count();
  }

  const double blockSeconds = block / kRate;
  Stats s;
  double sum = 0.0;
  for (double t : times) sum += t;
  s.mean = 100.0 * sum / blocks / blockSeconds;
  std::sort(times.begin(), times.end());
  s.p99 = 100.0 * times[static_cast<size_t>(std::ceil(0.99 * blocks)) - 1] / blockSeconds;
  s.worst = 100.0 * times.back() / blockSeconds;
  return s;
}

std::vector<int> Collect(int argc, char** argv, const char* flag, std::vector<int> fallback) {
  std::vector<int> values;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], flag) == 0) values.push_back(std::atoi(argv[i + 1]));
  }
  return values.empty() ? fallback : values;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  double seconds = 4.0;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--seconds") == 0) seconds = std::max(0.1, std::atof(argv[i + 1]));
  }
  const std::vector<int> blocks = Collect(argc, argv, "--block", {64, 128, 512});
  const std::vector<int> modes = Collect(argc, argv, "--mode", {0, 1, 2, 3, 4, 5, 6});
  const std::vector<int> factors = Collect(argc, argv, "--os", {1, 2, 4});

  std::printf("| block | filter mode | OS | mean | p99 | worst |\n|---:|---|---:|---:|---:|---:|\n");
  for (int block : blocks) {
    for (int mode : modes) {
      if (mode < 0 || mode > 6) continue;
      for (int os : factors) {
        Stats best;
        for (int r = 0; r < runs; ++r) {
          const Stats s = RunOnce(mode, os, block, seconds, 7u + static_cast<unsigned>(r));
          if (r == 0) {
            best = s;
          } else {
            best.mean = std::min(best.mean, s.mean);
            best.p99 = std::min(best.p99, s.p99);
            best.worst = std::min(best.worst, s.worst);
          }
        }
        std::printf("| %d | %s | %dx | %.1f %% | %.1f %% | %.1f %% |\n", block, kModeNames[mode], os, best.mean,
                    best.p99, best.worst);
        std::fflush(stdout);
      }
    }
  }
  return 0;
}
