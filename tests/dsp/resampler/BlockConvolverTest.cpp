#include "dsp/resampler/BlockConvolver.h"

#include "dsp/resampler/LowPassKernelCache.h"
#include "tests/dsp/resampler/KernelTaps.h"

#include <gtest/gtest.h>

#include "tests/dsp/RandomSignal.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace {

struct StageCase {
  double cutoff, transitionPercent;
  int mode;
  bool inPlace;
};

// The stage's output evaluated directly: the filter-rate stream s (the input,
// or (2x, 0) pairs when doubling) convolved with the kernel's taps and
// centred, y[n] = sum taps[k] s[n + h - k]; a halving stage keeps y[0],
// y[2], ...
std::vector<double> DirectStage(const std::vector<double>& x, const std::vector<double>& taps,
                                int h, int mode, int outputs) {
  std::vector<double> s;
  if (mode == kConvolveDouble) {
    for (double v : x) {
      s.push_back(2.0 * v);
      s.push_back(0.0);
    }
  } else {
    s = x;
  }
  const int length = 2 * h + 1;
  std::vector<double> y(outputs);
  for (int j = 0; j < outputs; ++j) {
    const int n = mode == kConvolveHalve ? 2 * j : j;
    long double acc = 0.0L;
    for (int k = 0; k < length; ++k) {
      const int i = n + h - k;
      if (i >= 0 && i < static_cast<int>(s.size())) acc += taps[k] * s[i];
    }
    y[j] = static_cast<double>(acc);
  }
  return y;
}

class BlockConvolverStages : public ::testing::TestWithParam<StageCase> {};

TEST_P(BlockConvolverStages, OutputEqualsDirectConvolutionAlignedWithTheInput) {
  const StageCase c = GetParam();
  LowPassKernel* kernel = GetCachedLowPassFilter(c.cutoff, c.transitionPercent, 64.08, 0, nullptr);
  BlockConvolver stage;
  InitBlockConvolver(&stage, kernel, c.mode, 0.0);
  const int h = kernel->halfLength;
  const int b = 1 << kernel->log2Block;
  EXPECT_EQ(stage.blockSize, b);
  EXPECT_EQ(stage.dropCount, h + b);

  const int total = 3 * stage.dropCount + 3000;
  const std::vector<double> x = RandomSignal(total, 11);
  std::vector<double> got;
  const int chunks[] = {1, 137, 512, 7, 2 * b + 3};
  int pos = 0, call = 0;
  std::vector<double> buffer(2 * std::max(512, 2 * b + 3));
  while (pos < total) {
    const int n = std::min(chunks[call++ % 5], total - pos);
    double* out;
    if (c.inPlace) {
      std::copy(x.begin() + pos, x.begin() + pos + n, buffer.begin());
      out = buffer.data();
      const int m = ConvolveBlock(&stage, buffer.data(), &out, n);
      got.insert(got.end(), out, out + m);
    } else {
      out = buffer.data();
      const int m = ConvolveBlock(&stage, x.data() + pos, &out, n);
      ASSERT_GE(out, buffer.data());
      got.insert(got.end(), out, out + m);
    }
    pos += n;
  }

  const int filterRate = total << stage.upShift;
  int expected = filterRate - stage.dropCount;
  if (c.mode == kConvolveHalve) expected = (expected + 1) / 2;
  ASSERT_EQ(static_cast<int>(got.size()), expected);
  const std::vector<double> taps = TestKernel::TapsFromSpectrum(*kernel);
  const std::vector<double> direct = DirectStage(x, taps, h, c.mode, expected);
  for (int j = 0; j < expected; ++j) ASSERT_NEAR(got[j], direct[j], 1e-12) << j;
  ReleaseBlockConvolver(&stage);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, BlockConvolverStages,
    ::testing::Values(StageCase{0.5, 45.0, kConvolveFilter, false},
                      StageCase{0.5, 45.0, kConvolveFilter, true},
                      StageCase{0.5, 34.0, kConvolveDouble, false},
                      StageCase{0.5, 34.0, kConvolveHalve, false},
                      StageCase{0.5, 34.0, kConvolveHalve, true},
                      StageCase{0.5, 0.5, kConvolveDouble, false},
                      StageCase{0.5, 0.5, kConvolveHalve, true},
                      StageCase{0.4594, 0.5, kConvolveFilter, true}));

TEST(BlockConvolver, DelaysCarryIntoTheDropAndTheNextStage) {
  LowPassKernel* k1 = GetCachedLowPassFilter(0.5, 45.0, 64.08, 0, nullptr);
  LowPassKernel* k2 = GetCachedLowPassFilter(0.5, 45.0, 64.08, 0, nullptr);
  LowPassKernel* k3 = GetCachedLowPassFilter(0.5, 45.0, 64.08, 0, nullptr);
  BlockConvolver up, down, plain;
  InitBlockConvolver(&up, k1, kConvolveDouble, 1.75);
  InitBlockConvolver(&down, k2, kConvolveHalve, 1.75);
  InitBlockConvolver(&plain, k3, kConvolveFilter, 1.75);
  const int base = k1->halfLength + (1 << k1->log2Block);
  // Doubling counts the delay twice (3.5); halving halves what is handed on.
  EXPECT_EQ(up.dropCount, base + 3);
  EXPECT_DOUBLE_EQ(up.fracDelay, 0.5);
  EXPECT_EQ(down.dropCount, base + 1);
  EXPECT_DOUBLE_EQ(down.fracDelay, 0.375);
  EXPECT_EQ(plain.dropCount, base + 1);
  EXPECT_DOUBLE_EQ(plain.fracDelay, 0.75);
  EXPECT_EQ(k1->refCount >= 3, true);
  ReleaseBlockConvolver(&up);
  ReleaseBlockConvolver(&down);
  ReleaseBlockConvolver(&plain);
}

TEST(BlockConvolver, ResetReturnsToTheStart) {
  LowPassKernel* kernel = GetCachedLowPassFilter(0.5, 34.0, 64.08, 0, nullptr);
  BlockConvolver stage;
  InitBlockConvolver(&stage, kernel, kConvolveDouble, 0.0);
  const std::vector<double> x = RandomSignal(400, 5);
  std::vector<double> first(800), second(800);
  double* out = first.data();
  const int n1 = ConvolveBlock(&stage, x.data(), &out, 400);
  const std::vector<double> a(out, out + n1);
  ResetBlockConvolver(&stage);
  out = second.data();
  const int n2 = ConvolveBlock(&stage, x.data(), &out, 400);
  ASSERT_EQ(n1, n2);
  EXPECT_EQ(a, std::vector<double>(out, out + n2));
  ReleaseBlockConvolver(&stage);
}

}  // namespace

namespace {

std::vector<uint64_t> Bits(const double* v, int n) {
  std::vector<uint64_t> b(static_cast<size_t>(n));
  if (n > 0) std::memcpy(b.data(), v, static_cast<size_t>(n) * sizeof(double));
  return b;
}

}  // namespace

// Two channels through stages in step, in calls of every length: the pair
// call gives each channel exactly what its own stage gives it, in every
// mode, and a pair out of step is run one stage after the other.
TEST_P(BlockConvolverStages, PairsGiveEachChannelItsOwnStagesOutputBitForBit) {
  const StageCase c = GetParam();
  BlockConvolver pairA, pairB, soloA, soloB;
  for (BlockConvolver* s : {&pairA, &pairB, &soloA, &soloB}) {
    // A reference of its own for each stage, which its release gives back.
    InitBlockConvolver(s, GetCachedLowPassFilter(c.cutoff, c.transitionPercent, 64.08, 0, nullptr), c.mode, 0.0);
  }
  const int b = pairA.blockSize;
  const int total = 2 * pairA.dropCount + 5 * b;
  const std::vector<double> x = RandomSignal(total, 21), y = RandomSignal(total, 22);
  const int chunks[] = {1, 137, 512, 7, 2 * b + 3};
  const size_t room = 2 * static_cast<size_t>(std::max(512, 2 * b + 3));
  std::vector<double> bufA(room), bufB(room), bufSoloA(room), bufSoloB(room);
  int pos = 0, call = 0;
  while (pos < total) {
    const int n = std::min(chunks[call++ % 5], total - pos);
    if (call == 9) {
      // Out of step for a while: the pair must fall back to one stage each.
      ResetBlockConvolver(&pairB);
      ResetBlockConvolver(&soloB);
    }
    double* outA = bufA.data();
    double* outB = bufB.data();
    int producedB = -1;
    const int producedA = ConvolveBlockPair(&pairA, &pairB, x.data() + pos, y.data() + pos, &outA, &outB, n, &producedB);
    double* wantA = bufSoloA.data();
    double* wantB = bufSoloB.data();
    ASSERT_EQ(producedA, ConvolveBlock(&soloA, x.data() + pos, &wantA, n)) << "call " << call;
    ASSERT_EQ(producedB, ConvolveBlock(&soloB, y.data() + pos, &wantB, n)) << "call " << call;
    ASSERT_EQ(outA - bufA.data(), wantA - bufSoloA.data());
    ASSERT_EQ(outB - bufB.data(), wantB - bufSoloB.data());
    ASSERT_EQ(Bits(outA, producedA), Bits(wantA, producedA)) << "call " << call;
    ASSERT_EQ(Bits(outB, producedB), Bits(wantB, producedB)) << "call " << call;
    pos += n;
  }
  for (BlockConvolver* s : {&pairA, &pairB, &soloA, &soloB}) ReleaseBlockConvolver(s);
}
