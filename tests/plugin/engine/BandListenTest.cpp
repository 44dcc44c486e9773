#include "plugin/engine/BandListen.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/plugin/engine/EngineTestSupport.h"

namespace {

using EngineTestSupport::kPi;

// The analogue band-pass s d / (s^2 + s d + 1) at the frequency the
// bilinear transform, prewarped at the centre, maps g to.
double PrototypeMagnitude(double g, double centre, double rate) {
  const double d = 0.999 * 0.5 + 0.001;
  const double omega = std::tan(kPi * g / rate) / std::tan(kPi * centre / rate);
  return d * omega / std::sqrt((1.0 - omega * omega) * (1.0 - omega * omega) + d * d * omega * omega);
}

double MeasureDb(BandListen& listen, int channel, double g, double rate) {
  const int n = static_cast<int>(rate);
  std::vector<double> out(2 * n);
  for (int i = 0; i < 2 * n; ++i) out[i] = listen.Process(channel, std::sin(2.0 * kPi * g * i / rate));
  return EngineTestSupport::ToneLevelDb(out, g, rate, n, n);
}

struct ListenCase {
  double centre, gainDb, probe, rate;
};

class BandListenResponse : public ::testing::TestWithParam<ListenCase> {};

TEST_P(BandListenResponse, TwoPrototypeSectionsInSeriesWithTheGainOnEach) {
  const ListenCase c = GetParam();
  BandListen listen;
  listen.Init(c.rate);
  listen.Design(c.centre, c.gainDb, c.rate);
  const double expected = 2.0 * (20.0 * std::log10(PrototypeMagnitude(c.probe, c.centre, c.rate)) + c.gainDb);
  for (int channel = 0; channel < 2; ++channel) {
    EXPECT_NEAR(MeasureDb(listen, channel, c.probe, c.rate), expected, 1e-3) << channel;
  }
}

INSTANTIATE_TEST_SUITE_P(Centres, BandListenResponse,
                         ::testing::Values(ListenCase{1000, 0, 1000, 48000}, ListenCase{1000, 0, 3000, 48000},
                                           ListenCase{250, 6, 100, 44100}, ListenCase{8000, -3, 8000, 192000},
                                           ListenCase{22000, 30, 20000, 96000}));

TEST(BandListen, AFrequencyAboveHalfTheRateStaysStable) {
  BandListen listen;
  listen.Init(44100.0);
  listen.Design(30000.0, 0.0, 44100.0);
  double peak = 0.0;
  for (int i = 0; i < 44100; ++i) peak = std::max(peak, std::fabs(listen.Process(0, i % 2 ? 1.0 : -1.0)));
  EXPECT_LT(peak, 4.0);
  EXPECT_EQ(listen.GetFrequencyHz(), 30000.0);  // kept as asked; only the design is held below Nyquist
}

// Switching on starts the sections from rest; a redesign while on keeps
// their state, so a drag across the graph does not click.
TEST(BandListen, SwitchingOnStartsFromRestRedesignsWhileOnDoNot) {
  BandListen listen;
  listen.Init(48000.0);
  listen.Design(100.0, 0.0, 48000.0);
  listen.SetActive(true);
  for (int i = 0; i < 1000; ++i) listen.Process(i & 1, std::sin(0.013 * i));
  listen.SetActive(false);
  listen.SetActive(true);
  for (int channel = 0; channel < 2; ++channel) {
    for (int stage = 0; stage < 2; ++stage) {
      EXPECT_EQ(listen.GetSection(channel, stage).s1, 0.0);
      EXPECT_EQ(listen.GetSection(channel, stage).s2, 0.0);
    }
  }
  listen.Process(0, 1.0);
  const double s1 = listen.GetSection(0, 0).s1;
  listen.Design(200.0, 0.0, 48000.0);
  listen.SetActive(true);
  EXPECT_EQ(listen.GetSection(0, 0).s1, s1);
  EXPECT_NE(s1, 0.0);
}

}  // namespace
