#include "plugin/engine/FirImpulseBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "plugin/engine/BandDesign.h"
#include "plugin/engine/BandProcessing.h"
#include "tests/plugin/engine/EngineTestSupport.h"

namespace {

using EngineTestSupport::kPi;
constexpr double kHostRate = 48000.0;

// The fade of sample i of an L-sample response: the second half of a
// squared Hann window of 2L points.
double Fade(int i, int length) {
  const double h = 0.5 - 0.5 * std::cos(2.0 * kPi * (length + i) / (2.0 * length - 1.0));
  return h * h;
}

// The first `length` samples of one band's impulse response, run on a
// band of its own.
std::vector<double> BandImpulse(const ParamMirrors& m, int b, int length, double rate) {
  BandFilter band;
  DesignBand(band, m.bandType[b], m.bandFreq[b], m.bandGain[b], m.bandQ[b], m.bandSlope[b], rate, true);
  std::vector<double> h(length);
  for (int i = 0; i < length; ++i) h[i] = ProcessBandSample(band, i == 0 ? 1.0 : 0.0);
  return h;
}

std::complex<double> Dft(const double* x, int n, int bin) {
  std::complex<double> sum(0.0, 0.0);
  for (int i = 0; i < n; ++i) sum += x[i] * std::polar(1.0, -2.0 * kPi * bin * i / n);
  return sum;
}

class FirImpulseBuilderTest : public ::testing::Test {
 protected:
  void SetUp() override { builder.Init(); }
  void Build(int length, int filterMode, int factor = 1) {
    builder.Build(first, second, m, length, filterMode, factor * kHostRate, 2.0 * kHostRate);
  }
  const double* Buffer(int channel) const {
    const double* buffers[] = {builder.Left(), builder.Right(), builder.Mid(), builder.Side()};
    return buffers[channel];
  }

  ParamMirrors m;
  BandFilter first[kNumBands], second[kNumBands];
  FirImpulseBuilder builder;
};

TEST_F(FirImpulseBuilderTest, NoBandGivesFadedUnitImpulses) {
  const int length = 2048;
  for (int mode : {1, 4}) {
    Build(length, mode);
    const int centre = mode == 4 ? length / 2 : 0;
    for (int c = 0; c < 4; ++c) {
      for (int i = 0; i < length; ++i) {
        ASSERT_NEAR(Buffer(c)[i], i == centre ? Fade(0, length) : 0.0, 1e-12) << mode << " " << c << " " << i;
      }
    }
  }
}

struct RoutingCase {
  int chMode;
  bool acts[4];  // left, right, mid, side
};

class FirImpulseRouting : public FirImpulseBuilderTest, public ::testing::WithParamInterface<RoutingCase> {};

TEST_P(FirImpulseRouting, EachBufferHoldsTheBandsOfItsChannel) {
  const RoutingCase c = GetParam();
  const int length = 4096;
  EngineTestSupport::SetPeak(m, 4, 700.0, 9.0, 2.0, c.chMode);
  Build(length, 2, 2);
  const std::vector<double> band = BandImpulse(m, 4, length, 2 * kHostRate);
  for (int ch = 0; ch < 4; ++ch) {
    for (int i = 0; i < length; ++i) {
      const double raw = c.acts[ch] ? band[i] : (i == 0 ? 1.0 : 0.0);
      ASSERT_NEAR(Buffer(ch)[i], raw * Fade(i, length), 1e-12) << ch << " " << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(ChannelModes, FirImpulseRouting,
                         ::testing::Values(RoutingCase{0, {true, true, false, false}},
                                           RoutingCase{1, {true, false, false, false}},
                                           RoutingCase{2, {false, true, false, false}},
                                           RoutingCase{3, {false, false, true, false}},
                                           RoutingCase{4, {false, false, false, true}}));

TEST_F(FirImpulseBuilderTest, SoloLeavesOnlyActiveSoloedBands) {
  const int length = 2048;
  EngineTestSupport::SetPeak(m, 0, 200.0, 6.0, 1.0, 1);  // Left, not soloed
  EngineTestSupport::SetPeak(m, 1, 900.0, -6.0, 1.0, 2);  // Right, soloed
  m.bandSolo[1] = 1;
  m.bandSolo[2] = 1;  // soloed but inactive: acts nowhere
  EngineTestSupport::SetPeak(m, 2, 3000.0, 6.0, 1.0, 3);
  m.bandActive[2] = 0;
  Build(length, 1);
  const std::vector<double> band = BandImpulse(m, 1, length, kHostRate);
  for (int i = 0; i < length; ++i) {
    const double unit = i == 0 ? Fade(0, length) : 0.0;
    ASSERT_NEAR(builder.Left()[i], unit, 1e-12) << i;
    ASSERT_NEAR(builder.Right()[i], band[i] * Fade(i, length), 1e-12) << i;
    ASSERT_NEAR(builder.Mid()[i], unit, 1e-12) << i;
  }
}

TEST_F(FirImpulseBuilderTest, LinearPhaseKeepsTheMagnitudeSymmetricAboutTheCentre) {
  const int length = 2048;
  EngineTestSupport::SetPeak(m, 3, 1500.0, 8.0, 3.0);
  Build(length, 1);
  const std::vector<double> minimum(builder.Left(), builder.Left() + length);
  Build(length, 4);
  const double* linear = builder.Left();
  for (int k = 1; k < length / 2; ++k) ASSERT_NEAR(linear[length / 2 + k], linear[length / 2 - k], 1e-12) << k;
  for (int bin : {0, 3, 64, 200, 1023}) {
    EXPECT_NEAR(std::abs(Dft(linear, length, bin)), std::abs(Dft(minimum.data(), length, bin)), 1e-9) << bin;
  }
}

TEST_F(FirImpulseBuilderTest, DisplayBankIsGivenBackAtTwiceTheHostRate) {
  EngineTestSupport::SetPeak(m, 5, 2500.0, -7.0, 1.5);
  Build(16384, 3, 4);
  BandFilter fresh;
  DesignBand(fresh, 0, 2500.0, -7.0, 1.5, 0, 2.0 * kHostRate, true);
  for (const BandFilter* bank : {first, second}) {
    EXPECT_EQ(bank[5].mSampleRate, 2.0 * kHostRate);
    for (double f : {100.0, 2500.0, 20000.0}) {
      EXPECT_DOUBLE_EQ(GetBandResponseDB(bank[5], f, 2.0 * kHostRate), GetBandResponseDB(fresh, f, 2.0 * kHostRate));
    }
  }
}

TEST(FirImpulseBuilder, LengthsOfTheFilterModes) {
  const int expected[7][3] = {{0, 0, 0},
                              {2048, 4096, 8192},
                              {4096, 8192, 16384},
                              {16384, 32768, 65536},
                              {2048, 4096, 8192},
                              {4096, 8192, 16384},
                              {16384, 32768, 65536}};
  for (int mode = 0; mode < 7; ++mode) {
    const int factors[3] = {1, 2, 4};
    for (int f = 0; f < 3; ++f) EXPECT_EQ(FirImpulseBuilder::LengthFor(mode, factors[f]), expected[mode][f]);
  }
  EXPECT_EQ(FirImpulseBuilder::LengthFor(7, 1), 0);
  EXPECT_EQ(FirImpulseBuilder::LengthFor(-1, 2), 0);
}

}  // namespace
