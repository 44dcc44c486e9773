#include "plugin/controller/ConvertWav2Capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "framework/containers/WDL_String.h"
#include "plugin/controller/ReferenceCapture.h"
#include "tests/plugin/controller/AudioFileBytes.h"
#include "tests/plugin/controller/ReferencePoints.h"

namespace {

using namespace audiofiletest;

constexpr double kPi = 3.14159265358979323846;
constexpr int kBins = 16384;
constexpr int kFrameLength = 2 * kBins;

using Channels = std::vector<std::vector<float>>;

Bytes FloatData(const Channels& ch, bool bigEndian) {
  Bytes data;
  for (size_t i = 0; i < ch[0].size(); ++i) {
    for (const std::vector<float>& c : ch) AppendFloat(data, c[i], bigEndian);
  }
  return data;
}

enum Container { kWavFloat, kAifcFloat };

Bytes MakeFile(Container container, const Channels& ch, uint32_t rate) {
  if (container == kAifcFloat) {
    AiffFields s;
    s.aifc = true;
    s.compression = "fl32";
    s.channels = static_cast<uint16_t>(ch.size());
    s.bits = 32;
    s.rate = Extended(rate);
    s.data = FloatData(ch, true);
    return MakeAiff(s);
  }
  WavFields s;
  s.tag = 3;
  s.bits = 32;
  s.channels = static_cast<uint16_t>(ch.size());
  s.rate = rate;
  s.data = FloatData(ch, false);
  return MakeWav(s);
}

// The mono stream the processor is fed: the channels' sum, the file again
// and again until at least 16384 frames have gone through.
std::vector<double> PushedStream(const Channels& ch) {
  std::vector<double> once(ch[0].size(), 0.0);
  for (const std::vector<float>& c : ch) {
    for (size_t i = 0; i < c.size(); ++i) once[i] += c[i];
  }
  std::vector<double> stream;
  do {
    stream.insert(stream.end(), once.begin(), once.end());
  } while (stream.size() < static_cast<size_t>(kBins));
  return stream;
}

// The analysis window: 4-term Blackman-Harris, normalised to sum 1, raised
// by 10^0.4.
std::vector<double> AnalysisWindow() {
  std::vector<double> w(kFrameLength);
  double sum = 0.0;
  for (int i = 0; i < kFrameLength; ++i) {
    const double p = 2.0 * kPi * i / (kFrameLength - 1);
    w[i] = 0.358750287312166 - 0.4882901074726 * std::cos(p) + 0.141279712970519 * std::cos(2 * p) -
           0.011679892244715 * std::cos(3 * p);
    sum += w[i];
  }
  for (double& v : w) v *= std::pow(10.0, 0.4) / sum;
  return w;
}

// Average magnitude of bins [first, last] over the frames a stream yields,
// by direct DFT. Frame t holds stream samples (t - 1) B .. (t + 1) B - 1
// with zeros before the start (B = 16384), so the first frame is half
// silence.
std::vector<double> AverageMagnitudes(const std::vector<double>& stream, int first, int last) {
  static const std::vector<double> w = AnalysisWindow();
  std::vector<long double> c(kFrameLength), s(kFrameLength);
  for (int j = 0; j < kFrameLength; ++j) {
    const long double a = 2.0L * 3.141592653589793238462643383279502884L * j / kFrameLength;
    c[j] = std::cos(a);
    s[j] = std::sin(a);
  }
  const int frames = static_cast<int>(stream.size() / kBins);
  std::vector<double> average;
  for (int k = first; k <= last; ++k) {
    double sum = 0.0;
    for (int t = 0; t < frames; ++t) {
      long double re = 0.0L, im = 0.0L;
      for (int n = 0; n < kFrameLength; ++n) {
        const long long at = static_cast<long long>(t - 1) * kBins + n;
        if (at < 0) continue;
        const long double x = stream[at] * w[n];
        const int j = static_cast<int>((static_cast<long long>(k) * n) % kFrameLength);
        re += x * c[j];
        im += x * s[j];
      }
      sum += static_cast<double>(std::sqrt(re * re + im * im));
    }
    average.push_back(sum / frames);
  }
  return average;
}

const double* Average(CMFFT& fft) { return reinterpret_cast<const double*>(fft.GetInfoInt(6)); }

// ---------------------------------------------------------------------------
// A steady sine on bin k: the average spectrum peaks there at the level the
// test computes.

struct SineCase {
  const char* name;
  Container container;
  std::vector<double> amplitudes;  // per channel; the processor sums them
  uint32_t rate;
  int bin;
  uint32_t frames;
  uint32_t windowFrames;
};

class CaptureOfASine : public ::testing::TestWithParam<SineCase> {};

TEST_P(CaptureOfASine, PeaksAtTheSineAtTheComputedLevel) {
  const SineCase c = GetParam();
  Channels ch;
  for (double a : c.amplitudes) {
    std::vector<float> x(c.frames);
    for (uint32_t n = 0; n < c.frames; ++n) {
      x[n] = static_cast<float>(a * std::sin(2.0 * kPi * c.bin * (n % kFrameLength) / kFrameLength));
    }
    ch.push_back(x);
  }
  ScratchFolder folder;
  const std::string path = folder.Write("sine", MakeFile(c.container, ch, c.rate));
  ASSERT_FALSE(path.empty());

  WDL_String status;
  std::unique_ptr<CMFFT> fft = ConvertWav2Capture(path.c_str(), &status, c.windowFrames);
  ASSERT_NE(fft, nullptr) << status.Get();
  EXPECT_STREQ(status.Get(), "Success!");
  EXPECT_EQ(fft->GetBinCount(), kBins);
  EXPECT_EQ(fft->GetSampleRate(), static_cast<double>(c.rate));

  const double* average = Average(*fft);
  EXPECT_EQ(std::max_element(average, average + kBins) - average, c.bin);
  const std::vector<double> stream = PushedStream(ch);
  const std::vector<double> want = AverageMagnitudes(stream, c.bin - 1, c.bin + 1);
  for (int d = -1; d <= 1; ++d) {
    EXPECT_NEAR(average[c.bin + d], want[d + 1], 1e-9 * want[1]) << "bin " << c.bin + d;
  }
  // A steady sine of amplitude A reads about A/2 x 10^0.4 = 1.256 A on its
  // bin; the half-silent first frame pulls the average below that.
  double amplitude = 0.0;
  for (double a : c.amplitudes) amplitude += a;
  EXPECT_LT(average[c.bin], 1.2560 * amplitude);
  EXPECT_GT(average[c.bin], 1.2560 * amplitude * (1.0 - 1.0 / (stream.size() / kBins)));
}

INSTANTIATE_TEST_SUITE_P(
    Files, CaptureOfASine,
    ::testing::Values(SineCase{"WavMono48k", kWavFloat, {0.5}, 48000, 137, 3 * 16384 + 1000, kCaptureWindowFrames},
                      SineCase{"WavStereo44k1InSmallWindows", kWavFloat, {0.3, 0.2}, 44100, 300, 50000, 7000},
                      SineCase{"AifcMono96kInOddWindows", kAifcFloat, {0.8}, 96000, 50, 40000, 4099},
                      // 1008 frames (63 whole periods) go through 17 times
                      // (17136 frames) for one analysed frame.
                      SineCase{"ShortFileRepeated", kWavFloat, {0.25}, 44100, 2048, 1008, kCaptureWindowFrames}),
    [](const ::testing::TestParamInfo<SineCase>& info) { return std::string(info.param.name); });

TEST(ConvertWav2Capture, WindowSizeDoesNotChangeTheSpectrum) {
  // Stereo 16-bit noise, long enough for several frames and windows; fed
  // here to a processor in one piece as the reference.
  const uint32_t frames = 3 * 16384 + 777;
  std::mt19937 random(7);
  std::uniform_int_distribution<int> sample(-32768, 32767);
  Bytes data;
  std::vector<double> left(frames), right(frames);
  for (uint32_t i = 0; i < frames; ++i) {
    const int l = sample(random), r = sample(random);
    AppendInt(data, l, 2, false);
    AppendInt(data, r, 2, false);
    left[i] = static_cast<float>(l * std::ldexp(1.0, -15));
    right[i] = static_cast<float>(r * std::ldexp(1.0, -15));
  }
  WavFields s;
  s.rate = 44100;
  s.data = data;
  ScratchFolder folder;
  const std::string path = folder.Write("noise.wav", MakeWav(s));

  CMFFT whole;
  whole.SetNumInputChannels(2);
  whole.SetSampleRate(44100.0);
  whole.SetParameter(0, kBins);
  double* in[2] = {left.data(), right.data()};
  whole.ProcessSpectrumOnly(in, nullptr, static_cast<int>(frames));

  for (const uint32_t window : {1000u, 16384u, frames, 1u << 20, 0u}) {
    WDL_String status;
    std::unique_ptr<CMFFT> fft = ConvertWav2Capture(path.c_str(), &status, window);
    ASSERT_NE(fft, nullptr) << window;
    EXPECT_EQ(std::memcmp(Average(*fft), Average(whole), kBins * sizeof(double)), 0) << "window " << window;
  }
}

struct FailureCase {
  const char* name;
  Bytes file;  // empty: no file at all
  const char* status;
};

std::vector<FailureCase> FailureCases() {
  WavFields three;
  three.channels = 3;
  three.data = Bytes(3 * 2 * 100, 0);
  WavFields empty;
  WavFields cut;
  cut.data = Bytes(400, 1);
  cut.dataSize = 4000;  // more samples promised than the file holds
  return {
      {"ThreeChannels", MakeWav(three), "Error: channel count > 2!"},
      {"NoFrames", MakeWav(empty), "Error: no frames detected!"},
      {"NotAudio", Bytes(64, 'x'), "Error: file corrupt or unsupported!"},
      {"DataCut", MakeWav(cut), "Error: file corrupt or unsupported!"},
      {"Missing", {}, "Error: file corrupt or unsupported!"},
  };
}

class ConvertWav2CaptureFails : public ::testing::TestWithParam<FailureCase> {};

TEST_P(ConvertWav2CaptureFails, ReportsWhyAndLeavesTheReference) {
  const FailureCase& c = GetParam();
  ScratchFolder folder;
  const std::string path = c.file.empty() ? folder.PathOf("missing.wav") : folder.Write("bad.wav", c.file);
  WDL_String status("Success!");
  EXPECT_EQ(ConvertWav2Capture(path.c_str(), &status), nullptr);
  EXPECT_STREQ(status.Get(), c.status);

  ReferenceCapture reference;
  const std::vector<double> f = referencetest::CapturePointFrequencies(), m(kReferencePointCount, 0.5);
  ASSERT_TRUE(reference.Set(f.data(), m.data(), kReferencePointCount));
  status.Set("Success!");
  EXPECT_FALSE(MakeReferenceFromAudioFile(path.c_str(), &reference, &status));
  EXPECT_STREQ(status.Get(), c.status);
  EXPECT_EQ(std::memcmp(reference.GetMagnitudes(), m.data(), m.size() * sizeof(double)), 0);
}

INSTANTIATE_TEST_SUITE_P(Files, ConvertWav2CaptureFails, ::testing::ValuesIn(FailureCases()),
                         [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST(ConvertWav2Capture, NullPathIsAnUnreadableFile) {
  WDL_String status;
  EXPECT_EQ(ConvertWav2Capture(nullptr, &status), nullptr);
  EXPECT_STREQ(status.Get(), "Error: file corrupt or unsupported!");
}

// ---------------------------------------------------------------------------
// References made from audio files.

Channels Noise(uint32_t frames, int channels, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> sample(-0.5f, 0.5f);
  Channels ch(channels, std::vector<float>(frames));
  for (std::vector<float>& c : ch) {
    for (float& x : c) x = sample(random);
  }
  return ch;
}

TEST(MakeReferenceFromAudioFile, PointsAreTheSameAtEveryFileRate) {
  const std::vector<double> want = referencetest::CapturePointFrequencies();
  ASSERT_EQ(want.size(), static_cast<size_t>(kReferencePointCount));
  ScratchFolder folder;
  for (const uint32_t rate : {44100u, 48000u, 96000u}) {
    const std::string path = folder.Write("noise.wav", MakeFile(kWavFloat, Noise(40000, 2, rate), rate));
    ReferenceCapture reference;
    WDL_String status;
    ASSERT_TRUE(MakeReferenceFromAudioFile(path.c_str(), &reference, &status)) << rate;
    EXPECT_STREQ(status.Get(), "Success!");
    for (int i = 0; i < kReferencePointCount; ++i) {
      ASSERT_NEAR(reference.GetFrequencies()[i], want[i], 1e-9 * want[i]) << rate << " Hz, point " << i;
      // White noise reaches every band when the file's half rate covers them.
      ASSERT_GT(reference.GetMagnitudes()[i], 0.0) << rate << " Hz, point " << i;
    }
  }
}

TEST(MakeReferenceFromAudioFile, FileWithANonFiniteSampleIsRefusedAsCorrupt) {
  // One NaN or infinite float makes every band of the spectrum non-finite:
  // nothing can be drawn from it, and the message must not say "Success!".
  const std::vector<double> f = referencetest::CapturePointFrequencies(), m(kReferencePointCount, 0.5);
  ScratchFolder folder;
  for (const Container container : {kWavFloat, kAifcFloat}) {
    for (const float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
      Channels ch = Noise(20000, 2, 3);
      ch[1][5000] = bad;
      const std::string path = folder.Write("bad.wav", MakeFile(container, ch, 44100));
      ReferenceCapture reference;
      ASSERT_TRUE(reference.Set(f.data(), m.data(), kReferencePointCount));
      WDL_String status;
      EXPECT_FALSE(MakeReferenceFromAudioFile(path.c_str(), &reference, &status)) << bad;
      EXPECT_STREQ(status.Get(), "Error: file corrupt or unsupported!") << bad;
      EXPECT_EQ(std::memcmp(reference.GetMagnitudes(), m.data(), m.size() * sizeof(double)), 0);
    }
  }
}

TEST(MakeReferenceFromAudioFile, LowRateFileClearsThePointsItCannotReach) {
  ScratchFolder folder;
  ReferenceCapture reference;
  WDL_String status;
  const std::string full = folder.Write("full.wav", MakeFile(kWavFloat, Noise(40000, 1, 1), 48000));
  ASSERT_TRUE(MakeReferenceFromAudioFile(full.c_str(), &reference, &status));

  // At 32 kHz a point is measured only when its band ends (at the next
  // point) at or below 16 kHz; the last point's band ends at itself.
  const std::string low = folder.Write("low.wav", MakeFile(kWavFloat, Noise(40000, 1, 2), 32000));
  ASSERT_TRUE(MakeReferenceFromAudioFile(low.c_str(), &reference, &status));
  const double* f = reference.GetFrequencies();
  const double* m = reference.GetMagnitudes();
  int cleared = 0;
  for (int i = 0; i < kReferencePointCount; ++i) {
    const double bandTop = i + 1 < kReferencePointCount ? f[i + 1] : f[i];
    if (bandTop <= 16000.0) {
      EXPECT_GT(m[i], 0.0) << f[i] << " Hz";
    } else {
      EXPECT_EQ(m[i], 0.0) << f[i] << " Hz";
      ++cleared;
    }
  }
  // 16, 17, 18, 19, 20 and 22.05 kHz; 15 kHz, whose band ends at 16 kHz, is measured.
  EXPECT_EQ(cleared, 6);
}

TEST(MakeReferenceFromAudioFile, SineLandsOnItsPointAtTheBandMean) {
  // bin 137 at 48 kHz: 200.68 Hz, on the point at 200 Hz, whose band takes
  // the mean of the bins from the point below (190 Hz) to the point above
  // (212 Hz), bin width (fs / 2) / 16383.
  const uint32_t rate = 48000, frames = 3 * 16384;
  const int bin = 137;
  Channels ch(1, std::vector<float>(frames));
  for (uint32_t n = 0; n < frames; ++n) {
    ch[0][n] = static_cast<float>(0.5 * std::sin(2.0 * kPi * bin * (n % kFrameLength) / kFrameLength));
  }
  ScratchFolder folder;
  const std::string path = folder.Write("sine.wav", MakeFile(kWavFloat, ch, rate));
  ReferenceCapture reference;
  WDL_String status;
  ASSERT_TRUE(MakeReferenceFromAudioFile(path.c_str(), &reference, &status));

  const std::vector<double> points = referencetest::CapturePointFrequencies();
  const int at = static_cast<int>(std::find(points.begin(), points.end(), 200.0) - points.begin());
  ASSERT_LT(at, kReferencePointCount);
  const double binWidth = rate * 0.5 / (kBins - 1);
  const int lo = static_cast<int>(points[at - 1] / binWidth);
  const int hi = static_cast<int>(points[at + 1] / binWidth);
  ASSERT_LE(lo, bin);
  ASSERT_GE(hi, bin);
  const std::vector<double> bins = AverageMagnitudes(PushedStream(ch), lo, hi);
  double mean = 0.0;
  for (double v : bins) mean += v;
  mean /= bins.size();
  EXPECT_NEAR(reference.GetMagnitudes()[at], mean, 1e-9 * mean);

  const double* m = reference.GetMagnitudes();
  const int peak = static_cast<int>(std::max_element(m, m + kReferencePointCount) - m);
  EXPECT_LE(std::abs(peak - at), 1);
  // Far from the sine only leakage remains (mostly from the half-silent
  // first frame).
  EXPECT_LT(m[at + 10], 0.05 * m[at]);
  EXPECT_LT(m[at - 10], 0.05 * m[at]);
}

}  // namespace
