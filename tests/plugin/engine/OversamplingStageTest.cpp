#include "plugin/engine/OversamplingStage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/plugin/engine/EngineTestSupport.h"

namespace {

using EngineTestSupport::Channels;

// Stands in for the bank: halves the signal, copying input 0 to any
// output without an input of its own, and notes the largest block.
class HalfGain : public ChannelProcessor {
 public:
  void ProcessChannels(double** in, double** out, int n, int nIn, int nOut) override {
    largest = std::max(largest, n);
    for (int c = 0; c < nOut; ++c) {
      for (int i = 0; i < n; ++i) out[c][i] = 0.5 * in[c < nIn ? c : 0][i];
    }
  }
  int largest = 0;
};

Channels RunStage(OversamplingStage& stage, ChannelProcessor& processor, const Channels& in, int nOut, int block) {
  const int total = static_cast<int>(in[0].size());
  const int nIn = static_cast<int>(in.size());
  Channels out(nOut, std::vector<double>(total));
  for (int offset = 0; offset < total; offset += block) {
    const int n = std::min(block, total - offset);
    Channels inBlock(nIn), outBlock(nOut, std::vector<double>(n, -1.0));
    double* ins[2] = {nullptr, nullptr};
    double* outs[2] = {nullptr, nullptr};
    for (int c = 0; c < nIn; ++c) {
      inBlock[c].assign(in[c].begin() + offset, in[c].begin() + offset + n);
      ins[c] = inBlock[c].data();
    }
    for (int c = 0; c < nOut; ++c) outs[c] = outBlock[c].data();
    stage.Process(ins, outs, n, nIn, nOut, processor);
    for (int c = 0; c < nOut; ++c) std::copy(outBlock[c].begin(), outBlock[c].end(), out[c].begin() + offset);
  }
  return out;
}

int FirstNonZero(const std::vector<double>& v) {
  for (int i = 0; i < static_cast<int>(v.size()); ++i) {
    if (v[i] != 0.0) return i;
  }
  return -1;
}

class OversamplingFactor : public ::testing::TestWithParam<int> {};

TEST_P(OversamplingFactor, ImpulseComesOutDelayedByTheReportedLatency) {
  const int factor = GetParam();
  OversamplingStage stage;
  stage.Setup(48000.0, 512, factor);
  const int latency = stage.GetConverterLatency();
  EXPECT_GT(latency, 0);
  EXPECT_EQ(OversamplingStage::ConverterLatencyFor(48000.0, factor), latency);

  HalfGain half;
  const int at = 9000;
  const Channels out = RunStage(stage, half, {EngineTestSupport::Impulse(16384, at)}, 1, 256);
  const int peak = EngineTestSupport::ArgMaxAbs(out[0]);
  EXPECT_EQ(peak - at, latency);
  EXPECT_NEAR(out[0][peak], 0.5, 0.01);
  // The converter pair is symmetric about the delay.
  EXPECT_NEAR(out[0][peak - 1], out[0][peak + 1], 1e-9);
  EXPECT_EQ(half.largest, 256 * factor);
}

TEST_P(OversamplingFactor, SilentWhileFillingThenContinuous) {
  const int factor = GetParam();
  OversamplingStage stage;
  stage.Setup(44100.0, 512, factor);
  const int latency = stage.GetConverterLatency();
  HalfGain half;
  const int total = 32768, block = 512;
  const std::vector<double> sine = EngineTestSupport::Sine(total, 997.0, 44100.0);
  const Channels out = RunStage(stage, half, {sine, sine}, 2, block);
  const int first = FirstNonZero(out[0]);
  ASSERT_GT(first, 0);
  // Whole blocks of silence: the filling converters give partial counts.
  EXPECT_EQ(first % block, 0);
  for (int t = first; t < total; ++t) {
    for (int c = 0; c < 2; ++c) ASSERT_NEAR(out[c][t], 0.5 * sine[t - latency], 2e-3) << c << " at " << t;
  }
}

TEST_P(OversamplingFactor, BlocksLongerThanTheSetUpAreSliced) {
  const int factor = GetParam();
  OversamplingStage longBlocks, shortBlocks;
  longBlocks.Setup(48000.0, 512, factor);
  shortBlocks.Setup(48000.0, 512, factor);
  ASSERT_EQ(longBlocks.GetMaxBlock(), 8192);
  HalfGain a, b;
  const Channels in = {EngineTestSupport::Noise(60000, 3), EngineTestSupport::Noise(60000, 4)};
  const Channels outLong = RunStage(longBlocks, a, in, 2, 20000);
  const Channels outShort = RunStage(shortBlocks, b, in, 2, 512);
  EXPECT_LE(a.largest, 8192 * factor);
  // Start-up silence differs with the block size; after it, the streams agree.
  const int from = std::max(FirstNonZero(outLong[0]), FirstNonZero(outShort[0]));
  ASSERT_GT(from, 0);
  ASSERT_LT(from, 20000);
  for (int c = 0; c < 2; ++c) {
    for (int t = from; t < 60000; ++t) ASSERT_NEAR(outLong[c][t], outShort[c][t], 1e-12) << c << " at " << t;
  }
}

TEST_P(OversamplingFactor, MonoRunsOneChannelOfEach) {
  const int factor = GetParam();
  OversamplingStage mono, stereo;
  mono.Setup(48000.0, 1024, factor);
  stereo.Setup(48000.0, 1024, factor);
  HalfGain a, b;
  const std::vector<double> noise = EngineTestSupport::Noise(20000, 9);
  const Channels outMono = RunStage(mono, a, {noise}, 1, 1024);
  const Channels outStereo = RunStage(stereo, b, {noise, noise}, 2, 1024);
  EXPECT_EQ(outMono[0], outStereo[0]);
}

// The up-converters read the host's input where it lies and the processor
// may work in the converters' buffers: the input stays as it was, a host
// handing one buffer each way gets what separate buffers get, and a mono
// input feeding two outputs still reaches both whole.
TEST_P(OversamplingFactor, HostBuffersMayBeSharedAndTheInputIsLeftAlone) {
  const int factor = GetParam();
  const int block = 512, total = 40 * block;
  const Channels in = {EngineTestSupport::Noise(total, 21), EngineTestSupport::Noise(total, 22)};
  for (int nIn : {1, 2}) {
    OversamplingStage apart, shared;
    apart.Setup(48000.0, block, factor);
    shared.Setup(48000.0, block, factor);
    HalfGain a, b;
    Channels separateOut(2, std::vector<double>(total)), sharedIo = in;
    Channels input = in;
    for (int offset = 0; offset < total; offset += block) {
      double* ins[2] = {input[0].data() + offset, input[nIn - 1].data() + offset};
      double* outs[2] = {separateOut[0].data() + offset, separateOut[1].data() + offset};
      apart.Process(ins, outs, block, nIn, 2, a);
      double* io[2] = {sharedIo[0].data() + offset, sharedIo[1].data() + offset};
      shared.Process(io, io, block, nIn, nIn == 1 ? 1 : 2, b);
    }
    EXPECT_EQ(input, in) << nIn;
    EXPECT_EQ(sharedIo[0], separateOut[0]) << nIn;
    // Two inputs: each output its own; one input: both outputs alike.
    EXPECT_EQ(nIn == 2 ? sharedIo[1] : separateOut[0], separateOut[1]) << nIn;
    ASSERT_GT(FirstNonZero(separateOut[0]), 0) << nIn;
  }
}

INSTANTIATE_TEST_SUITE_P(Factors, OversamplingFactor, ::testing::Values(2, 4));

TEST(OversamplingStage, OffBuildsNothingAndRestartRefillsInStep) {
  OversamplingStage stage;
  stage.Setup(48000.0, 512, 1);
  EXPECT_FALSE(stage.IsActive());
  EXPECT_EQ(stage.GetConverterLatency(), 0);

  stage.Setup(48000.0, 512, 2);
  HalfGain half;
  const std::vector<double> noise = EngineTestSupport::Noise(16384, 5);
  RunStage(stage, half, {noise, noise}, 2, 512);
  // After a restart both channels fill again together and agree.
  stage.Restart();
  const Channels out = RunStage(stage, half, {noise, noise}, 2, 512);
  const int first = FirstNonZero(out[0]);
  EXPECT_EQ(first, FirstNonZero(out[1]));
  EXPECT_GT(first, 0);
  EXPECT_EQ(out[0], out[1]);
}

}  // namespace
