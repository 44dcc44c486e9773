#include "dsp/meter/LoudnessMeter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kFs = 48000.0;

// The meter set-ups of the editor's "Main Meter Mode".
struct Mode {
  int kind;
  double window, attack, hold, release, offset;
};
constexpr Mode kPeak = {6, 0, 0, 0.1, 0.3, 0};
constexpr Mode kRms = {1, 0.6, 0, 0, 0, -3.0};
constexpr Mode kEbuMomentary = {2, 0.3, 0, 0, 0, 0};
constexpr Mode kEbuShortTerm = {3, 3.0, 0, 0, 0, 0};
constexpr Mode kVu = {4, 0.27, 0, 0, 0, -18.0};

std::unique_ptr<LoudnessMeter> Make(const Mode& m, double fs = kFs, double delayMs = 0.0) {
  auto meter = std::make_unique<LoudnessMeter>();
  meter->InitMeter(m.window, m.attack, m.hold, m.release, m.offset, fs, m.kind, delayMs);
  return meter;
}

double Sine(int i, double hz, double fs = kFs) { return std::sin(2.0 * kPi * hz * i / fs); }

// A biquad with the ITU-R BS.1770-4 coefficients for 48 kHz, run in the test.
struct Biquad {
  double b0, b1, b2, a1, a2;
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  double Run(double x) {
    const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
  }
};
struct KWeighting {
  Biquad pre{1.53512485958697, -2.69169618940638, 1.19839281085285, -1.69065929318241,
             0.73248077421585};
  Biquad rlb{1.0, -2.0, 1.0, -1.99004745483398, 0.99007225036621};
  double Run(double x) { return rlb.Run(pre.Run(x)); }
};

struct EbuCase {
  Mode mode;
  double leftAmplitude, rightAmplitude;
  double expectedLufs;  // ITU-R BS.1770: a full-scale 1 kHz sine per channel
};

class EbuLoudness : public ::testing::TestWithParam<EbuCase> {};

TEST_P(EbuLoudness, ReadsTheLoudnessOfTheKWeightedWindow) {
  const EbuCase c = GetParam();
  auto meter = Make(c.mode);
  KWeighting kl, kr;
  const int window = static_cast<int>(c.mode.window * kFs);
  std::vector<double> power;
  int checked = 0;
  for (int i = 0; i < static_cast<int>(kFs * (c.mode.window + 1.0)); ++i) {
    const double l = c.leftAmplitude * Sine(i, 1000.0), r = c.rightAmplitude * Sine(i, 1000.0);
    meter->ProcessMeter(l, r, 0);
    const double wl = kl.Run(l), wr = kr.Run(r);
    power.push_back(wl * wl + wr * wr);
    if (meter->accumulator.newBlock) {
      double sum = 0.0;
      for (int k = i - window + 1; k <= i; ++k) sum += power[k];
      const double lufs = 10.0 * std::log10(sum / window) - 0.691;
      ASSERT_NEAR(meter->accumulator.loudness, lufs, 1e-4) << i;
      // The envelope is the loudness as a linear amplitude.
      ASSERT_NEAR(meter->current, std::pow(10.0, lufs / 20.0), 1e-5) << i;
      ++checked;
    }
  }
  EXPECT_GE(checked, 9);
  EXPECT_NEAR(meter->accumulator.loudness, c.expectedLufs, 0.05);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, EbuLoudness,
    ::testing::Values(EbuCase{kEbuMomentary, 1.0, 1.0, 0.0}, EbuCase{kEbuMomentary, 1.0, 0.0, -3.01},
                      EbuCase{kEbuShortTerm, 1.0, 1.0, 0.0}, EbuCase{kEbuShortTerm, 0.0, 1.0, -3.01},
                      EbuCase{kEbuShortTerm, 0.1, 0.1, -20.0}));

TEST(LoudnessMeter, EbuSelectionMeasuresOneChannel) {
  auto meter = Make(kEbuMomentary);
  for (int i = 0; i < 48000; ++i) meter->ProcessMeter(Sine(i, 1000.0), 0.7, 1);
  EXPECT_NEAR(meter->accumulator.loudness, -3.01, 0.05);
  EXPECT_EQ(meter->accumulator.ringLength, 14400);
}

TEST(LoudnessMeter, EmptyWindowReadsMinusInfinityAndSilenceStaysFarBelowSignal) {
  auto meter = Make(kEbuShortTerm);
  // Before the first hop the mean square is 0, whatever came in.
  meter->ProcessMeter(0.5, 0.5, 0);
  EXPECT_TRUE(std::isinf(meter->accumulator.loudness) && meter->accumulator.loudness < 0);
  EXPECT_EQ(meter->current, 0.0);
  meter = Make(kEbuShortTerm);
  for (int i = 0; i < 5000; ++i) meter->ProcessMeter(0.0, 0.0, 0);
  // Only the anti-denormal offsets reach the window.
  EXPECT_LT(meter->accumulator.loudness, -400.0);
  EXPECT_LT(meter->current, 1e-20);
}

TEST(LoudnessMeter, PeakHoldsThenReleasesWithItsConstants) {
  auto meter = Make(kPeak);
  const int hold = static_cast<int>(0.1 * kFs);
  const double release = std::pow(10.0, -1.0 / (0.3 * kFs));
  meter->ProcessMeter(1.0, 0.0, 0);
  EXPECT_EQ(meter->current, 1.0);
  for (int i = 1; i <= hold; ++i) {
    meter->ProcessMeter(0.0, 0.0, 0);
    ASSERT_EQ(meter->current, 1.0) << i;
  }
  for (int k = 1; k <= 20000; ++k) {
    meter->ProcessMeter(0.0, 0.0, 0);
    ASSERT_NEAR(meter->current, std::pow(release, k), 1e-12) << k;
  }
  EXPECT_EQ(meter->maximumOut, 1.0);
  EXPECT_EQ(meter->samplePeak, 1.0);
  // A new peak during the release is taken at once and held again.
  meter->ProcessMeter(0.0, -0.5, 0);
  EXPECT_EQ(meter->current, 0.5);
  EXPECT_EQ(meter->ballisticState, kMeterFollowing);
}

TEST(LoudnessMeter, PeakSelectionIgnoresTheOtherChannel) {
  auto meter = Make(kPeak);
  meter->ProcessMeter(0.9, 0.2, 2);
  EXPECT_EQ(meter->current, 0.2);
  EXPECT_EQ(meter->samplePeak, 0.9);  // taken before the selection
}

TEST(LoudnessMeter, RmsReadsTheChannelMeanOrTheSelectedChannel) {
  const double a = 0.8;
  for (int select : {0, 1, 3}) {
    auto meter = Make(kRms);
    for (int i = 0; i < static_cast<int>(kFs); ++i) {
      const double s = a * Sine(i, 1000.0);
      meter->ProcessMeter(s, select == 0 ? s : 0.0, select);
    }
    // 0.6 s holds 600 whole periods: exactly the sine's RMS.
    EXPECT_NEAR(meter->current, a / std::sqrt(2.0), 1e-9) << select;
    EXPECT_NEAR(meter->offsetFactor, std::pow(10.0, 3.0 / 20.0), 1e-12);
    EXPECT_EQ(meter->offsetDb, 3.0);
  }
}

TEST(LoudnessMeter, RmsDuringTheFirstWindowUsesTheWholeLength) {
  auto meter = Make(kRms);
  for (int i = 0; i < 7200; ++i) meter->ProcessMeter(1.0, 1.0, 0);
  EXPECT_NEAR(meter->current, std::sqrt(7200.0 / 28800.0), 1e-12);
}

TEST(LoudnessMeter, VuSettlesToTheSineAmplitude) {
  const double a = 0.5;
  auto meter = Make(kVu);
  double sum = 0.0;
  int n = 0;
  for (int i = 0; i < static_cast<int>(3 * kFs); ++i) {
    meter->ProcessMeter(a * Sine(i, 1000.0), a * Sine(i, 1000.0), 0);
    if (i >= 2 * kFs) {
      sum += meter->current;
      ++n;
    }
  }
  // At rest the smoother's feedback leaves 2.01/3.01 of the rectified mean
  // 2a/pi, which the 3 pi / 4 scale brings back to a x 1.5 x 2.01/3.01.
  const double average = sum / n;
  EXPECT_NEAR(average, a * 1.5 * 2.01 / 3.01, 0.002 * a);
  EXPECT_NEAR(average, a, 0.01 * a);
  EXPECT_NEAR(meter->offsetFactor, std::pow(10.0, 18.0 / 20.0), 1e-9);
}

TEST(LoudnessMeter, OffsetsOf144DbOrMoreSilenceTheReading) {
  auto meter = std::make_unique<LoudnessMeter>();
  for (double offset : {144.0, 200.0}) {
    meter->InitMeter(0, 0, 0, 0, offset, kFs, 6, 0);
    EXPECT_EQ(meter->offsetFactor, 0.0);
  }
  meter->InitMeter(0, 0, 0, 0, 6.0, kFs, 6, 0);
  EXPECT_NEAR(meter->offsetFactor, std::pow(10.0, -6.0 / 20.0), 1e-12);
}

TEST(LoudnessMeter, KindsWithoutAMeasureStayAtZero) {
  for (int kind : {5, 7, 8, 100, -1}) {
    auto meter = Make({kind, 0.3, 0, 0, 0, 0});
    for (int i = 0; i < 1000; ++i) meter->ProcessMeter(0.9, -0.9, 0);
    EXPECT_EQ(meter->current, 0.0) << kind;
    EXPECT_EQ(meter->samplePeak, 0.9) << kind;
  }
}

TEST(LoudnessMeter, DelayIsClampedToZeroAndOneSecond) {
  struct Case {
    double ms;
    int samples;
  } cases[] = {{0.0, 0}, {10.0, 480}, {-5.0, 0}, {2000.0, 48000}};
  for (const Case& c : cases) {
    auto meter = Make(kPeak, kFs, c.ms);
    meter->ProcessMeter(1.0, 1.0, 0);
    for (int i = 1; i <= c.samples; ++i) {
      ASSERT_EQ(meter->samplePeak, 0.0) << c.ms;
      meter->ProcessMeter(0.0, 0.0, 0);
    }
    EXPECT_EQ(meter->samplePeak, 1.0) << c.ms;
  }
}

TEST(LoudnessMeter, ConstructorSetsUpAFollowerAt44100) {
  LoudnessMeter meter;
  EXPECT_EQ(meter.kind, 0);
  EXPECT_NEAR(meter.attackCoeff, std::pow(10.0, -1.0 / (0.3 * 44100.0)), 1e-15);
  EXPECT_EQ(meter.delayLeft.capacity, 44100);
  EXPECT_EQ(meter.accumulator.ringLength, 1);
}

}  // namespace
