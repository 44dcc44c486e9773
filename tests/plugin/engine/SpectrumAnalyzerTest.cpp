#include "plugin/engine/SpectrumAnalyzer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "dsp/analyzer/PreferredFrequencies.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// The analysis window computed here from its definition: the seven-term
// Blackman-Harris window, scaled to sum to 10^0.3 for 8192 points (10^0.6
// for 32768), which puts a bin-centred sine of amplitude A at A/2 x 10^0.3.
std::vector<double> AnalysisWindow(int n, double sum) {
  const double c[7] = {0.2712203605850388,   -0.4334446123274422, 0.2180041228929303,
                       -0.06578534329560609, 0.01076186730534183, -0.0007700127105808265,
                       1.368088305992921e-5};
  std::vector<double> w(n);
  double total = 0.0;
  for (int i = 0; i < n; ++i) {
    double v = 0.0;
    for (int k = 0; k < 7; ++k) v += c[k] * std::cos(k * 2.0 * kPi * i / (n - 1));
    w[i] = v;
    total += v;
  }
  for (double& v : w) v *= sum / total;
  return w;
}

// |sum x[j] w[j] e^(2 pi i jk/n)| by direct summation over a cosine table.
class DirectBins {
 public:
  explicit DirectBins(int n) : mN(n), mCos(n), mSin(n) {
    for (int j = 0; j < n; ++j) {
      mCos[j] = std::cos(2.0 * kPi * j / n);
      mSin[j] = std::sin(2.0 * kPi * j / n);
    }
  }
  double Magnitude(const std::vector<double>& windowed, int k) const {
    long double re = 0.0L, im = 0.0L;
    long long m = 0;
    for (int j = 0; j < mN; ++j) {
      re += windowed[j] * mCos[m];
      im += windowed[j] * mSin[m];
      m += k;
      if (m >= mN) m -= mN;
    }
    return static_cast<double>(std::sqrt(re * re + im * im));
  }

 private:
  int mN;
  std::vector<double> mCos, mSin;
};

// One display refresh without a plug mutex (the tests are single-threaded).
void Refresh(SpectrumAnalyzer& a) {
  a.AnalyzeFrames();
  a.CaptureSpectra();
  a.UpdateDisplayCurves();
  a.PublishCurves(true);
}

void FeedMono(SpectrumAnalyzer& a, const std::vector<double>& x, int block = 512) {
  for (size_t i = 0; i < x.size(); i += block) {
    double* in[1] = {const_cast<double*>(x.data() + i)};
    a.FeedInput(in, static_cast<int>(std::min<size_t>(block, x.size() - i)), 1, 0, false);
  }
}

int TruncBin(double hz, double scale) { return static_cast<int>(hz * scale); }

class DisplayPoints : public ::testing::TestWithParam<double> {};

}  // namespace

TEST_P(DisplayPoints, From10HzTo22050HzAtEveryRate) {
  SpectrumAnalyzer a;
  a.SetSampleRate(GetParam());
  a.AllocAnalyzerBuffers();
  const double* table = PreferredFrequencyTable();
  ASSERT_EQ(a.PointCount(), 134);
  const double* f = a.PointFreqs();
  EXPECT_EQ(f[0], 10.0);
  EXPECT_EQ(f[133], 22050.0);
  for (int k = 0; k < 133; ++k) EXPECT_EQ(f[k], table[80 + 2 * k]) << k;

  const int steps[] = {8, 4, 2, 1, 1};
  for (int resolution = 0; resolution <= 4; ++resolution) {
    const int step = steps[resolution];
    int count = 0;
    for (int i = 0; i < kPreferredFrequencyCount; i += step) count += table[i] >= 10.0 && table[i] <= 22050.0;
    a.InitAnalyzerPoints(resolution);
    EXPECT_EQ(a.PointCount(), count) << resolution;
    EXPECT_EQ(a.PointFreqs()[0], 10.0);
    EXPECT_EQ(a.PointFreqs()[count - 1], 22050.0);
    EXPECT_EQ(a.PointFreqs()[1], table[80 + step]);
  }
}

INSTANTIATE_TEST_SUITE_P(Rates, DisplayPoints, ::testing::Values(32000.0, 44100.0, 48000.0, 96000.0, 192000.0));

TEST(SpectrumAnalyzer, MappingInterpolatesNarrowPointsAndAveragesWideOnes) {
  SpectrumAnalyzer a;
  a.InitAnalyzerPoints(3);
  const int points = a.PointCount();
  const double* f = a.PointFreqs();
  for (const double fs : {44100.0, 96000.0}) {
    SCOPED_TRACE(fs);
    const int bins = 4096;
    const double scale = (bins - 1) / (fs * 0.5);
    std::vector<double> ramp(bins);
    for (int k = 0; k < bins; ++k) ramp[k] = k;
    std::vector<double> curve(points, -1.0);
    SpectrumAnalyzer::MapSpectrumToPoints(ramp.data(), bins, f, points, curve.data(), fs);
    int narrow = 0, wide = 0;
    for (int i = 0; i < points; ++i) {
      const int lo = TruncBin(f[std::max(i - 1, 0)], scale);
      const int hi = TruncBin(f[std::min(i + 1, points - 1)], scale);
      if (hi - lo < 2) {
        // On a straight line the interpolation is the line itself, held
        // between the lower neighbour's bin and the next.
        EXPECT_NEAR(curve[i], lo + std::clamp(f[i] * scale - lo, 0.0, 1.0), 1e-9) << i;
        ++narrow;
      } else {
        EXPECT_NEAR(curve[i], (lo + hi) / 2.0, 1e-9) << i;
        ++wide;
      }
    }
    EXPECT_GT(narrow, 10);
    EXPECT_GT(wide, 10);
  }
}

TEST(SpectrumAnalyzer, PointsAboveNyquistTakeTheLastBin) {
  SpectrumAnalyzer a;
  const int points = a.PointCount();
  const double fs = 32000.0;
  const int bins = 4096;
  // Exactly bins long: a read past the end fails under the sanitizer.
  std::vector<double> spectrum(bins, 1.0);
  spectrum[bins - 1] = 7.0;
  std::vector<double> curve(points);
  SpectrumAnalyzer::MapSpectrumToPoints(spectrum.data(), bins, a.PointFreqs(), points, curve.data(), fs);
  for (int i = 0; i < points; ++i) {
    // Includes 17 kHz, whose lower neighbour 16 kHz lands just under the
    // last bin: interpolating from there must not run on to its own bin.
    if (a.PointFreqs()[i] / 1.06 > 16000.0) {
      EXPECT_EQ(curve[i], 7.0) << a.PointFreqs()[i];
    }
  }
  EXPECT_EQ(curve[points - 1], 7.0);
  EXPECT_EQ(curve[0], 1.0);
}

TEST(SpectrumAnalyzer, MappingStaysBetweenTheBinsOnASteepFall) {
  SpectrumAnalyzer a;
  a.InitAnalyzerPoints(3);
  const int points = a.PointCount();
  const double* f = a.PointFreqs();
  const double fs = 44100.0;
  const int bins = 4096;
  const double scale = (bins - 1) / (fs * 0.5);
  // Find a narrow point lying past the bin after its lower neighbour's:
  // the interpolation there extrapolates.
  int probe = -1;
  for (int i = 1; i + 1 < points && probe < 0; ++i) {
    const int lo = TruncBin(f[i - 1], scale);
    if (TruncBin(f[i + 1], scale) - lo < 2 && f[i] * scale - lo > 1.0) probe = i;
  }
  ASSERT_GE(probe, 0);
  std::vector<double> spectrum(bins, 0.0);
  spectrum[TruncBin(f[probe - 1], scale)] = 1.0;  // falls to 0 at the next bin
  std::vector<double> curve(points);
  SpectrumAnalyzer::MapSpectrumToPoints(spectrum.data(), bins, f, points, curve.data(), fs);
  for (int i = 0; i < points; ++i) {
    EXPECT_GE(curve[i], 0.0) << i;
    EXPECT_LE(curve[i], 1.0) << i;
  }
  EXPECT_EQ(curve[probe], 0.0);  // the line would have gone below zero
}

TEST(SpectrumAnalyzer, CurvesFollowASteadySine) {
  const double fs = 44100.0;
  const int n = 8192, hop = 1024, k0 = 186, frames = 48;
  const double amplitude = 0.5;
  const double hz = k0 * fs / n;  // 1001.3 Hz, centred on bin 186
  SpectrumAnalyzer a;
  a.SetEnabled(true);
  std::vector<double> x(frames * hop + 1);
  for (size_t i = 0; i < x.size(); ++i) x[i] = amplitude * std::sin(2.0 * kPi * hz * i / fs + 0.3);
  FeedMono(a, x);
  Refresh(a);
  EXPECT_EQ(a.Filled(), 1);
  EXPECT_EQ(a.AverageCount(), frames + 1);

  // Expected spectra around the sine, frame by frame: frame h holds the
  // samples up to (h + 1) hops, zeros before the first.
  const std::vector<double> w = AnalysisWindow(n, std::pow(10.0, 0.3));
  const DirectBins dft(n);
  const int first = k0 - 40, last = k0 + 40;
  const double fall = std::pow(10.0, 17.0 / (fs * -0.01));  // 1 s at 60 frames/s
  std::vector<double> average(last + 1, 0.0), maximum(last + 1, 0.0), smoothed(last + 1, 0.0);
  std::vector<double> windowed(n);
  for (int h = 0; h < frames; ++h) {
    const int start = (h + 1) * hop - n;
    for (int j = 0; j < n; ++j) windowed[j] = start + j >= 0 ? x[start + j] * w[j] : 0.0;
    for (int k = first; k <= last; ++k) {
      const double m = dft.Magnitude(windowed, k);
      average[k] += m / frames;
      maximum[k] = std::max(maximum[k], m);
      smoothed[k] = m - (m - smoothed[k]) * (m <= smoothed[k] ? fall : 0.0);
    }
  }
  const double peak = amplitude / 2.0 * std::pow(10.0, 0.3);
  EXPECT_NEAR(maximum[k0], peak, peak * 1e-9);
  const double tol = peak * 1e-9;
  for (int k = first; k <= last; ++k) {
    EXPECT_NEAR(a.Average()[k], average[k], tol) << k;
    EXPECT_NEAR(a.Maximum()[k], maximum[k], tol) << k;
    EXPECT_NEAR(a.Smoothed()[k], smoothed[k], tol) << k;
  }

  // The display points around the sine average the bins between their
  // neighbours.
  const double scale = (n / 2 - 1) / (fs * 0.5);
  const double* f = a.PointFreqs();
  int checked = 0;
  for (int i = 1; i + 1 < a.PointCount(); ++i) {
    const int lo = TruncBin(f[i - 1], scale), hi = TruncBin(f[i + 1], scale);
    if (lo < first || hi > last || lo > k0 + 3 || hi < k0 - 3) continue;
    ASSERT_GE(hi - lo, 2);
    double avg = 0.0, max = 0.0, smooth = 0.0;
    for (int k = lo; k <= hi; ++k) {
      avg += average[k] / (hi - lo + 1);
      max += maximum[k] / (hi - lo + 1);
      smooth += smoothed[k] / (hi - lo + 1);
    }
    EXPECT_NEAR(a.AverageCurve()[i], avg, tol) << f[i];
    EXPECT_NEAR(a.MaxCurve()[i], max, tol) << f[i];
    EXPECT_NEAR(a.SmoothedCurve()[i], smooth, tol) << f[i];
    ++checked;
  }
  EXPECT_GE(checked, 2);
  // Far from the sine the curves sit well below it (the frames that caught
  // the start of the sine leak a little everywhere).
  for (int i = 0; i < a.PointCount(); ++i) {
    if (f[i] < 500.0 || f[i] > 2000.0) {
      EXPECT_LT(a.MaxCurve()[i], peak * 1e-2) << f[i];
    }
  }
}

TEST(SpectrumAnalyzer, AnalysesOnlyWhenMoreThanOneHopWaits) {
  SpectrumAnalyzer a;
  a.SetEnabled(true);
  FeedMono(a, std::vector<double>(1024, 0.25));
  Refresh(a);
  EXPECT_FALSE(a.NewData());
  EXPECT_EQ(a.Filled(), 1024);
  EXPECT_EQ(a.AverageCount(), 1);
  FeedMono(a, std::vector<double>(1, 0.25));
  Refresh(a);
  EXPECT_TRUE(a.NewData());
  EXPECT_EQ(a.Filled(), 1);
  EXPECT_EQ(a.AverageCount(), 2);
}

TEST(SpectrumAnalyzer, FullRingDropsFrames) {
  SpectrumAnalyzer a;
  ASSERT_EQ(a.InputCapacity(), 88200);  // two seconds at 44.1 kHz
  FeedMono(a, std::vector<double>(100000, 0.1));
  EXPECT_EQ(a.Filled(), 88200);
  // A new rate asks for a bigger ring; until the buffers are made again the
  // old one is all there is, and feeding stays inside it.
  a.SetSampleRate(48000.5);
  EXPECT_EQ(a.InputCapacity(), 96000);
  a.AnalyzeFrames();
  FeedMono(a, std::vector<double>(100000, 0.1));
  EXPECT_EQ(a.Filled(), 88200);
  a.AllocAnalyzerBuffers();
  EXPECT_EQ(a.RingLength(), 96000);
  FeedMono(a, std::vector<double>(100000, 0.1));
  EXPECT_EQ(a.Filled(), 96000);
}

namespace {

struct FeedCase {
  int nChannels, channel;
  bool midSide;
  double fed;  // the value reaching the ring from L = 0.3, R = 0.1 (-1: nothing)
};

const FeedCase kFeedCases[] = {
    {2, -1, false, 0.4},  {2, 0, false, 0.3}, {2, 1, false, 0.1},   {2, 0, true, 0.2},
    {2, 1, true, 0.1},    {1, -1, false, 0.3}, {1, 1, false, -1.0}, {1, 0, true, 0.3},
    {1, 1, true, -1.0},   {3, 0, false, -1.0}, {2, 2, false, -1.0}, {2, -2, false, -1.0},
};

class FeedSelection : public ::testing::TestWithParam<FeedCase> {};

}  // namespace

TEST_P(FeedSelection, ChannelsAndMidSide) {
  const FeedCase c = GetParam();
  SpectrumAnalyzer a;
  const int frames = 8192 + 1024 + 1;
  std::vector<double> left(frames, 0.3), right(frames, 0.1), third(frames, 0.0);
  double* in[3] = {left.data(), right.data(), third.data()};
  a.FeedInput(in, frames, c.nChannels, c.channel, c.midSide);
  if (c.fed < 0.0) {
    EXPECT_EQ(a.Filled(), 0);
    return;
  }
  ASSERT_EQ(a.Filled(), frames);
  a.AnalyzeFrames();
  // The last frame is full of the constant: its DC bin is the value times
  // the window's sum, 10^0.3.
  EXPECT_NEAR(a.Magnitude()[0], c.fed * std::pow(10.0, 0.3), 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Modes, FeedSelection, ::testing::ValuesIn(kFeedCases));

// Blocks of any size, across the ring's end, behind a delay and into a full
// ring, fill it as single frames do: every selection gives the same spectra
// and counts, bit for bit.
TEST(SpectrumAnalyzer, FeedingInBlocksEqualsFeedingFrameByFrame) {
  std::vector<double> left(60000), right(60000);
  for (int i = 0; i < 60000; ++i) {
    left[i] = std::sin(0.01 * i) + 0.25 * std::sin(0.37 * i);
    right[i] = 0.5 * std::cos(0.003 * i * i / 1000.0);
  }
  for (const FeedCase& c : kFeedCases) {
    if (c.fed < 0.0) continue;
    SpectrumAnalyzer blocks, frames;
    for (SpectrumAnalyzer* a : {&blocks, &frames}) {
      a->SetSampleRate(12000.0);  // a ring of 24000 frames, so it wraps and fills
      a->AllocAnalyzerBuffers();
      a->SetDelay(333);
    }
    int offset = 0;
    for (int round = 0; offset + 5000 < 60000; ++round) {
      const int n = (round * 977) % 4000 + 1;
      double* in[2] = {left.data() + offset, right.data() + offset};
      blocks.FeedInput(in, n, c.nChannels, c.channel, c.midSide);
      for (int i = 0; i < n; ++i) {
        double* one[2] = {left.data() + offset + i, right.data() + offset + i};
        frames.FeedInput(one, 1, c.nChannels, c.channel, c.midSide);
      }
      offset += n;
      ASSERT_EQ(blocks.Filled(), frames.Filled());
      // Drained only now and then, so that the ring also runs full.
      if (round % 13 == 12) {
        blocks.AnalyzeFrames();
        frames.AnalyzeFrames();
        for (int k = 0; k < blocks.BinCount(); ++k) {
          ASSERT_EQ(blocks.Magnitude()[k], frames.Magnitude()[k]) << "bin " << k << ", round " << round;
        }
      }
    }
  }
}

TEST(SpectrumAnalyzer, DelayLineHoldsTheInputBack) {
  SpectrumAnalyzer a;
  a.SetDelay(4096);
  EXPECT_EQ(a.DelaySamples(), 4096);
  EXPECT_EQ(a.DelayLength(), 4096);
  // The first 4096 samples only fill the delay: what comes out meanwhile is
  // its silence, which is passed over, not analysed.
  FeedMono(a, std::vector<double>(4096, 1.0));
  a.AnalyzeFrames();
  EXPECT_FALSE(a.NewData());
  EXPECT_EQ(a.Filled(), 0);
  // 1024 + 1 more push out the first ones: one hop of 1.0 is analysed.
  FeedMono(a, std::vector<double>(1025, 1.0));
  EXPECT_EQ(a.Filled(), 1025);
  a.AnalyzeFrames();
  ASSERT_TRUE(a.NewData());
  EXPECT_GT(a.Magnitude()[0], 0.0);
  a.SetDelay(1 << 20);
  EXPECT_EQ(a.DelayLength(), SpectrumAnalyzer::kDelayCapacity);
}

namespace {

// How the delay line of an analyser that aligns its input with the
// plug-in's latency gets emptied.
enum class DelayClear { kResetHistory, kAllocBuffers, kNewDelay };

struct DelayClearCase {
  const char* name;
  DelayClear how;
  int delay;
};

class DelayRefill : public ::testing::TestWithParam<DelayClearCase> {};

void PrintTo(const DelayClearCase& c, std::ostream* os) { *os << c.name; }

// The delayed analyser queued and analysed what the plain one did: the
// same count and the same spectra, bit for bit.
void ExpectSameSpectra(const SpectrumAnalyzer& delayed, const SpectrumAnalyzer& plain) {
  ASSERT_EQ(delayed.Filled(), plain.Filled());
  ASSERT_EQ(delayed.AverageCount(), plain.AverageCount());
  for (int k = 0; k < plain.BinCount(); ++k) {
    ASSERT_EQ(delayed.Average()[k], plain.Average()[k]) << k;
    ASSERT_EQ(delayed.Maximum()[k], plain.Maximum()[k]) << k;
    ASSERT_EQ(delayed.Smoothed()[k], plain.Smoothed()[k]) << k;
  }
}

}  // namespace

// An emptied delay line hands out silence until the input fed since has
// gone through it; that silence was never heard, so it must not be analysed
// as if it were: after the clear, the delayed analyser's spectra are those
// of an undelayed one fed the same input from the clear on. Analysing the
// silence kept the pre-filter curves empty for the latency's time after a
// reset or an "Analyzer Mode" change in a FIR mode (a second at 48 kHz) and
// pulled the average down for long after.
TEST_P(DelayRefill, TheDelaysSilenceIsNotAnalysed) {
  const DelayClearCase c = GetParam();
  std::vector<double> x(200000);
  for (size_t i = 0; i < x.size(); ++i) x[i] = 0.3 * std::sin(0.05 * i) + 0.2 * std::sin(0.0131 * i * (1.0 + i / 1e5));
  const int cut = 20000;
  SpectrumAnalyzer delayed, plain;
  for (SpectrumAnalyzer* a : {&delayed, &plain}) a->SetEnabled(true);
  if (c.how != DelayClear::kNewDelay) delayed.SetDelay(c.delay);
  // What came before the clear: heard, then forgotten by both.
  FeedMono(delayed, std::vector<double>(x.begin(), x.begin() + cut), 700);
  Refresh(delayed);
  switch (c.how) {
    case DelayClear::kResetHistory: delayed.ResetHistory(); break;
    case DelayClear::kAllocBuffers: delayed.AllocAnalyzerBuffers(); break;
    case DelayClear::kNewDelay:
      delayed.ResetHistory();
      delayed.SetDelay(c.delay);
      break;
  }
  const int n = 40000;
  // Refreshed now and then, as the display does, so that the two-second
  // input ring never runs full.
  for (int at = 0; at < n + c.delay; at += 8000) {
    const int end = std::min(at + 8000, n + c.delay);
    FeedMono(delayed, std::vector<double>(x.begin() + cut + at, x.begin() + cut + end), 333);
    Refresh(delayed);
    if (at < n) {
      FeedMono(plain, std::vector<double>(x.begin() + cut + at, x.begin() + cut + std::min(end, n)), 512);
      Refresh(plain);
    }
  }
  ExpectSameSpectra(delayed, plain);
  for (int i = 0; i < plain.PointCount(); ++i) ASSERT_EQ(delayed.AverageCurve()[i], plain.AverageCurve()[i]) << i;
}

// A latency that moves while input waits in the queue: what the old delay
// handed out stays and is analysed, then the new delay's silence is passed
// over. When it moves again before a refresh, the queue keeps one run of
// silence, from the first to the last, and what lies between goes too.
TEST(SpectrumAnalyzer, ANewDelayWithInputQueuedPassesOverItsSilenceOnly) {
  std::vector<double> x(60000);
  for (size_t i = 0; i < x.size(); ++i) x[i] = 0.4 * std::sin(0.021 * i) * std::cos(0.0007 * i);
  auto slice = [&x](int from, int to) { return std::vector<double>(x.begin() + from, x.begin() + to); };
  struct Case {
    int secondChangeAt;  // 0: the delay moves once
    std::vector<std::pair<int, int>> heard;  // the parts of x an undelayed analyser is fed
  } cases[] = {
      // 3000, then 5000 from sample 10000 on: x[0, 7000) came out of the old
      // delay, x[10000, ...) comes out of the new one.
      {0, {{0, 7000}, {10000, 40000}}},
      // Then 2000 from 17000 on: x[10000, 12000) came out between the two
      // silences and is dropped with them.
      {17000, {{0, 7000}, {17000, 45000}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.secondChangeAt);
    SpectrumAnalyzer delayed, plain;
    for (SpectrumAnalyzer* a : {&delayed, &plain}) a->SetEnabled(true);
    delayed.SetDelay(3000);
    FeedMono(delayed, slice(0, 10000), 256);
    delayed.SetDelay(5000);
    if (c.secondChangeAt == 0) {
      FeedMono(delayed, slice(10000, 45000), 999);
    } else {
      FeedMono(delayed, slice(10000, c.secondChangeAt), 999);
      delayed.SetDelay(2000);
      FeedMono(delayed, slice(c.secondChangeAt, 47000), 999);
    }
    for (const auto& part : c.heard) FeedMono(plain, slice(part.first, part.second), 512);
    Refresh(delayed);
    Refresh(plain);
    ExpectSameSpectra(delayed, plain);
  }
}

INSTANTIATE_TEST_SUITE_P(Clears, DelayRefill,
                         ::testing::Values(DelayClearCase{"Reset", DelayClear::kResetHistory, 4096},
                                           DelayClearCase{"Alloc", DelayClear::kAllocBuffers, 1},
                                           DelayClearCase{"NewDelay", DelayClear::kNewDelay, 12345},
                                           DelayClearCase{"ResetLongDelay", DelayClear::kResetHistory,
                                                          SpectrumAnalyzer::kDelayCapacity}),
                         [](const ::testing::TestParamInfo<DelayClearCase>& info) { return std::string(info.param.name); });

TEST(SpectrumAnalyzer, ResetRestartsTheAverageAtOneFrame) {
  SpectrumAnalyzer a;
  a.SetEnabled(true);
  FeedMono(a, std::vector<double>(20000, 0.5));
  Refresh(a);
  ASSERT_GT(a.AverageCount(), 2);
  a.ResetHistory();
  EXPECT_EQ(a.AverageCount(), 1);
  EXPECT_EQ(a.Filled(), 0);
  EXPECT_EQ(a.Average()[0], 0.0);
  EXPECT_EQ(a.AverageCurve()[0], 0.0);
  // One frame after the reset: the average is that frame, not a division
  // by zero.
  FeedMono(a, std::vector<double>(1025, 0.25));
  Refresh(a);
  ASSERT_EQ(a.AverageCount(), 2);
  for (int k = 0; k < a.BinCount(); ++k) {
    ASSERT_TRUE(std::isfinite(a.Average()[k])) << k;
    ASSERT_EQ(a.Average()[k], a.Magnitude()[k]) << k;
  }
}

TEST(SpectrumAnalyzer, CaptureTakenBeforeASetUpIsNotPublished) {
  SpectrumAnalyzer a;
  a.SetEnabled(true);
  FeedMono(a, std::vector<double>(3000, 0.5));
  a.AnalyzeFrames();
  ASSERT_TRUE(a.CaptureSpectra());
  a.ResetHistory();  // e.g. "Analyzer Mode" changed while the curves were mapped
  a.UpdateDisplayCurves();
  a.PublishCurves(true);
  for (int i = 0; i < a.PointCount(); ++i) ASSERT_EQ(a.MaxCurve()[i], 0.0) << i;

  // Disabled or "Hold": nothing captured or kept.
  FeedMono(a, std::vector<double>(3000, 0.5));
  a.AnalyzeFrames();
  ASSERT_TRUE(a.CaptureSpectra());
  a.UpdateDisplayCurves();
  a.PublishCurves(false);
  EXPECT_EQ(a.MaxCurve()[0], 0.0);
  a.SetEnabled(false);
  FeedMono(a, std::vector<double>(3000, 0.5));
  a.AnalyzeFrames();
  EXPECT_FALSE(a.CaptureSpectra());
}

TEST(SpectrumAnalyzer, HighResolutionKeepsTheDisplayPointersAndLevels) {
  SpectrumAnalyzer a;
  a.SetEnabled(true);
  const double* curves[3] = {a.AverageCurve(), a.SmoothedCurve(), a.MaxCurve()};
  const double* spectra[2] = {a.Average(), a.Maximum()};
  const double* freqs = a.PointFreqs();
  a.SetFftLength(32768);
  a.AllocAnalyzerBuffers();
  EXPECT_EQ(a.BinCount(), 16384);
  EXPECT_EQ(a.AverageCurve(), curves[0]);
  EXPECT_EQ(a.SmoothedCurve(), curves[1]);
  EXPECT_EQ(a.MaxCurve(), curves[2]);
  EXPECT_EQ(a.Average(), spectra[0]);
  EXPECT_EQ(a.Maximum(), spectra[1]);
  EXPECT_EQ(a.PointFreqs(), freqs);

  // A bin-centred sine peaks at A/2 x 10^0.6 with the 32768-point window.
  const int n = 32768, k0 = 3000;
  const double amplitude = 0.25;
  std::vector<double> x(2 * n + 4097);
  for (size_t i = 0; i < x.size(); ++i) x[i] = amplitude * std::cos(2.0 * kPi * k0 * i / n);
  FeedMono(a, x);
  Refresh(a);
  EXPECT_NEAR(a.Maximum()[k0], amplitude / 2.0 * std::pow(10.0, 0.6), 1e-9);

  a.SetFftLength(1000);  // not a power of two: the one below
  EXPECT_EQ(a.FftLength(), 512);
  a.SetFftLength(1 << 20);
  EXPECT_EQ(a.FftLength(), SpectrumAnalyzer::kMaxFftLength);
}

TEST(SpectrumAnalyzer, SpeedSetsTheSmoothingCoefficients) {
  SpectrumAnalyzer a;
  const double fs = 48000.0;
  a.SetSampleRate(fs);
  // k = (int)(4096 / (4 x 60)) = 17 frames per bin block.
  a.SetSpeed(1.0, 0.0, 60.0);
  EXPECT_NEAR(a.FallCoeff(), std::pow(10.0, 17.0 / (fs * -0.01)), 1e-15);
  EXPECT_EQ(a.RiseCoeff(), 0.0);
  a.SetSpeed(0.0, 0.25, 60.0);
  EXPECT_EQ(a.FallCoeff(), 0.0);
  EXPECT_NEAR(a.RiseCoeff(), std::pow(10.0, 17.0 / ((0.25 / -100.0) * fs)), 1e-15);
  a.SetSpeed(1.0, 0.0, 0.0);  // no frame rate: no division by zero
  EXPECT_TRUE(std::isfinite(a.FallCoeff()));
}
