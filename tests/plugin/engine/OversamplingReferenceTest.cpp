// The oversampled path with today's converters against the same path run
// through converters held to full-size block transforms, the arithmetic the
// direct and half-size paths replace: the bank the same in both, every output
// sample within rounding.
#include "dsp/resampler/Resampler.h"
#include "plugin/engine/FilterBank.h"
#include "plugin/engine/OversamplingStage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <tuple>
#include <vector>

#include "tests/dsp/RandomSignal.h"
#include "tests/plugin/engine/EngineTestSupport.h"

namespace {

constexpr double kRate = 48000.0;
constexpr double kTolerance = 1e-12;
// The zero-latency bank's low bells at the oversampled rate have poles close
// to z = 1: inputs differing in their last bits round differently inside
// them, which shows at the output a few times larger than the converters'
// own deviation.
constexpr double kZeroLatencyTolerance = 1e-10;

// The stage's slice, step by step, with the reference converters.
class ReferenceStage {
 public:
  ReferenceStage(int factor) : mFactor(factor) {
    for (int c = 0; c < 2; ++c) {
      InitResampler(&mUp[c], kRate, factor * kRate, kMaxBlock, 0.5, 64.08, 0, true, kTransformsOnly);
      InitResampler(&mDown[c], factor * kRate, kRate, kMaxBlock * factor, 0.5, 64.08, 0, true, kTransformsOnly);
      mInput[c].resize(kMaxBlock);
      mFiltered[c].resize(kMaxBlock * factor);
    }
  }
  ~ReferenceStage() {
    for (int c = 0; c < 2; ++c) {
      FreeResampler(&mUp[c]);
      FreeResampler(&mDown[c]);
    }
  }
  void Process(double** in, double** out, int n, int channels, ChannelProcessor& bank) {
    double* up[2] = {};
    double* down[2] = {};
    for (int c = 0; c < channels; ++c) std::copy_n(in[c], n, mInput[c].begin());
    int upCount = n * mFactor;
    if (channels == 2) {
      int32_t second = 0;
      const int32_t first =
          RunResamplerBlockPair(&mUp[0], &mUp[1], mInput[0].data(), mInput[1].data(), n, &up[0], &up[1], &second);
      upCount = std::min(upCount, static_cast<int>(std::min(first, second)));
    } else {
      upCount = std::min(upCount, static_cast<int>(RunResamplerBlock(&mUp[0], mInput[0].data(), n, &up[0])));
    }
    double* filtered[2] = {mFiltered[0].data(), mFiltered[1].data()};
    bank.ProcessChannels(up, filtered, upCount, channels, channels);
    int downCount = 0;
    if (channels == 2) {
      RunResamplerBlockPair(&mDown[0], &mDown[1], filtered[0], filtered[1], upCount, &down[0], &down[1], &downCount);
    } else {
      downCount = RunResamplerBlock(&mDown[0], filtered[0], upCount, &down[0]);
    }
    for (int c = 0; c < channels; ++c) {
      if (downCount == n) {
        std::copy_n(down[c], n, out[c]);
      } else {
        std::fill_n(out[c], n, 0.0);
      }
    }
  }

 private:
  static constexpr int kMaxBlock = OversamplingStage::kMinBlock;
  int mFactor;
  Resampler mUp[2] = {};
  Resampler mDown[2] = {};
  std::vector<double> mInput[2], mFiltered[2];
};

// The twelve +3 dB bells of the speed comparison, in one filter mode at a factor.
void SetUpBank(ParamMirrors& m, FilterBank& bank, int mode, int factor) {
  for (int b = 0; b < kNumBands; ++b) {
    EngineTestSupport::SetPeak(m, b, 40.0 * std::pow(400.0, b / 11.0), 3.0, 1.0, 0);
  }
  m.filterMode = mode;
  m.osFactor = factor;
  bank.Init(kRate, 4096, factor);
  if (mode > 0) {
    bank.BuildImpulseResponse(FirImpulseBuilder::LengthFor(mode, factor), factor);
    bank.UpdateConvolution(true, true, factor);
  }
}

// factor, filter mode, block, channels
using Case = std::tuple<int, int, int, int>;
class OversamplingReference : public ::testing::TestWithParam<Case> {};

TEST_P(OversamplingReference, OutputStaysWithinRoundingOfTheReferenceConverters) {
  const auto [factor, mode, block, channels] = GetParam();
  ParamMirrors m;
  FilterBank bank{&m}, referenceBank{&m};
  SetUpBank(m, bank, mode, factor);
  SetUpBank(m, referenceBank, mode, factor);
  OversamplingStage stage;
  stage.Setup(kRate, block, factor);
  ReferenceStage reference(factor);

  // Long enough to hear the signal past the bank's latency.
  const int total = (block == 1 ? 5000 : std::max(12000, 4 * block)) + bank.GetFirLatency() / factor;
  const std::vector<double> signal[2] = {RandomSignal(total, 21), RandomSignal(total, 22)};
  std::vector<double> in[2], out[2], expected[2];
  for (int c = 0; c < 2; ++c) {
    in[c].resize(block);
    out[c].resize(block);
    expected[c].resize(block);
  }
  int heard = 0;
  for (int pos = 0; pos < total; pos += block) {
    const int n = std::min(block, total - pos);
    double* ins[2] = {in[0].data(), in[1].data()};
    double* outs[2] = {out[0].data(), out[1].data()};
    double* wanted[2] = {expected[0].data(), expected[1].data()};
    for (int c = 0; c < channels; ++c) std::copy_n(signal[c].begin() + pos, n, in[c].begin());
    stage.Process(ins, outs, n, channels, channels, bank);
    for (int c = 0; c < channels; ++c) std::copy_n(signal[c].begin() + pos, n, in[c].begin());
    reference.Process(ins, wanted, n, channels, referenceBank);
    for (int c = 0; c < channels; ++c) {
      for (int i = 0; i < n; ++i) {
        ASSERT_NEAR(out[c][i], expected[c][i], mode == 0 ? kZeroLatencyTolerance : kTolerance) << "frame " << pos + i << ", channel " << c;
        if (expected[c][i] != 0.0) ++heard;
      }
    }
  }
  // Past the converters' start-up and the bank's latency the signal comes through.
  EXPECT_GT(heard, channels * 1000);
}

INSTANTIATE_TEST_SUITE_P(EveryMode, OversamplingReference,
                         ::testing::Combine(::testing::Values(2, 4), ::testing::Range(0, 7), ::testing::Values(512),
                                            ::testing::Values(1, 2)));
INSTANTIATE_TEST_SUITE_P(BlockSizes, OversamplingReference,
                         ::testing::Combine(::testing::Values(2, 4), ::testing::Values(0, 5),
                                            ::testing::Values(1, 37, 4096), ::testing::Values(1, 2)));

}  // namespace
