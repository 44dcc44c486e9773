// The converters against the same chains held to full-size block transforms,
// the arithmetic the direct and half-size paths replace: every output sample
// within rounding of it, with the same counts call by call.
#include "dsp/resampler/Resampler.h"

#include "dsp/resampler/HalfBlockPasses.h"
#include "dsp/resampler/HalfBlockTransform.h"

#include <gtest/gtest.h>

#include "tests/dsp/RandomSignal.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

namespace {

constexpr double kTolerance = 1e-12;
constexpr double kRate = 48000.0;
constexpr int kMaxBlock = 8192;

struct Converters {
  Resampler fast[2] = {};
  Resampler reference[2] = {};
  Converters(double src, double dst, int maxBlock) {
    for (int c = 0; c < 2; ++c) {
      InitResampler(&fast[c], src, dst, maxBlock, 0.5, 64.08, 0, true);
      InitResampler(&reference[c], src, dst, maxBlock, 0.5, 64.08, 0, true, kTransformsOnly);
    }
  }
  ~Converters() {
    for (int c = 0; c < 2; ++c) {
      FreeResampler(&fast[c]);
      FreeResampler(&reference[c]);
    }
  }
};

// The comparison means something only if the default chain really leaves the
// full-size transforms: at these ratios every stage has a short kernel (direct)
// or doubles or halves (half-size transforms), while the reference has none.
TEST(ConverterReference, DefaultStagesTakeTheFastPathsAndTheReferenceNone) {
  for (int factor : {2, 4}) {
    for (bool upward : {true, false}) {
      const double src = upward ? kRate : factor * kRate;
      const double dst = upward ? factor * kRate : kRate;
      Converters conv(src, dst, kMaxBlock);
      const int stages = factor == 2 ? 1 : 2;
      ASSERT_EQ(conv.fast[0].numStages, stages) << factor << " " << upward;
      ASSERT_EQ(conv.reference[0].numStages, stages) << factor << " " << upward;
      int direct = 0, half = 0;
      for (int s = 0; s < stages; ++s) {
        const BlockConvolver* fast = conv.fast[0].stages[s];
        const BlockConvolver* reference = conv.reference[0].stages[s];
        EXPECT_TRUE(fast->direct || fast->half) << factor << " " << upward << " stage " << s;
        EXPECT_FALSE(reference->direct || reference->half) << factor << " " << upward << " stage " << s;
        EXPECT_EQ(fast->kernel, reference->kernel);
        EXPECT_EQ(fast->mode, reference->mode);
        direct += fast->direct != nullptr;
        half += fast->half != nullptr;
      }
      // The 34 % stage of a four-times chain is short, the 0.5 % stage long.
      EXPECT_EQ(direct, factor == 4 ? 1 : 0) << factor << " " << upward;
      EXPECT_EQ(half, 1) << factor << " " << upward;
    }
  }
}

// Where the processor has AVX2 and FMA the half-size stages take the fused
// passes, so the comparisons below hold those to the reference.
TEST(ConverterReference, HalfSizeStagesTakeTheFusedPassesWhereTheProcessorHasThem) {
  for (int factor : {2, 4}) {
    for (bool upward : {true, false}) {
      Converters conv(upward ? kRate : factor * kRate, upward ? factor * kRate : kRate, kMaxBlock);
      for (int s = 0; s < conv.fast[0].numStages; ++s) {
        const HalfBlockTransform* half = conv.fast[0].stages[s]->half;
        if (!half) continue;
        EXPECT_EQ(HalfBlockKeepsCompactBlocks(half), HalfBlockPasses::Available()) << factor << " " << s;
      }
    }
  }
}

// factor, upward, block, stereo
using Case = std::tuple<int, bool, int, bool>;
class ConverterReference : public ::testing::TestWithParam<Case> {};

TEST_P(ConverterReference, EveryCallGivesTheReferenceCountAndSamplesWithinRounding) {
  const auto [factor, upward, block, stereo] = GetParam();
  const double src = upward ? kRate : factor * kRate;
  const double dst = upward ? factor * kRate : kRate;
  const int maxBlock = upward ? kMaxBlock : kMaxBlock * factor;
  Converters conv(src, dst, maxBlock);
  const int total = std::max(3 * 4096 + 700, 40 * block);
  const std::vector<double> signal[2] = {RandomSignal(total, 3), RandomSignal(total, 4)};
  std::vector<double> fastIn[2], refIn[2];
  for (int c = 0; c < 2; ++c) {
    fastIn[c].resize(maxBlock);
    refIn[c].resize(maxBlock);
  }
  double worst = 0.0;
  long compared = 0;
  for (int pos = 0; pos < total; pos += block) {
    const int n = std::min(block, total - pos);
    for (int c = 0; c < 2; ++c) {
      std::copy_n(signal[c].begin() + pos, n, fastIn[c].begin());
      std::copy_n(signal[c].begin() + pos, n, refIn[c].begin());
    }
    double* fastOut[2] = {};
    double* refOut[2] = {};
    int fastCount[2] = {}, refCount[2] = {};
    if (stereo) {
      fastCount[0] = RunResamplerBlockPair(&conv.fast[0], &conv.fast[1], fastIn[0].data(), fastIn[1].data(), n,
                                           &fastOut[0], &fastOut[1], &fastCount[1]);
      refCount[0] = RunResamplerBlockPair(&conv.reference[0], &conv.reference[1], refIn[0].data(), refIn[1].data(),
                                          n, &refOut[0], &refOut[1], &refCount[1]);
    } else {
      fastCount[0] = RunResamplerBlock(&conv.fast[0], fastIn[0].data(), n, &fastOut[0]);
      refCount[0] = RunResamplerBlock(&conv.reference[0], refIn[0].data(), n, &refOut[0]);
    }
    for (int c = 0; c < (stereo ? 2 : 1); ++c) {
      ASSERT_EQ(fastCount[c], refCount[c]) << "call at " << pos << ", channel " << c;
      for (int i = 0; i < fastCount[c]; ++i) {
        const double d = std::fabs(fastOut[c][i] - refOut[c][i]);
        worst = std::max(worst, d);
        ASSERT_LE(d, kTolerance) << "call at " << pos << ", channel " << c << ", sample " << i;
      }
      compared += fastCount[c];
    }
  }
  // The start-up is past and the output carries the signal.
  EXPECT_GT(compared, (stereo ? 2 : 1) * (upward ? factor : 1) * (total - 4096 * factor) / (upward ? 1 : factor));
  RecordProperty("worst", testing::PrintToString(worst));
}

INSTANTIATE_TEST_SUITE_P(Shapes, ConverterReference,
                         ::testing::Combine(::testing::Values(2, 4), ::testing::Bool(),
                                            ::testing::Values(1, 37, 512, 4096), ::testing::Bool()));

// ProcessResampler's pieces and a reset in the middle of a run.
TEST(ConverterReference, ResetAndLongCallsMatch) {
  for (int factor : {2, 4}) {
    Converters conv(factor * kRate, kRate, 1000);
    const std::vector<double> x = RandomSignal(9000, 9);
    for (int round = 0; round < 2; ++round) {
      std::vector<double> a(9000), b(9000);
      const int na = ProcessResampler(&conv.fast[0], x.data(), 9000, a.data(), 9000);
      const int nb = ProcessResampler(&conv.reference[0], x.data(), 9000, b.data(), 9000);
      ASSERT_EQ(na, nb);
      ASSERT_GT(na, 0);
      for (int i = 0; i < na; ++i) ASSERT_NEAR(a[i], b[i], kTolerance) << factor << " " << round << " " << i;
      ResetResampler(&conv.fast[0]);
      ResetResampler(&conv.reference[0]);
    }
  }
}

}  // namespace
