#include "dsp/analyzer/CMFFT.h"

#include "tests/dsp/fft/DirectDft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

const double* Info(CMFFT& m, int id) { return reinterpret_cast<const double*>(m.GetInfoInt(id)); }

std::unique_ptr<CMFFT> Make(int bins, double fs, int selector = 0, int source = 0) {
  auto m = std::make_unique<CMFFT>();
  m->SetSampleRate(fs);
  m->SetParameter(0, bins);
  m->SetParameter(1, selector);
  m->SetParameter(2, source);
  return m;
}

void Push(CMFFT& m, const std::vector<double>& left, const std::vector<double>& right) {
  std::vector<double> l = left, r = right;
  double* in[2] = {l.data(), r.data()};
  std::vector<double> ol(l.size()), orr(r.size());
  double* out[2] = {ol.data(), orr.data()};
  m.Process(in, out, static_cast<int>(l.size()));
  EXPECT_EQ(ol, left);
  EXPECT_EQ(orr, right);
}

// The 4-term Blackman-Harris window, normalised to sum 1 and raised by
// 10^0.4 (the processor's analysis window), evaluated here.
std::vector<double> AnalysisWindow(int n) {
  std::vector<double> w(n);
  double sum = 0.0;
  for (int i = 0; i < n; ++i) {
    const double p = 2.0 * kPi * i / (n - 1);
    w[i] = 0.358750287312166 - 0.4882901074726 * std::cos(p) +
           0.141279712970519 * std::cos(2 * p) - 0.011679892244715 * std::cos(3 * p);
    sum += w[i];
  }
  for (double& v : w) v *= std::pow(10.0, 0.4) / sum;
  return w;
}

// Magnitudes of bins 0..bins-1 of the windowed frame, by the direct DFT.
std::vector<double> FrameMagnitudes(const std::vector<double>& frame) {
  const int n = static_cast<int>(frame.size());
  const std::vector<double> w = AnalysisWindow(n);
  std::vector<double> x(n);
  for (int i = 0; i < n; ++i) x[i] = frame[i] * w[i];
  const auto X = TestDft::DirectReal(x, +1);
  std::vector<double> mag(n / 2);
  for (int k = 0; k < n / 2; ++k) mag[k] = std::abs(X[k]);
  return mag;
}

TEST(CMFFT, SteadySineReadsAboutOnePointTwoFiveSixTimesItsAmplitude) {
  const double fs = 44100.0;
  auto m = Make(4096, fs);
  const int bin = 100;
  const double hz = bin * fs / 8192.0, a = 0.3;
  std::vector<double> l(8192 * 4);
  for (size_t i = 0; i < l.size(); ++i) l[i] = a * std::sin(2.0 * kPi * hz * i / fs);
  Push(*m, std::vector<double>(l.begin(), l.begin() + 8192), std::vector<double>(8192, 0.0));
  // Past the half-empty first frames, only whole frames of the sine count.
  m->SetParameter(3, 0.0);
  std::vector<double> rest(l.size() - 8192);
  for (size_t i = 0; i < rest.size(); ++i) rest[i] = a * std::sin(2.0 * kPi * hz * (i + 8192) / fs);
  Push(*m, rest, std::vector<double>(rest.size(), 0.0));
  const double* avg = Info(*m, 6);
  EXPECT_NEAR(avg[bin] / a, 0.5 * std::pow(10.0, 0.4), 1e-3);
  EXPECT_LT(avg[bin - 20], 1e-4 * a);
  EXPECT_LT(avg[bin + 20], 1e-4 * a);
  // Both channels are summed before the analysis.
  auto both = Make(4096, fs);
  Push(*both, l, l);
  EXPECT_NEAR(Info(*both, 7)[bin] / (2.0 * a), 0.5 * std::pow(10.0, 0.4), 1e-3);
}

TEST(CMFFT, FirstFrameIsHalfEmptyAndMarksReady) {
  const int bins = 64;
  auto m = Make(bins, 48000.0);
  std::mt19937 rng(1);
  std::uniform_real_distribution<double> d(-1, 1);
  std::vector<double> x(bins), zeros(bins, 0.0);
  for (double& v : x) v = d(rng);
  Push(*m, std::vector<double>(x.begin(), x.end() - 1), std::vector<double>(bins - 1, 0.0));
  EXPECT_EQ(m->GetInfoDouble(9), 0.0);
  Push(*m, {x.back()}, {0.0});
  EXPECT_EQ(m->GetInfoDouble(9), 1.0);
  std::vector<double> frame(zeros);
  frame.insert(frame.end(), x.begin(), x.end());
  const std::vector<double> mag = FrameMagnitudes(frame);
  const double* avg = Info(*m, 6);
  for (int k = 0; k < bins; ++k) EXPECT_NEAR(avg[k], mag[k], 1e-12) << k;
}

class CMFFTStatistics : public ::testing::TestWithParam<int> {};

TEST_P(CMFFTStatistics, FollowTheirDefinitionsFrameByFrame) {
  const int source = GetParam();
  const int bins = 64, frames = 7;
  const double fs = 48000.0;
  auto m = Make(bins, fs, 3, source);
  std::mt19937 rng(2);
  std::uniform_real_distribution<double> d(-1, 1);
  std::vector<double> x(bins * frames);
  for (size_t i = 0; i < x.size(); ++i) x[i] = d(rng) * (1.0 + (i / bins) % 3);
  Push(*m, x, std::vector<double>(x.size(), 0.0));

  const double decay = std::pow(10.0, -bins / (fs * 0.01));
  std::vector<double> sum(bins, 0.0), smoothed(bins, 0.0), maxHold(bins, 0.0), peak(bins, 0.0);
  for (int f = 0; f < frames; ++f) {
    std::vector<double> frame(2 * bins, 0.0);
    for (int i = 0; i < 2 * bins; ++i) {
      const int t = (f - 1) * bins + i;
      if (t >= 0) frame[i] = x[t];
    }
    const std::vector<double> mag = FrameMagnitudes(frame);
    for (int k = 0; k < bins; ++k) {
      sum[k] += mag[k];
      smoothed[k] = (smoothed[k] - mag[k]) * decay + mag[k];
      maxHold[k] = std::max(maxHold[k], mag[k]);
      peak[k] = mag[k] > peak[k] ? mag[k] : peak[k] * 0.25;
    }
  }
  const double* avg = Info(*m, 6);
  for (int k = 0; k < bins; ++k) {
    EXPECT_NEAR(avg[k], sum[k] / frames, 1e-11) << k;
    EXPECT_NEAR(Info(*m, 7)[k], maxHold[k], 1e-11) << k;
  }
  const int bands = m->GetBandCount();
  ASSERT_EQ(bands, 67);
  std::vector<double> average(bins);
  for (int k = 0; k < bins; ++k) average[k] = sum[k] / frames;
  std::vector<double> a(bands, 0.0), b(bands, 0.0);
  const double* freqs = Info(*m, 11);
  CMFFT::MapBinsToBands(source == 1 ? maxHold.data() : average.data(), bins, freqs, bands,
                        a.data(), fs);
  CMFFT::MapBinsToBands(source == 1 ? peak.data() : smoothed.data(), bins, freqs, bands, b.data(),
                        fs);
  for (int j = 0; j < bands; ++j) {
    EXPECT_NEAR(Info(*m, 12)[j], a[j], 1e-11) << j;
    EXPECT_NEAR(Info(*m, 13)[j], b[j], 1e-11) << j;
  }
}

INSTANTIATE_TEST_SUITE_P(Sources, CMFFTStatistics, ::testing::Values(0, 1));

TEST(CMFFT, ClearStartsTheStatisticsAgain) {
  auto m = Make(64, 48000.0);
  std::vector<double> x(64 * 3, 0.5), zero(64 * 3, 0.0);
  Push(*m, x, zero);
  m->SetParameter(3, 0.0);
  EXPECT_EQ(m->GetInfoDouble(9), 0.0);
  for (int k = 0; k < 64; ++k) ASSERT_EQ(Info(*m, 6)[k], 0.0);
  // The frame keeps its samples; the next average is that frame alone.
  Push(*m, std::vector<double>(64, 0.5), std::vector<double>(64, 0.0));
  const std::vector<double> mag = FrameMagnitudes(std::vector<double>(128, 0.5));
  for (int k = 0; k < 64; ++k) EXPECT_NEAR(Info(*m, 6)[k], mag[k], 1e-12) << k;
}

TEST(CMFFT, BandGridsPerSelector) {
  struct Case {
    int selector, perOctave, count;
  } cases[] = {{0, 1, 12}, {1, 1, 12}, {2, 3, 34}, {3, 6, 67}, {4, 12, 133}, {5, 24, 265}, {9, 1, 12}};
  for (const Case& c : cases) {
    auto m = Make(1024, 44100.0, c.selector);
    ASSERT_EQ(m->GetBandCount(), c.count) << c.selector;
    EXPECT_EQ(m->GetInfoDouble(10), c.count);
    const double* f = Info(*m, 11);
    for (int j = 0; j + 1 < c.count; ++j) {
      EXPECT_NEAR(f[j], 10.0 * std::pow(2.0, static_cast<double>(j) / c.perOctave), 1e-9 * f[j]);
    }
    EXPECT_EQ(f[c.count - 1], 22000.0);
  }
}

TEST(CMFFT, BandsAboveHalfTheRateAreNeverWritten) {
  auto m = Make(1024, 32000.0, 3, 0);
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> d(-1, 1);
  std::vector<double> x(1024 * 6);
  for (double& v : x) v = d(rng);
  Push(*m, x, std::vector<double>(x.size(), 0.0));
  const double* f = Info(*m, 11);
  const double* a = Info(*m, 12);
  for (int j = 0; j < m->GetBandCount(); ++j) {
    const double upper = j + 1 < m->GetBandCount() ? f[j + 1] : f[j];
    if (upper > 16000.0) {
      EXPECT_EQ(a[j], 0.0) << j;
    } else {
      EXPECT_GT(a[j], 0.0) << j;
    }
  }
}

TEST(CMFFT, MapBinsToBandsAveragesAroundEachBand) {
  // 11 bins over 0..500 Hz: 50 Hz apart, bins[k] = k.
  std::vector<double> bins(11);
  for (int k = 0; k < 11; ++k) bins[k] = k;
  const double f[] = {60.0, 140.0, 260.0, 330.0, 480.0, 600.0};
  std::vector<double> out(6, -1.0);
  CMFFT::MapBinsToBands(bins.data(), 11, f, 6, out.data(), 1000.0);
  EXPECT_EQ(out[0], 1.0);                    // the single bin at 60 Hz
  EXPECT_EQ(out[1], (1.0 + 5.0) / 2.0);      // bins 1..5 (60 .. 260 Hz)
  EXPECT_EQ(out[2], (2.0 + 6.0) / 2.0);      // bins 2..6
  EXPECT_EQ(out[3], (5.0 + 9.0) / 2.0);      // bins 5..9
  EXPECT_EQ(out[4], -1.0);                   // its upper neighbour is above 500 Hz
  EXPECT_EQ(out[5], -1.0);
}

TEST(CMFFT, PreferredPointGridsForTheReference) {
  CMFFT m;
  const int counts[] = {34, 67, 134, 268};
  for (int res = 0; res < 4; ++res) {
    const int n = m.InitBandTable(res);
    ASSERT_EQ(n, counts[res]);
    std::vector<double> out(n);
    m.GetBandFrequencies(res, out.data());
    EXPECT_EQ(out[0], 10.0);
    EXPECT_EQ(out[n - 1], 22050.0);
  }
  std::vector<double> out(134);
  m.GetBandFrequencies(2, out.data());
  EXPECT_NEAR(out[1], 10.6, 1e-12);
  EXPECT_NEAR(out[2], 11.2, 1e-12);
  EXPECT_NEAR(out[131], 19000.0, 1e-9);
  EXPECT_NEAR(out[132], 20000.0, 1e-9);
  out.assign(67, 0.0);
  m.GetBandFrequencies(1, out.data());
  EXPECT_NEAR(out[1], 11.2, 1e-12);
  EXPECT_NEAR(out[2], 12.5, 1e-12);
  EXPECT_NEAR(out[65], 18000.0, 1e-9);
  out.assign(34, 0.0);
  m.GetBandFrequencies(0, out.data());
  EXPECT_NEAR(out[1], 12.5, 1e-12);
  EXPECT_NEAR(out[2], 16.0, 1e-12);
  EXPECT_NEAR(out[32], 16000.0, 1e-9);
  out.assign(268, 0.0);
  m.GetBandFrequencies(3, out.data());
  EXPECT_NEAR(out[1], 10.3, 1e-12);
  EXPECT_NEAR(out[266], 21200.0, 1e-9);
  EXPECT_EQ(m.InitBandTable(7), 268);
}

TEST(CMFFT, BinCountsAreRoundedToPowersOfTwoOrRefused) {
  auto m = std::make_unique<CMFFT>();
  EXPECT_EQ(m->GetParameter(0), 4096.0);
  m->SetParameter(0, 3000.0);
  EXPECT_EQ(m->GetInfoDouble(5), 4096.0);
  m->SetParameter(0, 16384.0);
  EXPECT_EQ(m->GetInfoDouble(5), 16384.0);
  for (double bad : {1.0, 0.0, -64.0, std::nan("")}) {
    m->SetParameter(0, bad);
    EXPECT_EQ(m->GetInfoDouble(5), 16384.0) << bad;
  }
  m->SetParameter(0, 1e12);
  EXPECT_EQ(m->GetInfoDouble(5), CMFFT::kMaxBinCount);
  m->SetParameter(0, 2.0);
  std::vector<double> x(16, 0.25);
  double* in[2] = {x.data(), x.data()};
  m->ProcessSpectrumOnly(in, nullptr, 16);
  EXPECT_EQ(m->GetInfoDouble(9), 1.0);
}

TEST(CMFFT, ProcessorInterface) {
  CMFFT m;
  char name[8];
  EXPECT_EQ(m.GetName(name), 1);
  EXPECT_STREQ(name, "MFFT");
  EXPECT_EQ(m.GetNumParameters(), 4);
  EXPECT_EQ(m.GetNumInputChannels(), 2);
  EXPECT_EQ(m.GetSampleRate(), 44100.0);
  EXPECT_TRUE(m.GetFlagA());
  EXPECT_FALSE(m.GetFlagB());
  EXPECT_EQ(m.GetInfoInt(6), m.GetInfoInt(8));
  EXPECT_EQ(m.GetInfoInt(99), 0);
  EXPECT_EQ(m.GetInfoDouble(99), 0.0);
  m.SetParameter(1, 3.0);
  EXPECT_EQ(m.GetInfoDouble(1), 3.0);
  EXPECT_EQ(m.GetParameter(1), 3.0);
  // Spectrum-only pushing never runs the bands.
  std::vector<double> x(8192 * 2, 0.5);
  double* in[2] = {x.data(), x.data()};
  m.ProcessSpectrumOnly(in, nullptr, static_cast<int>(x.size()));
  EXPECT_EQ(m.GetInfoDouble(9), 1.0);
  for (int j = 0; j < m.GetBandCount(); ++j) EXPECT_EQ(Info(m, 12)[j], 0.0);
}

}  // namespace
