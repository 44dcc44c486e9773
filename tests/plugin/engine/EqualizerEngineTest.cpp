#include "plugin/engine/EqualizerEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/plugin/engine/EngineTestSupport.h"

namespace {

using EngineTestSupport::Channels;
using EngineTestSupport::FakeHost;
constexpr double kRate = 48000.0;

class EngineTest : public ::testing::Test {
 protected:
  void Start(int nIn = 2, int nOut = 2, int blockSize = 512) {
    engine.SetHost(&host);
    engine.Setup(kRate, blockSize, nIn, nOut);
  }

  ParamMirrors m;
  EqualizerEngine engine{&m};
  FakeHost host;
};

// The filter part the host is told for each mode: the FIR length grows with
// the oversampling factor, so it is the same at every factor.
const int kFilterLatency[7] = {0, 4096, 8192, 32768, 6144, 12288, 49152};

struct ModeCase {
  int filterMode, osFactor;
};

std::string ModeName(const ::testing::TestParamInfo<ModeCase>& info) {
  return "Mode" + std::to_string(info.param.filterMode) + "x" + std::to_string(info.param.osFactor);
}

std::vector<ModeCase> AllModes() {
  std::vector<ModeCase> cases;
  for (int factor : {1, 2, 4}) {
    for (int mode = 0; mode < 7; ++mode) cases.push_back({mode, factor});
  }
  return cases;
}

class EngineModes : public EngineTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(EngineModes, ReportedLatencyIsTheMeasuredDelayOfAnImpulse) {
  const ModeCase c = GetParam();
  Start();
  EngineTestSupport::ApplyModes(engine, m, c.filterMode, c.osFactor);
  const int converters = OversamplingStage::ConverterLatencyFor(kRate, c.osFactor);
  const int latency = engine.GetTotalLatency();
  EXPECT_EQ(latency, converters + kFilterLatency[c.filterMode]);
  EXPECT_EQ(latency, engine.CalcLatency());

  const int at = 1000;
  const int total = latency + at + 4096;
  const std::vector<double> impulse = EngineTestSupport::Impulse(total, at);
  const Channels out = EngineTestSupport::Run(engine, {impulse, impulse}, 2, 512);
  for (int ch = 0; ch < 2; ++ch) {
    EXPECT_EQ(EngineTestSupport::ArgMaxAbs(out[ch]) - at, latency) << ch;
    EXPECT_NEAR(out[ch][at + latency], 1.0, c.osFactor == 1 ? 1e-6 : 0.01) << ch;
  }
  // The first block reports it to the host.
  EXPECT_EQ(host.latency, latency);
}

TEST_P(EngineModes, APeakHasTheSameSteadyStateGainInEveryMode) {
  const ModeCase c = GetParam();
  Start();
  EngineTestSupport::SetPeak(m, 4, 1000.0, 6.0, 1.0);
  engine.DesignProcessBands(-1);
  engine.DesignDisplayBands(-1);
  EngineTestSupport::ApplyModes(engine, m, c.filterMode, c.osFactor);
  const int latency = engine.GetTotalLatency();
  const int settle = latency + 9600;
  const std::vector<double> tone = EngineTestSupport::Sine(settle + 9600, 1000.0, kRate, 0.25);
  const Channels out = EngineTestSupport::Run(engine, {tone, tone}, 2, 512);
  // The gain at the centre of a peak is its gain setting.
  for (int ch = 0; ch < 2; ++ch) {
    EXPECT_NEAR(EngineTestSupport::ToneLevelDb(out[ch], 1000.0, kRate, settle, 9600) -
                    20.0 * std::log10(0.25),
                6.0, 0.02)
        << ch;
  }
}

INSTANTIATE_TEST_SUITE_P(AllModes, EngineModes, ::testing::ValuesIn(AllModes()), ModeName);

struct LayoutCase {
  int filterMode, nIn, nOut;
};

class EnginePassThrough : public EngineTest, public ::testing::WithParamInterface<LayoutCase> {};

// With no band active "Zero Latency" is transparent, and every FIR mode
// passes the input unchanged but delayed by exactly the latency it reports.
TEST_P(EnginePassThrough, NoBandLeavesTheInputUnchanged) {
  const LayoutCase c = GetParam();
  Start(c.nIn, c.nOut, 300);
  EngineTestSupport::ApplyModes(engine, m, c.filterMode, 1);
  const int latency = engine.GetTotalLatency();
  EXPECT_EQ(latency, kFilterLatency[c.filterMode]);
  const int total = latency + 9000;
  Channels in = {EngineTestSupport::Noise(total, 11), EngineTestSupport::Noise(total, 12)};
  in.resize(c.nIn);
  const Channels out = EngineTestSupport::Run(engine, in, c.nOut, 300);
  for (int ch = 0; ch < c.nOut; ++ch) {
    const std::vector<double>& source = in[c.nIn == 2 ? ch : 0];
    for (int t = 0; t < total; ++t) {
      const double expected = t >= latency ? source[t - latency] : 0.0;
      if (c.filterMode == 0) {
        ASSERT_EQ(out[ch][t], expected) << ch << " at " << t;
      } else {
        ASSERT_NEAR(out[ch][t], expected, 1e-6) << ch << " at " << t;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, EnginePassThrough,
                         ::testing::Values(LayoutCase{0, 1, 1}, LayoutCase{0, 2, 2}, LayoutCase{0, 1, 2},
                                           LayoutCase{1, 1, 1}, LayoutCase{1, 2, 2}, LayoutCase{3, 1, 1},
                                           LayoutCase{4, 2, 2}, LayoutCase{5, 1, 1}, LayoutCase{6, 2, 2},
                                           LayoutCase{2, 1, 2}));

class EngineOversampling : public EngineTest, public ::testing::WithParamInterface<int> {};

TEST_P(EngineOversampling, SwitchingOnIsSilentUntilTheConvertersFillThenContinuous) {
  const int factor = GetParam();
  Start();
  const int block = 512, before = 8 * block, total = 20 * 1024 + before;
  const std::vector<double> tone = EngineTestSupport::Sine(total + 16384, 300.0, kRate, 0.5);
  const Channels head = EngineTestSupport::Run(engine, {std::vector<double>(tone.begin(), tone.begin() + before),
                                                        std::vector<double>(tone.begin(), tone.begin() + before)},
                                               2, block);
  EXPECT_NE(head[0][before - 1], 0.0);

  EngineTestSupport::ApplyModes(engine, m, 0, factor);
  const int latency = engine.GetTotalLatency();
  const std::vector<double> rest(tone.begin() + before, tone.end());
  const Channels out = EngineTestSupport::Run(engine, {rest, rest}, 2, block);
  int first = 0;
  while (first < static_cast<int>(rest.size()) && out[0][first] == 0.0) ++first;
  EXPECT_EQ(first % block, 0);
  EXPECT_GE(first, latency - block);
  // From the first sound on, the tone comes through whole, only delayed.
  for (int t = first + 2048; t < static_cast<int>(rest.size()); ++t) {
    for (int ch = 0; ch < 2; ++ch) ASSERT_NEAR(out[ch][t], rest[t - latency], 2e-3) << ch << " at " << t;
  }
}

INSTANTIATE_TEST_SUITE_P(Factors, EngineOversampling, ::testing::Values(2, 4));

struct InvarianceCase {
  int filterMode, osFactor;
};

class EngineBlockSizes : public ::testing::TestWithParam<InvarianceCase> {};

// With the parameters still, the block size changes nothing once the
// converters run (blocks longer than the set-up are processed in slices).
TEST_P(EngineBlockSizes, OutputDoesNotDependOnTheBlockSize) {
  const InvarianceCase c = GetParam();
  const int total = 50000;
  const Channels in = {EngineTestSupport::Noise(total, 21), EngineTestSupport::Noise(total, 22)};
  std::vector<Channels> outs;
  for (const std::vector<int>& blocks : {std::vector<int>{total}, std::vector<int>{1, 137, 512}, std::vector<int>{20000}}) {
    ParamMirrors m;
    EqualizerEngine engine(&m);
    engine.Setup(kRate, 512, 2, 2);
    EngineTestSupport::SetPeak(m, 0, 80.0, 5.0, 0.9);
    EngineTestSupport::SetPeak(m, 6, 4000.0, -8.0, 2.5, 3);
    EngineTestSupport::SetPeak(m, 9, 11000.0, 3.0, 1.0, 2);
    engine.DesignProcessBands(-1);
    engine.DesignDisplayBands(-1);
    EngineTestSupport::ApplyModes(engine, m, c.filterMode, c.osFactor);
    outs.push_back(EngineTestSupport::Run(engine, in, 2, blocks));
  }
  int from = 0;
  for (const Channels& out : outs) {
    int first = 0;
    while (first < total && out[0][first] == 0.0) ++first;
    from = std::max(from, first);
  }
  ASSERT_LT(from, total / 2);
  for (size_t k = 1; k < outs.size(); ++k) {
    for (int ch = 0; ch < 2; ++ch) {
      for (int t = from; t < total; ++t) ASSERT_NEAR(outs[k][ch][t], outs[0][ch][t], 1e-12) << k << " " << ch << " " << t;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, EngineBlockSizes,
                         ::testing::Values(InvarianceCase{0, 1}, InvarianceCase{1, 1}, InvarianceCase{4, 1},
                                           InvarianceCase{0, 2}, InvarianceCase{2, 4}));

TEST_F(EngineTest, DryDelayHoldsTheLongestFilterLatency) {
  // "LinearPhase Max" at 4x delays by three FIR lengths of 65536 at the
  // processing rate: "AB" off must come out just as late.
  Start();
  EngineTestSupport::ApplyModes(engine, m, 6, 4);
  const int latency = engine.GetTotalLatency();
  m.abEnabled = 0;
  const int at = 700;
  const std::vector<double> impulse = EngineTestSupport::Impulse(latency + at + 2048, at);
  const Channels out = EngineTestSupport::Run(engine, {impulse, impulse}, 2, 1024);
  EXPECT_EQ(EngineTestSupport::ArgMaxAbs(out[0]) - at, latency);
  EXPECT_EQ(EngineTestSupport::ArgMaxAbs(out[1]) - at, latency);
}

// "AB" off after a change of latency: the dry path must not replay what it
// held from a longer latency long before.
TEST_F(EngineTest, DryPathAfterALatencyChangeHoldsNothingFromBefore) {
  Start();
  m.abEnabled = 0;
  EngineTestSupport::ApplyModes(engine, m, 6, 1);
  const std::vector<double> noise = EngineTestSupport::Noise(60000, 37);
  EngineTestSupport::Run(engine, {noise, noise}, 2, 512);
  const std::vector<double> silence(20000, 0.0);
  for (int mode : {1, 2}) {
    EngineTestSupport::ApplyModes(engine, m, mode, 1);
    const Channels out = EngineTestSupport::Run(engine, {silence, silence}, 2, 512);
    for (int ch = 0; ch < 2; ++ch) {
      EXPECT_EQ(std::fabs(out[ch][EngineTestSupport::ArgMaxAbs(out[ch])]), 0.0) << mode << " " << ch;
    }
  }
}

double Loudest(const Channels& out) {
  double most = 0.0;
  for (const std::vector<double>& ch : out) {
    for (double v : ch) most = std::max(most, std::fabs(v));
  }
  return most;
}

// A listen started long after the last one must not ring with what the
// listen sections heard then.
TEST_F(EngineTest, ListeningStartsFromRest) {
  Start();
  const std::vector<double> tone = EngineTestSupport::Sine(48000, 60.0, kRate, 0.9);
  const std::vector<double> silence(96000, 0.0);
  for (int mode : {0, 1}) {
    EngineTestSupport::ApplyModes(engine, m, mode, 1);
    engine.StartListen(60.0, 0.0);
    EngineTestSupport::Run(engine, {tone, tone}, 2, 512);
    engine.StopListen();
    EngineTestSupport::Run(engine, {silence, silence}, 2, 512);
    engine.StartListen(60.0, 0.0);
    EXPECT_EQ(Loudest(EngineTestSupport::Run(engine, {silence, silence}, 2, 512)), 0.0) << mode;
    engine.StopListen();
  }
}

// While a band is listened to, the bands go on hearing the input, as they do
// with "AB" off: when the listen ends they carry on from the input of that
// moment, not from where they stood when it began.
TEST_F(EngineTest, BandsHearTheInputWhileListening) {
  const std::vector<double> tone = EngineTestSupport::Sine(48000, 60.0, kRate, 0.5);
  const std::vector<double> silence(96000, 0.0);
  Channels after[2];
  for (int listened = 0; listened < 2; ++listened) {
    ParamMirrors mirrors;
    EqualizerEngine e(&mirrors);
    e.Setup(kRate, 512, 2, 2);
    EngineTestSupport::SetPeak(mirrors, 0, 60.0, 12.0, 10.0);
    e.DesignProcessBands(-1);
    EngineTestSupport::Run(e, {tone, tone}, 2, 512);
    if (listened) e.StartListen(1000.0, 0.0);
    EngineTestSupport::Run(e, {silence, silence}, 2, 512);
    e.StopListen();
    after[listened] = EngineTestSupport::Run(e, {tone, tone}, 2, 512);
  }
  for (int ch = 0; ch < 2; ++ch) {
    for (size_t t = 0; t < tone.size(); ++t) ASSERT_EQ(after[1][ch][t], after[0][ch][t]) << ch << " " << t;
  }
}

// Leaving a FIR mode for "Zero Latency" and coming back: neither path may
// replay what it held when it was last left.
TEST_F(EngineTest, SwitchingFilterPathsLeavesNothingFromBefore) {
  Start();
  EngineTestSupport::SetPeak(m, 0, 60.0, 12.0, 10.0);
  engine.DesignProcessBands(-1);
  engine.DesignDisplayBands(-1);
  const std::vector<double> tone = EngineTestSupport::Sine(48000, 60.0, kRate, 0.5);
  const std::vector<double> silence(96000, 0.0);
  // The bands of "Zero Latency" rest while a FIR mode runs.
  EngineTestSupport::Run(engine, {tone, tone}, 2, 512);
  EngineTestSupport::ApplyModes(engine, m, 1, 1);
  EngineTestSupport::Run(engine, {silence, silence}, 2, 512);
  EngineTestSupport::ApplyModes(engine, m, 0, 1);
  EXPECT_LT(Loudest(EngineTestSupport::Run(engine, {silence, silence}, 2, 512)), 1e-12);
  // The dry delay of "AB" off rests while "Zero Latency" runs.
  m.abEnabled = 0;
  EngineTestSupport::ApplyModes(engine, m, 1, 1);
  EngineTestSupport::Run(engine, {tone, tone}, 2, 512);
  EngineTestSupport::ApplyModes(engine, m, 0, 1);
  EngineTestSupport::Run(engine, {silence, silence}, 2, 512);
  EngineTestSupport::ApplyModes(engine, m, 1, 1);
  EXPECT_EQ(Loudest(EngineTestSupport::Run(engine, {silence, silence}, 2, 512)), 0.0);
}

// "AB" off, then on again in a FIR mode: the engines ran on beside the dry
// delay, so the filtered path goes on at once as if it had never stopped.
// The mid/side engine must have been fed the mid and side of the first
// engine's output, not the plain left and right.
TEST_F(EngineTest, FirPathAfterAbOffGoesOnAsIfItHadNeverStopped) {
  const int total = 40960, switchAt = 20480;
  const std::vector<double> left = EngineTestSupport::Noise(total, 51), right = EngineTestSupport::Noise(total, 52);
  for (int mode : {1, 4}) {
    for (int peak = 0; peak < 2; ++peak) {
      Channels out[2];
      for (int abOff = 0; abOff < 2; ++abOff) {
        ParamMirrors mirrors;
        EqualizerEngine e(&mirrors);
        e.Setup(kRate, 512, 2, 2);
        if (peak) EngineTestSupport::SetPeak(mirrors, 3, 700.0, 9.0, 1.5, 3);  // a "Mid" band
        EngineTestSupport::ApplyModes(e, mirrors, mode, 1);
        out[abOff].assign(2, std::vector<double>());
        for (int offset = 0; offset < total; offset += 512) {
          mirrors.abEnabled = abOff && offset < switchAt ? 0 : 1;
          const Channels block = EngineTestSupport::Run(
              e, {std::vector<double>(left.begin() + offset, left.begin() + offset + 512),
                  std::vector<double>(right.begin() + offset, right.begin() + offset + 512)},
              2, 512);
          for (int ch = 0; ch < 2; ++ch) out[abOff][ch].insert(out[abOff][ch].end(), block[ch].begin(), block[ch].end());
        }
        if (!peak && abOff) {
          // Without bands the filtered path is the input, delayed.
          const int latency = e.GetTotalLatency();
          for (int t = switchAt; t < total; ++t) {
            ASSERT_NEAR(out[abOff][0][t], left[t - latency], 1e-5) << mode << " " << t;
            ASSERT_NEAR(out[abOff][1][t], right[t - latency], 1e-5) << mode << " " << t;
          }
        }
      }
      for (int ch = 0; ch < 2; ++ch) {
        for (int t = switchAt; t < total; ++t) {
          ASSERT_EQ(out[1][ch][t], out[0][ch][t]) << mode << " " << peak << " " << ch << " " << t;
        }
      }
    }
  }
}

TEST_F(EngineTest, ListenIsTheBandPassAtUnityGainInBothPaths) {
  Start();
  EngineTestSupport::SetPeak(m, 0, 1000.0, 12.0, 1.0);
  engine.DesignProcessBands(-1);
  m.outputGainDb = -20.0;  // ignored while listening
  for (int mode : {0, 2}) {
    EngineTestSupport::ApplyModes(engine, m, mode, 1);
    engine.StartListen(2000.0, 0.0);
    const int latency = engine.GetTotalLatency();
    const std::vector<double> tone = EngineTestSupport::Sine(latency + 19200, 2000.0, kRate);
    const Channels out = EngineTestSupport::Run(engine, {tone, tone}, 2, 512);
    EXPECT_NEAR(EngineTestSupport::ToneLevelDb(out[0], 2000.0, kRate, latency + 9600, 9600), 0.0, 1e-3) << mode;
    engine.StopListen();
  }
}

TEST_F(EngineTest, ChannelCountChangesKeepTheConvertersInStep) {
  Start(1, 1);
  EngineTestSupport::ApplyModes(engine, m, 1, 2);
  const int latency = engine.GetTotalLatency();
  const std::vector<double> noise = EngineTestSupport::Noise(latency + 8192, 31);
  EngineTestSupport::Run(engine, {noise}, 1, 512);
  engine.SetChannelCounts(2, 2);
  const Channels out = EngineTestSupport::Run(engine, {noise, noise}, 2, 512);
  int first = 0;
  while (out[0][first] == 0.0) ++first;
  for (int t = first; t < static_cast<int>(noise.size()); ++t) ASSERT_EQ(out[0][t], out[1][t]) << t;
}

TEST_F(EngineTest, MaxLatencyCoversEveryOversampledLinearPhaseMax) {
  Start();
  int most = 0;
  for (int factor : {1, 2, 4}) {
    EngineTestSupport::ApplyModes(engine, m, 6, factor);
    most = std::max(most, engine.GetTotalLatency());
  }
  EXPECT_EQ(engine.GetMaxLatency(), most);
}

// ---- Block steps and hooks --------------------------------------------------------

struct Frame {
  double a, b, c, d;
};

class RecordingMeters : public MeterHook {
 public:
  void ProcessInputMeter(double left, double right) override { in.push_back({left, right, 0, 0}); }
  void ProcessOutputMeter(double left, double right) override { out.push_back({left, right, 0, 0}); }
  std::vector<Frame> in, out;
};

class RecordingLoudness : public LoudnessHook {
 public:
  double GetLoudnessMatchGain(double inL, double inR, double outL, double outR) override {
    frames.push_back({inL, inR, outL, outR});
    return gain;
  }
  std::vector<Frame> frames;
  double gain = 0.5;
};

class RecordingFeed : public AnalyzerFeed {
 public:
  void FeedAnalyzer(double** channels, int nChannels, int nFrames, int analyzerMode) override {
    ++calls;
    mode = analyzerMode;
    channelCount = nChannels;
    for (int i = 0; i < nFrames; ++i) first.push_back(channels[0][i]);
  }
  int calls = 0, mode = -1, channelCount = 0;
  std::vector<double> first;
};

class EngineSteps : public EngineTest {
 protected:
  void Hook() {
    engine.SetMeterHook(&meters);
    engine.SetLoudnessHook(&loudness);
    engine.SetAnalyzerFeeds(&pre, &post);
  }
  RecordingMeters meters;
  RecordingLoudness loudness;
  RecordingFeed pre, post;
};

TEST_F(EngineSteps, StagesRunInOrderAroundTheBank) {
  Start();
  Hook();
  m.phase = 1;
  m.outputGainDb = 6.0;
  const std::vector<double> left = EngineTestSupport::Noise(1000, 41), right = EngineTestSupport::Noise(1000, 42);
  const Channels out = EngineTestSupport::Run(engine, {left, right}, 2, 250);
  const double gain = std::pow(10.0, 6.0 / 20.0);
  ASSERT_EQ(loudness.frames.size(), 1000u);
  ASSERT_EQ(meters.out.size(), 1000u);
  ASSERT_EQ(post.first.size(), 1000u);
  for (int i = 0; i < 1000; ++i) {
    // The loudness match sees the undelayed input and the inverted output.
    EXPECT_EQ(loudness.frames[i].a, left[i]);
    EXPECT_EQ(loudness.frames[i].b, right[i]);
    EXPECT_EQ(loudness.frames[i].c, -left[i]);
    EXPECT_EQ(loudness.frames[i].d, -right[i]);
    // The post analyser: after the loudness gain, before the output gain.
    EXPECT_EQ(post.first[i], -0.5 * left[i]);
    EXPECT_NEAR(out[0][i], -0.5 * gain * left[i], 1e-15);
    EXPECT_NEAR(out[1][i], -0.5 * gain * right[i], 1e-15);
    EXPECT_EQ(meters.out[i].a, out[0][i]);
    EXPECT_EQ(meters.out[i].b, out[1][i]);
    EXPECT_EQ(pre.first[i], left[i]);
  }
  EXPECT_EQ(pre.channelCount, 2);
  EXPECT_EQ(pre.calls, 4);
}

TEST_F(EngineSteps, InputMeterSeesTheInputAsLateAsTheOutput) {
  Start();
  Hook();
  EngineTestSupport::ApplyModes(engine, m, 1, 1);
  const int latency = engine.GetTotalLatency();
  const std::vector<double> noise = EngineTestSupport::Noise(latency + 2000, 43);
  EngineTestSupport::Run(engine, {noise, noise}, 2, 512);
  for (int t = 0; t < static_cast<int>(noise.size()); ++t) {
    ASSERT_EQ(meters.in[t].a, t >= latency ? noise[t - latency] : 0.0) << t;
  }
}

TEST_F(EngineSteps, MonoFeedsZeroForTheRightChannel) {
  Start(1, 1);
  Hook();
  const std::vector<double> noise = EngineTestSupport::Noise(600, 44);
  const Channels out = EngineTestSupport::Run(engine, {noise}, 1, 128);
  for (int i = 0; i < 600; ++i) {
    EXPECT_EQ(meters.in[i].b, 0.0);
    EXPECT_EQ(meters.out[i].b, 0.0);
    EXPECT_EQ(loudness.frames[i].b, 0.0);
    EXPECT_EQ(loudness.frames[i].d, 0.0);
    EXPECT_EQ(out[0][i], 0.5 * noise[i]);
  }
  EXPECT_EQ(pre.channelCount, 1);
}

TEST_F(EngineSteps, OutputGainSilencesAtTheFloorAndListenForcesUnity) {
  Start();
  const std::vector<double> tone = EngineTestSupport::Sine(512, 100.0, kRate);
  m.outputGainDb = -144.0;
  EXPECT_EQ(EngineTestSupport::Run(engine, {tone, tone}, 2, 512)[1], std::vector<double>(512, 0.0));
  m.outputGainDb = -12.0;
  const Channels quiet = EngineTestSupport::Run(engine, {tone, tone}, 2, 512);
  EXPECT_NEAR(quiet[0][100], tone[100] * std::pow(10.0, -12.0 / 20.0), 1e-15);
  m.outputGainDb = -200.0;
  engine.StartListen(100.0, 0.0);
  const Channels heard = EngineTestSupport::Run(engine, {tone, tone}, 2, 512);
  EXPECT_GT(std::fabs(heard[0][500]), 0.01);
}

struct FeedCase {
  int hold, postFilter, predictive, analyzerMode;
  bool preFed, postFed;
};

class EngineFeeds : public EngineSteps, public ::testing::WithParamInterface<FeedCase> {};

TEST_P(EngineFeeds, SwitchesDecideWhichAnalyserIsFed) {
  const FeedCase c = GetParam();
  Start();
  Hook();
  m.hold = c.hold;
  m.postFilterSpectrum = c.postFilter;
  m.predictivePostSpectrum = c.predictive;
  m.analyzerMode = c.analyzerMode;
  const std::vector<double> noise = EngineTestSupport::Noise(256, 45);
  EngineTestSupport::Run(engine, {noise, noise}, 2, 256);
  EXPECT_EQ(pre.calls, c.preFed ? 1 : 0);
  EXPECT_EQ(post.calls, c.postFed ? 1 : 0);
  if (c.preFed) {
    EXPECT_EQ(pre.mode, c.analyzerMode);
  }
}

INSTANTIATE_TEST_SUITE_P(Switches, EngineFeeds,
                         ::testing::Values(FeedCase{0, 1, 0, 0, true, true}, FeedCase{1, 1, 0, 3, false, false},
                                           FeedCase{0, 0, 0, 4, true, false}, FeedCase{0, 1, 1, 2, true, false},
                                           FeedCase{0, 2, 0, 1, true, false}, FeedCase{0, 1, 0, 5, false, false},
                                           FeedCase{0, 1, 0, -1, false, false}));

TEST_F(EngineSteps, LatencyReachesTheHostAtTheNextBlockOrAtOnceOnSomeHosts) {
  Start();
  EngineTestSupport::ApplyModes(engine, m, 2, 1);
  engine.UpdateHostLatency(engine.GetTotalLatency());
  EXPECT_EQ(host.setLatencyCalls, 0);  // Pro Tools waits for the block
  double* none[2] = {nullptr, nullptr};
  engine.ProcessBlock(none, none, 0);  // an empty block still reports
  EXPECT_EQ(host.latency, 8192);
  EXPECT_EQ(host.setLatencyCalls, 1);
  engine.ProcessBlock(none, none, 0);
  EXPECT_EQ(host.setLatencyCalls, 1);  // unchanged: not told again

  host.hostId = 21;  // Logic
  EngineTestSupport::ApplyModes(engine, m, 5, 1);
  engine.UpdateHostLatency(engine.GetTotalLatency());
  EXPECT_EQ(host.latency, 12288);
  EXPECT_EQ(host.setLatencyCalls, 2);
}

TEST_F(EngineSteps, DisplayTimingStopsWhileTheEditorSuspendsIt) {
  Start();
  const std::vector<double> silence(800, 0.0);
  host.suspended = true;
  EngineTestSupport::Run(engine, {silence, silence}, 2, 800);
  EXPECT_FALSE(engine.GetDisplayTiming().TakeMeterRefreshDue());
  host.suspended = false;
  EngineTestSupport::Run(engine, {silence, silence}, 2, 800);
  EXPECT_TRUE(engine.GetDisplayTiming().TakeMeterRefreshDue());
}

}  // namespace
