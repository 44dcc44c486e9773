#include "dsp/resampler/Resampler.h"

#include <gtest/gtest.h>

#include "tests/dsp/RandomSignal.h"

#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

// A converter owned by a static-storage object made before any test runs,
// so that at exit it is freed after the shared kernel cache and work-area
// pool (made on first use, later) have been torn down.
struct LateOwner {
  Resampler resampler = {};
  bool armed = false;
  ~LateOwner() {
    if (armed) FreeResampler(&resampler);
  }
};
LateOwner gLateOwner;

struct ChainCase {
  double src, dst;
  std::vector<int> modes;
  std::vector<double> transitions;
  std::vector<int> drops;  // 0: h + B of the stage's kernel
  bool interpolator;
  bool bufferA, bufferB;
};

class ResamplerChains : public ::testing::TestWithParam<ChainCase> {};

TEST_P(ResamplerChains, HaveTheirShape) {
  const ChainCase c = GetParam();
  Resampler r;
  InitResampler(&r, c.src, c.dst, 4096, 0.5, 64.08, 0, true);
  ASSERT_EQ(r.numStages, static_cast<int>(c.modes.size()));
  for (int s = 0; s < r.numStages; ++s) {
    EXPECT_EQ(r.stages[s]->mode, c.modes[s]) << s;
    EXPECT_EQ(r.stages[s]->kernel->transitionPercent, c.transitions[s]) << s;
    const BlockConvolver* st = r.stages[s];
    EXPECT_EQ(st->dropCount, st->kernel->halfLength + st->blockSize) << s;
    if (c.drops[s]) {
      EXPECT_EQ(st->dropCount, c.drops[s]) << s;
    }
  }
  for (int s = r.numStages; s < Resampler::kMaxStages; ++s) EXPECT_EQ(r.stages[s], nullptr);
  EXPECT_EQ(r.interpolator != nullptr, c.interpolator);
  EXPECT_EQ(r.bufferA != nullptr, c.bufferA);
  EXPECT_EQ(r.bufferB != nullptr, c.bufferB);
  FreeResampler(&r);
}

INSTANTIATE_TEST_SUITE_P(
    Ratios, ResamplerChains,
    ::testing::Values(
        ChainCase{48000, 48000, {}, {}, {}, false, false, false},
        ChainCase{48000, 96000, {kConvolveDouble}, {0.5}, {3070}, false, true, false},
        ChainCase{48000, 192000, {kConvolveDouble, kConvolveDouble}, {0.5, 34.0}, {3070, 47},
                  false, true, true},
        ChainCase{96000, 48000, {kConvolveHalve}, {0.5}, {3070}, false, false, false},
        ChainCase{192000, 48000, {kConvolveHalve, kConvolveHalve}, {34.0, 0.5}, {47, 3070},
                  false, false, false},
        ChainCase{44100, 48000, {kConvolveDouble}, {0.5}, {3070}, true, true, false},
        ChainCase{44100, 96000, {kConvolveDouble}, {0.5}, {3070}, true, true, false},
        ChainCase{48000, 44100, {kConvolveDouble}, {0.5}, {0}, true, true, false},
        ChainCase{96000, 44100, {kConvolveFilter}, {0.5}, {0}, true, false, false},
        ChainCase{384000, 44100, {kConvolveHalve, kConvolveHalve, kConvolveFilter},
                  {45.0, 34.0, 0.5}, {43, 47, 0}, true, false, false}));

TEST(Resampler, MildReductionFiltersBelowTheTargetNyquist) {
  Resampler r;
  InitResampler(&r, 48000, 44100, 1024, 0.5, 64.08, 0, true);
  EXPECT_DOUBLE_EQ(r.stages[0]->kernel->cutoff, 0.5 * 44100.0 / 48000.0);
  EXPECT_DOUBLE_EQ(r.interpolator->stepNumerator / r.interpolator->stepDenominator,
                   96000.0 / 44100.0);
  FreeResampler(&r);
  InitResampler(&r, 44100, 48000, 1024, 0.5, 64.08, 0, true);
  EXPECT_EQ(r.interpTarget, r.bufferA);
  EXPECT_DOUBLE_EQ(r.interpolator->stepNumerator, 88200.0);
  FreeResampler(&r);
  // Without exact chains a power-of-two ratio also takes the interpolator.
  InitResampler(&r, 48000, 96000, 1024, 0.5, 64.08, 0, false);
  EXPECT_EQ(r.numStages, 1);
  EXPECT_NE(r.interpolator, nullptr);
  FreeResampler(&r);
}

std::vector<double> Sine(int n, double hz, double fs, double amplitude) {
  std::vector<double> x(n);
  for (int i = 0; i < n; ++i) x[i] = amplitude * std::sin(2.0 * kPi * hz * i / fs);
  return x;
}

// Runs blocks through a converter the way the engine does and gathers the
// output.
std::vector<double> RunBlocks(Resampler* r, const std::vector<double>& x, int block) {
  std::vector<double> out;
  std::vector<double> channel(block);
  for (size_t pos = 0; pos < x.size(); pos += block) {
    const int n = static_cast<int>(std::min<size_t>(block, x.size() - pos));
    std::copy(x.begin() + pos, x.begin() + pos + n, channel.begin());
    double* result = nullptr;
    const int m = RunResamplerBlock(r, channel.data(), n, &result);
    out.insert(out.end(), result, result + m);
  }
  return out;
}

class RoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(RoundTrip, UpThenDownReturnsTheSineAlignedWithTheInput) {
  const int factor = GetParam();
  const double fs = 48000.0;
  const int block = 512;
  Resampler up, down;
  InitResampler(&up, fs, factor * fs, block, 0.5, 64.08, 0, true);
  InitResampler(&down, factor * fs, fs, block * factor, 0.5, 64.08, 0, true);
  const std::vector<double> x = Sine(94 * block, 997.0, fs, 0.5);

  std::vector<double> y;
  std::vector<double> channel(block);
  int upCount = 0;
  for (size_t pos = 0; pos < x.size(); pos += block) {
    std::copy(x.begin() + pos, x.begin() + pos + block, channel.begin());
    double* mid = nullptr;
    const int n = RunResamplerBlock(&up, channel.data(), block, &mid);
    upCount += n;
    std::vector<double> hi(mid, mid + n);
    hi.resize(block * factor);
    double* result = nullptr;
    const int m = RunResamplerBlock(&down, hi.data(), n, &result);
    y.insert(y.end(), result, result + m);
  }
  // The drops are all the start-up the chain takes: each doubling stage
  // gives twice its input less its drop.
  int expectedUp = static_cast<int>(x.size());
  for (int s = 0; s < up.numStages; ++s) expectedUp = 2 * expectedUp - up.stages[s]->dropCount;
  EXPECT_EQ(upCount, expectedUp);
  ASSERT_GT(y.size(), 40000u);

  double err = 0.0, ref = 0.0;
  // The output starts at the first input sample; past the kernels' reach
  // at the start the two agree sample by sample.
  for (size_t i = 4000; i < y.size(); ++i) {
    err += (y[i] - x[i]) * (y[i] - x[i]);
    ref += x[i] * x[i];
  }
  EXPECT_LT(10.0 * std::log10(err / ref), -60.0);
  FreeResampler(&up);
  FreeResampler(&down);
}

INSTANTIATE_TEST_SUITE_P(Factors, RoundTrip, ::testing::Values(2, 4));

struct ConversionCase {
  double src, dst;
  double maxErrorDb;
};

class Conversion : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(Conversion, ProducesTheSineAtTheNewRateInTime) {
  const ConversionCase c = GetParam();
  Resampler r;
  InitResampler(&r, c.src, c.dst, 1024, 0.5, 64.08, 0, true);
  const double hz = 1234.5;
  const std::vector<double> x = Sine(static_cast<int>(c.src), hz, c.src, 0.5);
  const std::vector<double> y = RunBlocks(&r, x, 1000);
  const int expected = static_cast<int>(std::floor(x.size() * c.dst / c.src));
  EXPECT_LE(static_cast<int>(y.size()), expected + 1);
  // The start-up drops stay below 8000 output samples.
  EXPECT_GT(static_cast<int>(y.size()), expected - 8000);
  double worst = 0.0;
  for (size_t j = 4000; j < y.size(); ++j) {
    worst = std::max(worst, std::fabs(y[j] - 0.5 * std::sin(2.0 * kPi * hz * j / c.dst)));
  }
  EXPECT_LT(20.0 * std::log10(worst / 0.5), c.maxErrorDb);
  FreeResampler(&r);
}

INSTANTIATE_TEST_SUITE_P(Rates, Conversion,
                         ::testing::Values(ConversionCase{44100, 48000, -60.0},
                                           ConversionCase{48000, 44100, -60.0},
                                           ConversionCase{44100, 96000, -60.0},
                                           ConversionCase{96000, 44100, -60.0},
                                           ConversionCase{192000, 44100, -60.0},
                                           ConversionCase{48000, 192000, -60.0}));

TEST(Resampler, EqualRatesPassTheDataUnchanged) {
  Resampler r;
  InitResampler(&r, 48000, 48000, 256, 0.5, 64.08, 0, true);
  std::vector<double> x = Sine(256, 1000, 48000, 1.0);
  const std::vector<double> copy = x;
  double* out = nullptr;
  EXPECT_EQ(RunResamplerBlock(&r, x.data(), 256, &out), 256);
  EXPECT_EQ(out, x.data());
  EXPECT_EQ(x, copy);
  FreeResampler(&r);
}

TEST(Resampler, LongBlocksArePiecedWithoutOverrunningTheBuffers) {
  const int maxBlock = 300;
  std::mt19937 rng(9);
  std::uniform_real_distribution<double> d(-1.0, 1.0);
  std::vector<double> x(20 * maxBlock + 17);
  for (double& v : x) v = d(rng);
  for (double ratio : {4.0, 0.25, 48000.0 / 44100.0}) {
    Resampler a, b;
    InitResampler(&a, 44100, 44100 * ratio, maxBlock, 0.5, 64.08, 0, true);
    InitResampler(&b, 44100, 44100 * ratio, maxBlock, 0.5, 64.08, 0, true);
    // One call with the whole signal, far above maxBlock...
    std::vector<double> whole(ResamplerMaxOutput(&a, static_cast<int>(x.size())));
    const int n = ProcessResampler(&a, x.data(), static_cast<int>(x.size()), whole.data(),
                                   static_cast<int>(whole.size()));
    // ... equals blocks within it.
    const std::vector<double> blocks = RunBlocks(&b, x, maxBlock);
    ASSERT_EQ(n, static_cast<int>(blocks.size())) << ratio;
    for (int i = 0; i < n; ++i) ASSERT_EQ(whole[i], blocks[i]) << ratio << " " << i;
    // The block entry refuses what it cannot hold.
    double* out = nullptr;
    EXPECT_EQ(RunResamplerBlock(&a, x.data(), maxBlock + 1, &out), 0);
    // A short output buffer is filled, never overrun.
    std::vector<double> small(10);
    EXPECT_LE(ProcessResampler(&a, x.data(), 4 * maxBlock, small.data(), 10), 10);
    FreeResampler(&a);
    FreeResampler(&b);
  }
}

TEST(Resampler, ResetRestartsEveryStageAndTheInterpolator) {
  for (double dst : {192000.0, 48000.0}) {
    Resampler r;
    InitResampler(&r, 44100, dst, 512, 0.5, 64.08, 0, true);
    const std::vector<double> x = Sine(8000, 440, 44100, 0.3);
    const std::vector<double> first = RunBlocks(&r, x, 512);
    ResetResampler(&r);
    EXPECT_EQ(RunBlocks(&r, x, 512), first);
    FreeResampler(&r);
  }
}

TEST(ResamplerDeathTest, SurvivesFreeingAfterTheSharedCachesAreGone) {
  EXPECT_EXIT(
      {
        InitResampler(&gLateOwner.resampler, 48000, 192000, 512, 0.5, 64.08, 0, true);
        std::vector<double> x = Sine(512, 1000, 48000, 0.5);
        double* out = nullptr;
        RunResamplerBlock(&gLateOwner.resampler, x.data(), 512, &out);
        gLateOwner.armed = true;
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace

namespace {

struct PairCase {
  double from, to;
};

class ResamplerPairs : public ::testing::TestWithParam<PairCase> {};

}  // namespace

// Two channels through converters built alike, in blocks of several sizes:
// the pair call gives each channel exactly its own converter's output,
// for the exact 2x and 4x chains both ways and for a ratio with an
// interpolator (which runs the channels one after the other).
TEST_P(ResamplerPairs, GiveEachChannelItsOwnConvertersOutputBitForBit) {
  const PairCase c = GetParam();
  Resampler pairA{}, pairB{}, soloA{}, soloB{};
  for (Resampler* r : {&pairA, &pairB, &soloA, &soloB}) {
    InitResampler(r, c.from, c.to, 4096, 0.5, 64.08, 0, true);
  }
  const std::vector<double> x = RandomSignal(60000, 31), y = RandomSignal(60000, 32);
  const int blocks[] = {4096, 1, 137, 512, 3000};
  std::vector<double> inA(4096), inB(4096), inSoloA(4096), inSoloB(4096);
  int pos = 0;
  for (int call = 0; pos + 4096 <= 60000; ++call) {
    const int n = blocks[call % 5];
    std::copy(x.begin() + pos, x.begin() + pos + n, inA.begin());
    std::copy(y.begin() + pos, y.begin() + pos + n, inB.begin());
    std::copy(x.begin() + pos, x.begin() + pos + n, inSoloA.begin());
    std::copy(y.begin() + pos, y.begin() + pos + n, inSoloB.begin());
    double *outA = nullptr, *outB = nullptr, *wantA = nullptr, *wantB = nullptr;
    int32_t countB = -1;
    const int32_t countA = RunResamplerBlockPair(&pairA, &pairB, inA.data(), inB.data(), n, &outA, &outB, &countB);
    ASSERT_EQ(countA, RunResamplerBlock(&soloA, inSoloA.data(), n, &wantA)) << "call " << call;
    ASSERT_EQ(countB, RunResamplerBlock(&soloB, inSoloB.data(), n, &wantB)) << "call " << call;
    for (int i = 0; i < countA; ++i) ASSERT_EQ(outA[i], wantA[i]) << "call " << call << ", sample " << i;
    for (int i = 0; i < countB; ++i) ASSERT_EQ(outB[i], wantB[i]) << "call " << call << ", sample " << i;
    pos += n;
  }
  for (Resampler* r : {&pairA, &pairB, &soloA, &soloB}) FreeResampler(r);
}

INSTANTIATE_TEST_SUITE_P(Ratios, ResamplerPairs,
                         ::testing::Values(PairCase{48000.0, 96000.0}, PairCase{96000.0, 48000.0},
                                           PairCase{48000.0, 192000.0}, PairCase{192000.0, 48000.0},
                                           PairCase{44100.0, 48000.0}));

namespace {

// A chain that says it keeps its input leaves every sample of the caller's
// channel as it was (callers then pass a buffer they may not write); the
// up-converting exact chains say so, the halving ones (in place) do not.
TEST(Resampler, ChainsThatKeepTheirInputLeaveTheChannelUntouched) {
  struct Case {
    double from, to;
    bool keeps;
  };
  const Case cases[] = {{48000.0, 96000.0, true}, {48000.0, 192000.0, true}, {96000.0, 48000.0, false},
                        {192000.0, 48000.0, false}};
  for (const Case& c : cases) {
    Resampler r{};
    InitResampler(&r, c.from, c.to, 1024, 0.5, 64.08, 0, true);
    EXPECT_EQ(ResamplerKeepsItsInput(r), c.keeps) << c.from << " to " << c.to;
    const std::vector<double> x = RandomSignal(1024, 41);
    std::vector<double> channel = x;
    for (int call = 0; call < 12; ++call) {
      double* out = nullptr;
      const int n = RunResamplerBlock(&r, channel.data(), 1000, &out);
      if (c.keeps) {
        ASSERT_EQ(channel, x) << c.from << " to " << c.to << ", call " << call;
        ASSERT_TRUE(n == 0 || out < channel.data() || out >= channel.data() + channel.size());
      }
      channel = x;
    }
    FreeResampler(&r);
  }
}

}  // namespace
