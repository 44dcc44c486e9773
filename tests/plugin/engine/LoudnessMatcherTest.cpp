#include "plugin/engine/LoudnessMatcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double kRate = 1000.0;  // short time constants in samples keep the runs small

double Coefficient(double seconds) { return std::pow(10.0, -1.0 / (seconds * kRate)); }

// The gain for two energy envelopes, from the definition: the level
// difference in dB, scaled by kLevelScale / (20 / ln 10), limited to 12 dB.
double GainFor(double envIn, double envOut) {
  if (envIn == 0.0 && envOut == 0.0) return 0.0;
  if (envOut == 0.0) return std::pow(10.0, 12.0 / 20.0);
  if (envIn == 0.0) return std::pow(10.0, -12.0 / 20.0);
  const double db = 10.0 * std::log10(envIn / envOut) * LoudnessMatcher::kLevelScale * std::log(10.0) / 20.0;
  return std::pow(10.0, std::clamp(db, -12.0, 12.0) / 20.0);
}

void ExpectGain(double actual, double expected, int n) {
  if (expected == 0.0) {
    EXPECT_EQ(actual, 0.0) << "sample " << n;
  } else {
    EXPECT_NEAR(actual / expected, 1.0, 1e-9) << "sample " << n;
  }
}

struct SteadyCase {
  const char* name;
  int mode;
  double seconds;  // the time constant the mode selects
  double inL, inR, outL, outR;
  int delay;
};

class LoudnessMatcherSteady : public ::testing::TestWithParam<SteadyCase> {};

// Constant energies E from rest: each envelope is E (1 - c^n) after n
// samples, the input's counted from the end of its delay.
TEST_P(LoudnessMatcherSteady, FollowsTheClosedFormEnvelopes) {
  const SteadyCase c = GetParam();
  LoudnessMatcher matcher;
  matcher.SetLoudnessMatchMode(c.mode, c.delay, kRate);
  const double k = Coefficient(c.seconds);
  const double energyIn = c.inL * c.inL + c.inR * c.inR;
  const double energyOut = c.outL * c.outL + c.outR * c.outR;
  for (int n = 0; n < 6000; ++n) {
    const double gain = matcher.GetLoudnessMatchGain(c.inL, c.inR, c.outL, c.outR);
    const int inputSamples = n + 1 - c.delay;
    const double envIn = inputSamples > 0 ? energyIn * (1.0 - std::pow(k, inputSamples)) : 0.0;
    const double envOut = energyOut * (1.0 - std::pow(k, n + 1));
    ExpectGain(gain, GainFor(envIn, envOut), n);
    if (::testing::Test::HasFailure()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, LoudnessMatcherSteady,
    ::testing::Values(SteadyCase{"FastSixDbCut", 1, 0.6, 0.5, 0.5, 0.25, 0.25, 0},
                      SteadyCase{"SlowMonoTwentyDbCutIsLimited", 2, 3.0, 1.0, 0.0, 0.1, 0.0, 0},
                      SteadyCase{"SlowBoostIsLimited", 2, 3.0, 0.1, 0.1, 1.0, 1.0, 0},
                      SteadyCase{"OtherModeUsesPointThreeSecondsDelayed", 7, 0.3, 0.3, 0.0, 0.3, 0.0, 50},
                      SteadyCase{"NegativeModeDelayedCut", -1, 0.3, 0.8, 0.2, 0.01, 0.02, 400},
                      SteadyCase{"SilenceInAndOutGivesZero", 1, 0.6, 0.0, 0.0, 0.0, 0.0, 0},
                      SteadyCase{"CutOutputGivesPlusTwelve", 1, 0.6, 0.5, 0.5, 0.0, 0.0, 0},
                      SteadyCase{"SilentInputGivesMinusTwelve", 1, 0.6, 0.0, 0.0, 0.5, -0.5, 0},
                      SteadyCase{"DelayedInputWithCutOutputGivesZeroThenPlusTwelve", 2, 3.0, 0.5, 0.0, 0.0, 0.0, 30}),
    [](const ::testing::TestParamInfo<SteadyCase>& info) { return std::string(info.param.name); });

TEST(LoudnessMatcher, LimitsAreTwelveDb) {
  LoudnessMatcher matcher;
  matcher.SetLoudnessMatchMode(1, 0, kRate);
  // A 20 dB cut is made up by 12 dB only.
  for (int n = 0; n < 100; ++n) EXPECT_DOUBLE_EQ(matcher.GetLoudnessMatchGain(1.0, 1.0, 0.1, 0.1), std::pow(10.0, 0.6));
  matcher.SetLoudnessMatchMode(1, 0, kRate);
  for (int n = 0; n < 100; ++n)
    EXPECT_DOUBLE_EQ(matcher.GetLoudnessMatchGain(0.1, 0.1, 1.0, 1.0), std::pow(10.0, -0.6));
}

TEST(LoudnessMatcher, EnvelopesFallWithTheSameTimeConstant) {
  LoudnessMatcher matcher;
  matcher.SetLoudnessMatchMode(2, 0, kRate);
  const double k = Coefficient(3.0);
  const int rise = 500;
  for (int n = 0; n < rise; ++n) matcher.GetLoudnessMatchGain(1.0, 0.0, 0.5, 0.0);
  const double held = 1.0 - std::pow(k, rise);
  EXPECT_NEAR(matcher.GetInputEnvelope() / held, 1.0, 1e-12);
  EXPECT_NEAR(matcher.GetOutputEnvelope() / (0.25 * held), 1.0, 1e-12);
  // The input goes silent; the output holds its energy and keeps rising.
  for (int n = 1; n <= 2000; ++n) {
    const double gain = matcher.GetLoudnessMatchGain(0.0, 0.0, 0.5, 0.0);
    const double envIn = held * std::pow(k, n);
    const double envOut = 0.25 * (1.0 - std::pow(k, rise + n));
    ExpectGain(gain, GainFor(envIn, envOut), n);
  }
  EXPECT_DOUBLE_EQ(matcher.GetInputPeak(), 1.0);
  EXPECT_DOUBLE_EQ(matcher.GetOutputPeak(), 0.25);
}

TEST(LoudnessMatcher, OffLeavesTheOutputAndTheEnvelopesAlone) {
  LoudnessMatcher matcher;
  matcher.SetLoudnessMatchMode(0, 64, kRate);
  const double frames[][4] = {{1, 1, 0.1, 0.1}, {0, 0, 0, 0}, {0.5, 0, 0, 0}, {0, 0, 2, -2}};
  for (int n = 0; n < 200; ++n) {
    const double* f = frames[n % 4];
    EXPECT_EQ(matcher.GetLoudnessMatchGain(f[0], f[1], f[2], f[3]), 1.0);
  }
  EXPECT_EQ(matcher.GetInputEnvelope(), 0.0);
  EXPECT_EQ(matcher.GetOutputEnvelope(), 0.0);
  EXPECT_EQ(matcher.GetInputPeak(), 0.0);
  // Turning it on under another latency, or at another rate, starts from an
  // empty ring: the frames pushed while off belong to the old signal chain
  // and never reach the comparison.
  matcher.SetLoudnessMatchMode(1, 65, kRate);
  for (int n = 0; n < 65; ++n) EXPECT_EQ(matcher.GetLoudnessMatchGain(1.0, 1.0, 0.0, 0.0), 0.0) << n;
  matcher.SetLoudnessMatchMode(0, 65, kRate);
  for (int n = 0; n < 65; ++n) EXPECT_EQ(matcher.GetLoudnessMatchGain(1.0, 1.0, 0.0, 0.0), 1.0) << n;
  matcher.SetLoudnessMatchMode(1, 65, 2.0 * kRate);
  for (int n = 0; n < 65; ++n) EXPECT_EQ(matcher.GetLoudnessMatchGain(1.0, 1.0, 0.0, 0.0), 0.0) << n;
}

namespace {

struct SetUpCase {
  const char* name;
  int before, after;  // "DA-VI Lite Mode" before and after the set-up
  bool blocks;        // through the block call instead of the frame call
};

class LoudnessMatcherSetUp : public ::testing::TestWithParam<SetUpCase> {};

void PrintTo(const SetUpCase& c, std::ostream* os) { *os << c.name; }

}  // namespace

// The output of a plug-in with latency D plays its input D samples late
// (here 6 dB lower) and goes on doing so while the match is turned on, set
// to another mode or set up again as a preset or state load does: under the
// unchanged latency the gain is the constant one from the first frame on,
// not the gain for a silent input (-12 dB) until the ring fills again.
TEST_P(LoudnessMatcherSetUp, AnUnchangedLatencyKeepsTheInputInStep) {
  const SetUpCase c = GetParam();
  constexpr int kDelay = 300;
  LoudnessMatcher matcher;
  matcher.SetLoudnessMatchMode(c.before, kDelay, kRate);
  std::mt19937 random(5);
  std::normal_distribution<double> noise(0.0, 0.3);
  std::vector<double> left(4000), right(4000);
  for (size_t i = 0; i < left.size(); ++i) {
    left[i] = noise(random);
    right[i] = noise(random);
  }
  const double constantGain = GainFor(4.0, 1.0);
  const int setUpAt = 1700;
  double gains[25];
  for (int n = 0; n < static_cast<int>(left.size()); n += 25) {
    if (n == setUpAt) matcher.SetLoudnessMatchMode(c.after, kDelay, kRate);
    double outL[25], outR[25];
    for (int i = 0; i < 25; ++i) {
      outL[i] = n + i >= kDelay ? 0.5 * left[n + i - kDelay] : 0.0;
      outR[i] = n + i >= kDelay ? 0.5 * right[n + i - kDelay] : 0.0;
    }
    bool applied = true;
    if (c.blocks) {
      applied = matcher.GetLoudnessMatchGains(&left[n], &right[n], outL, outR, gains, 25);
    } else {
      for (int i = 0; i < 25; ++i) gains[i] = matcher.GetLoudnessMatchGain(left[n + i], right[n + i], outL[i], outR[i]);
    }
    const int mode = n < setUpAt ? c.before : c.after;
    for (int i = 0; i < 25 && n + i >= kDelay; ++i) {
      if (mode == LoudnessMatcher::kModeOff) {
        if (!c.blocks) {
          ASSERT_EQ(gains[i], 1.0) << n + i;
        }
      } else {
        ASSERT_TRUE(applied) << n + i;
        ASSERT_NEAR(gains[i] / constantGain, 1.0, 1e-9) << "frame " << n + i;
      }
    }
    if (c.blocks) {
      ASSERT_EQ(applied, mode != LoudnessMatcher::kModeOff) << n;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Transitions, LoudnessMatcherSetUp,
    ::testing::Values(SetUpCase{"OffToFast", 0, 1, false}, SetUpCase{"OffToSlowInBlocks", 0, 2, true},
                      SetUpCase{"FastAgain", 1, 1, false}, SetUpCase{"SlowAgainInBlocks", 2, 2, true},
                      SetUpCase{"FastToSlow", 1, 2, false}, SetUpCase{"FastToOff", 1, 0, true}),
    [](const ::testing::TestParamInfo<SetUpCase>& info) { return std::string(info.param.name); });

// The output of a plug-in with latency D is its input D samples late (here
// also 6 dB lower): with the ring at D both envelopes see the same signal,
// so the gain is constant from the first output sample on, and 0 before it.
TEST(LoudnessMatcher, AlignsTheInputWithTheOutputAfterEachLatencyChange) {
  LoudnessMatcher matcher;
  std::mt19937 random(17);
  std::normal_distribution<double> noise(0.0, 0.3);
  const double constantGain = GainFor(4.0, 1.0);
  int capacityBefore = 0;
  for (const int latency : {100, 37, 250, 0, 250}) {
    matcher.SetLoudnessMatchMode(1, latency, kRate);
    EXPECT_EQ(matcher.GetDelayLength(), latency);
    EXPECT_GE(matcher.GetDelayCapacity(), latency);
    // Shorter delays reuse the ring.
    if (latency <= capacityBefore) {
      EXPECT_EQ(matcher.GetDelayCapacity(), capacityBefore);
    }
    capacityBefore = matcher.GetDelayCapacity();

    std::vector<double> left(3000), right(3000);
    for (size_t i = 0; i < left.size(); ++i) {
      left[i] = noise(random);
      right[i] = noise(random);
    }
    for (int n = 0; n < static_cast<int>(left.size()); ++n) {
      const bool late = n >= latency;
      const double outL = late ? 0.5 * left[n - latency] : 0.0;
      const double outR = late ? 0.5 * right[n - latency] : 0.0;
      const double gain = matcher.GetLoudnessMatchGain(left[n], right[n], outL, outR);
      if (late) {
        EXPECT_NEAR(gain / constantGain, 1.0, 1e-9) << "latency " << latency << " sample " << n;
      } else {
        EXPECT_EQ(gain, 0.0) << "latency " << latency << " sample " << n;
      }
      if (::testing::Test::HasFailure()) return;
    }
  }
}

TEST(LoudnessMatcher, ReservedDelaySetUpsKeepTheRing) {
  LoudnessMatcher matcher;
  matcher.ReserveDelay(4096);
  const int capacity = matcher.GetDelayCapacity();
  EXPECT_GE(capacity, 4096);
  for (const int latency : {4096, 1, 0, 2048, 4096}) {
    matcher.SetLoudnessMatchMode(2, latency, 48000.0);
    EXPECT_EQ(matcher.GetDelayCapacity(), capacity);
    EXPECT_EQ(matcher.GetDelayLength(), latency);
  }
}

TEST(LoudnessMatcher, ANonFiniteSampleCountsAsSilence) {
  const double bad[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()};
  for (const double x : bad) {
    LoudnessMatcher poisoned, reference;
    poisoned.SetLoudnessMatchMode(1, 3, kRate);
    reference.SetLoudnessMatchMode(1, 3, kRate);
    for (int n = 0; n < 400; ++n) {
      const bool hit = n == 10;
      const double gain = poisoned.GetLoudnessMatchGain(hit ? x : 0.4, 0.4, hit ? x : 0.2, 0.1);
      const double expected =
          reference.GetLoudnessMatchGain(hit ? 0.0 : 0.4, hit ? 0.0 : 0.4, hit ? 0.0 : 0.2, hit ? 0.0 : 0.1);
      ASSERT_EQ(gain, expected) << n;
      ASSERT_TRUE(std::isfinite(gain)) << n;
    }
  }
}

}  // namespace

// The block call's gains are the frame calls', stereo and mono, across a
// latency; off, it reports that there is nothing to apply.
TEST(LoudnessMatcher, BlockGainsAreTheFrameGains) {
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  // Fast, slow, and the 0.3 s of any other mode.
  for (int mode : {1, 2, 7}) {
    for (bool stereo : {true, false}) {
      LoudnessMatcher blocks, frames;
      blocks.SetLoudnessMatchMode(mode, 37, kRate);
      frames.SetLoudnessMatchMode(mode, 37, kRate);
      for (int n : {1, 64, 500, 3}) {
        std::vector<double> inL(n), inR(n), outL(n), outR(n), gains(n);
        for (int i = 0; i < n; ++i) {
          inL[i] = dist(rng);
          inR[i] = dist(rng);
          outL[i] = 0.5 * dist(rng);
          outR[i] = 0.5 * dist(rng);
        }
        ASSERT_TRUE(blocks.GetLoudnessMatchGains(inL.data(), stereo ? inR.data() : nullptr, outL.data(),
                                                 stereo ? outR.data() : nullptr, gains.data(), n));
        for (int i = 0; i < n; ++i) {
          ASSERT_EQ(gains[i], frames.GetLoudnessMatchGain(inL[i], stereo ? inR[i] : 0.0, outL[i],
                                                          stereo ? outR[i] : 0.0))
              << "mode " << mode << ", frame " << i;
        }
      }
    }
  }
  LoudnessMatcher off;
  off.SetLoudnessMatchMode(LoudnessMatcher::kModeOff, 0, kRate);
  double in = 0.5, gain = -1.0;
  EXPECT_FALSE(off.GetLoudnessMatchGains(&in, nullptr, &in, nullptr, &gain, 1));
  EXPECT_EQ(gain, -1.0);
}

// While off, the input history kept a block at a time is the one kept a
// frame at a time, non-finite and overflowing frames (as silence) included:
// once the match is on, the delayed input gives the same gains.
TEST(LoudnessMatcher, HistoryKeptInBlocksIsTheFrameHistory) {
  constexpr int kDelay = 150;
  constexpr int kFrames = 401;
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  for (bool stereo : {true, false}) {
    std::mt19937 rng(9);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    std::vector<double> inL(kFrames), inR(kFrames), outL(kFrames), outR(kFrames);
    for (int i = 0; i < kFrames; ++i) {
      inL[i] = dist(rng);
      inR[i] = dist(rng);
      outL[i] = 0.5 * dist(rng);
      outR[i] = 0.5 * dist(rng);
    }
    // Within the last kDelay frames before the match turns on, at both
    // places of a pair of frames and at a block's last frame.
    inL[60] = nan;
    inR[61] = -inf;
    inL[73] = nan;
    inL[100] = inR[100] = 1e200;  // a finite frame whose energy overflows
    inL[101] = inf;
    LoudnessMatcher blocks, frames;
    blocks.SetLoudnessMatchMode(LoudnessMatcher::kModeOff, kDelay, kRate);
    frames.SetLoudnessMatchMode(LoudnessMatcher::kModeOff, kDelay, kRate);
    double* r = stereo ? inR.data() : nullptr;
    std::vector<double> gains(kFrames);
    for (int at = 0; at < 200; at += 37) {
      const int n = std::min(37, 200 - at);
      ASSERT_FALSE(blocks.GetLoudnessMatchGains(inL.data() + at, r ? r + at : nullptr, outL.data() + at,
                                                outR.data() + at, gains.data(), n));
    }
    for (int i = 0; i < 200; ++i) frames.GetLoudnessMatchGain(inL[i], stereo ? inR[i] : 0.0, outL[i], outR[i]);
    blocks.SetLoudnessMatchMode(1, kDelay, kRate);
    frames.SetLoudnessMatchMode(1, kDelay, kRate);
    for (int i = 200; i < kFrames; ++i) {
      const double l = 0.3, right = 0.2;
      ASSERT_EQ(blocks.GetLoudnessMatchGain(l, right, outL[i], outR[i]),
                frames.GetLoudnessMatchGain(l, right, outL[i], outR[i]))
          << (stereo ? "stereo" : "mono") << ", frame " << i;
    }
  }
}
