#include "dsp/convolution/ConvolutionEngine.h"
#include "dsp/convolution/SplitRadixFFT.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

using Signal = std::vector<double>;

Signal Noise(int n, std::mt19937& rng) {
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  Signal x(static_cast<size_t>(n));
  for (double& v : x) v = dist(rng);
  return x;
}

// y[t] = sum_k h[k] x[t - k], the first x.size() samples.
Signal Convolve(const Signal& x, const Signal& h) {
  Signal y(x.size(), 0.0);
  for (size_t t = 0; t < x.size(); ++t) {
    double sum = 0.0;
    for (size_t k = 0; k < h.size() && k <= t; ++k) sum += h[k] * x[t - k];
    y[t] = sum;
  }
  return y;
}

Signal Delayed(const Signal& x, int delay) {
  Signal y(x.size(), 0.0);
  for (size_t t = static_cast<size_t>(delay); t < x.size(); ++t) y[t] = x[t - static_cast<size_t>(delay)];
  return y;
}

void Load(ImpulseBuffer& buffer, const std::vector<Signal>& channels) {
  buffer.SetNumChannels(static_cast<int>(channels.size()));
  size_t length = 0;
  for (const Signal& h : channels) length = std::max(length, h.size());
  buffer.SetLength(static_cast<int>(length));
  for (size_t c = 0; c < channels.size(); ++c) {
    std::fill(buffer.GetSamples(static_cast<int>(c)), buffer.GetSamples(static_cast<int>(c)) + length, 0.0);
    std::copy(channels[c].begin(), channels[c].end(), buffer.GetSamples(static_cast<int>(c)));
  }
}

// The caller's protocol of one block: Add, Avail, take min(ready, n) and put
// zeros before them, Advance. Returns the frames that were ready.
int Block(ConvolutionEngine& engine, std::vector<Signal>& input, std::vector<Signal>& output, size_t at, int n) {
  const int channels = static_cast<int>(input.size());
  const double* in[2] = {input[0].data() + at, channels > 1 ? input[1].data() + at : nullptr};
  engine.Add(in, n, channels);
  const int ready = std::min(engine.Avail(n), n);
  double** got = engine.Get();
  for (int c = 0; c < channels; ++c) {
    for (int i = 0; i < n - ready; ++i) output[c].push_back(0.0);
    for (int i = 0; i < ready; ++i) output[c].push_back(got[c][i]);
  }
  engine.Advance(ready);
  return ready;
}

// Reset and prime with one latency of zeros, then run the whole input in
// blocks of 1 .. maxBlock frames: every block must find its frames ready.
std::vector<Signal> Stream(ConvolutionEngine& engine, std::vector<Signal> input, int maxBlock, unsigned seed) {
  const int channels = static_cast<int>(input.size());
  engine.Reset();
  if (engine.GetLatency() > 0) engine.Add(nullptr, engine.GetLatency(), channels);
  std::vector<Signal> output(input.size());
  std::mt19937 rng(seed);
  size_t at = 0;
  while (at < input[0].size()) {
    const int n = std::min(static_cast<int>(rng() % static_cast<unsigned>(maxBlock)) + 1,
                           static_cast<int>(input[0].size() - at));
    EXPECT_EQ(Block(engine, input, output, at, n), n);
    at += static_cast<size_t>(n);
  }
  return output;
}

void ExpectClose(const Signal& actual, const Signal& expected, const char* what) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t t = 0; t < expected.size(); ++t) {
    ASSERT_NEAR(actual[t], expected[t], 1e-11) << what << " sample " << t;
  }
}

struct EngineCase {
  const char* name;
  int impulseChannels;
  bool identicalImpulse;
  bool keepChannels;
  int inputChannels;
  bool identicalInput;
  int impulseLength;
  int fftSize;  // 0 or less: chosen by the engine
  bool direct;
  int maxBlock;
  bool silences;  // silent stretches in the input and a silent partition in the impulse
};

class ConvolutionAgainstDirect : public ::testing::TestWithParam<EngineCase> {};

// The engine's output is the direct convolution of the input with the
// impulse, delayed by exactly the latency, in every channel mode.
TEST_P(ConvolutionAgainstDirect, EqualsDelayedDirectConvolution) {
  const EngineCase c = GetParam();
  std::mt19937 rng(12345);
  std::vector<Signal> impulse;
  for (int i = 0; i < c.impulseChannels; ++i) {
    impulse.push_back(c.identicalImpulse && i > 0 ? impulse[0] : Noise(c.impulseLength, rng));
  }
  if (c.silences) {
    const int from = c.impulseLength / 3, to = 2 * c.impulseLength / 3;
    for (Signal& h : impulse) std::fill(h.begin() + from, h.begin() + to, 0.0);
    impulse[0][static_cast<size_t>(from + 1)] = 1e-16;  // below the silence threshold
  }
  ImpulseBuffer buffer;
  Load(buffer, impulse);

  const int length = 4000;
  std::vector<Signal> input;
  for (int i = 0; i < c.inputChannels; ++i) {
    input.push_back(c.identicalInput && i > 0 ? input[0] : Noise(length, rng));
  }
  if (c.silences) {
    for (Signal& x : input) {
      std::fill(x.begin() + 500, x.begin() + 1700, 0.0);
      std::fill(x.begin() + 2500, x.begin() + 2600, 0.0);
    }
  }

  ConvolutionEngine engine;
  const int latency = engine.SetImpulse(&buffer, c.fftSize, 0, 0, c.direct, c.keepChannels, true);
  if (c.direct) {
    EXPECT_EQ(latency, 0);
  } else {
    EXPECT_EQ(latency, engine.GetFFTSize() / 2);
    EXPECT_GE(engine.GetFFTSize(), 2);
  }
  const int storedChannels = c.impulseChannels == 2 && c.identicalImpulse && !c.keepChannels ? 1 : c.impulseChannels;
  EXPECT_EQ(engine.GetImpulseChannelCount(), storedChannels);

  const std::vector<Signal> output = Stream(engine, input, c.maxBlock, 99);
  for (int ch = 0; ch < c.inputChannels; ++ch) {
    const Signal& h = impulse[static_cast<size_t>(std::min(ch, c.impulseChannels - 1))];
    ExpectClose(output[static_cast<size_t>(ch)], Delayed(Convolve(input[static_cast<size_t>(ch)], h), latency),
                c.name);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ConvolutionAgainstDirect,
    ::testing::Values(
        EngineCase{"two impulse channels", 2, false, false, 2, false, 150, 64, false, 100, false},
        EngineCase{"identical channels stored once (pair mode)", 2, true, false, 2, false, 300, 128, false, 70, false},
        EngineCase{"identical channels kept", 2, true, true, 2, false, 300, 128, false, 70, false},
        EngineCase{"mono impulse, stereo input (pair mode)", 1, false, false, 2, false, 100, -1, false, 33, true},
        EngineCase{"mono input", 2, false, false, 2, true, 200, 64, false, 50, true},
        EngineCase{"mono impulse, mono input", 1, false, false, 1, false, 1000, 256, false, 300, true},
        EngineCase{"stereo impulse, one input channel", 2, false, false, 1, false, 90, 32, false, 40, false},
        EngineCase{"one partition, as the equaliser uses it", 2, false, false, 2, false, 1024, 2048, false, 512, true},
        EngineCase{"blocks longer than a partition", 1, false, false, 2, false, 77, 32, false, 200, false},
        EngineCase{"direct, two channels", 2, false, false, 2, false, 40, 0, true, 64, false},
        EngineCase{"direct, mono impulse", 1, false, false, 2, false, 25, 0, true, 64, true}),
    [](const ::testing::TestParamInfo<EngineCase>& info) { return "Case" + std::to_string(info.index); });

// Mono input that starts on a silent partition: the silent slot (never
// transformed) is shared with channel 1, so channel 1's flag for it must
// say silent, or channel 1 would later multiply stale data when the inputs
// part again.
TEST(ConvolutionEngine, SilentSharedPartitionIsNotUsedByTheSecondChannel) {
  std::mt19937 rng(4);
  const int half = 32;
  const std::vector<Signal> impulse = {Noise(3 * half, rng), Noise(3 * half, rng)};  // three partitions
  ImpulseBuffer buffer;
  Load(buffer, impulse);
  // Differing inputs, three silent partitions on both, differing inputs again.
  std::vector<Signal> input = {Noise(20 * half, rng), Noise(20 * half, rng)};
  for (Signal& x : input) std::fill(x.begin() + 6 * half, x.begin() + 9 * half, 0.0);

  ConvolutionEngine engine;
  ASSERT_EQ(engine.SetImpulse(&buffer, 2 * half, 0, 0, false, false, true), half);
  engine.Reset();
  engine.Add(nullptr, half, 2);
  std::vector<Signal> output(2);
  for (size_t at = 0; at < input[0].size(); at += half) ASSERT_EQ(Block(engine, input, output, at, half), half);
  for (int ch = 0; ch < 2; ++ch) {
    ExpectClose(output[static_cast<size_t>(ch)], Delayed(Convolve(input[static_cast<size_t>(ch)], impulse[static_cast<size_t>(ch)]), half),
                ch ? "channel 1" : "channel 0");
  }
}

TEST(ConvolutionEngine, OffsetAndMaxLengthSelectPartOfTheImpulse) {
  std::mt19937 rng(8);
  const Signal full = Noise(300, rng);
  ImpulseBuffer buffer;
  Load(buffer, {full});
  ConvolutionEngine engine;
  const int latency = engine.SetImpulse(&buffer, 64, 50, 120, false, false, true);
  EXPECT_EQ(engine.GetImpulseLength(), 120);
  const std::vector<Signal> input = {Noise(1000, rng)};
  const std::vector<Signal> output = Stream(engine, input, 40, 1);
  const Signal part(full.begin() + 50, full.begin() + 170);
  ExpectClose(output[0], Delayed(Convolve(input[0], part), latency), "offset");
}

TEST(ConvolutionEngine, TransformSizeChoiceAndRefusal) {
  struct Case { int impulseLength; int fftSize; int chosen; };
  const Case cases[] = {
      {10, 0, 32},         // at least 32
      {100, -1, 256},      // the smallest holding twice the impulse
      {1000, -20, 64},     // limit -2 x fftSize = 40: doubling stops above it
      {1000, -512, 1024},  // limit 1024
      {300000, 0, 1 << 19},  // never above the largest transform
      {100, 4096, 4096},   // explicit
  };
  for (const Case& c : cases) {
    ImpulseBuffer buffer;
    buffer.SetLength(c.impulseLength);
    buffer.GetSamples(0)[0] = 1.0;
    ConvolutionEngine engine;
    EXPECT_EQ(engine.SetImpulse(&buffer, c.fftSize, 0, 0, false, false, true), c.chosen / 2);
    EXPECT_EQ(engine.GetFFTSize(), c.chosen) << c.impulseLength << " " << c.fftSize;
  }

  // A size the transform cannot take changes nothing.
  ImpulseBuffer buffer;
  buffer.SetLength(50);
  buffer.GetSamples(0)[0] = 1.0;
  ConvolutionEngine engine;
  ASSERT_EQ(engine.SetImpulse(&buffer, 128, 0, 0, false, false, true), 64);
  for (int bad : {1000, 3, 1, 1 << 20}) {
    EXPECT_EQ(engine.SetImpulse(&buffer, bad, 0, 0, false, false, true), -1) << bad;
    EXPECT_EQ(engine.GetFFTSize(), 128);
  }
}

TEST(ConvolutionEngine, NothingIsReadyBeforeAddOrBeforeHalfATransform) {
  ImpulseBuffer buffer;
  buffer.SetLength(20);
  buffer.GetSamples(0)[3] = 0.5;
  ConvolutionEngine engine;
  EXPECT_EQ(engine.Avail(10), 0);
  EXPECT_EQ(engine.Get()[0], nullptr);
  EXPECT_EQ(engine.Get()[1], nullptr);
  ASSERT_EQ(engine.SetImpulse(&buffer, 64, 0, 0, false, false, true), 32);
  EXPECT_EQ(engine.Avail(10), 0);
  double x[32] = {1.0};
  const double* in[1] = {x};
  engine.Add(in, 31, 1);
  EXPECT_EQ(engine.Avail(31), 0);
  engine.Add(in, 1, 1);
  EXPECT_EQ(engine.Avail(32), 32);
  EXPECT_NE(engine.Get()[0], nullptr);
  EXPECT_EQ(engine.Get()[1], nullptr);
}

TEST(ConvolutionEngine, NegligibleImpulseGivesSilence) {
  ImpulseBuffer buffer;
  buffer.SetNumChannels(2);
  buffer.SetLength(100);
  for (int c = 0; c < 2; ++c) {
    for (int i = 0; i < 100; ++i) buffer.GetSamples(c)[i] = (i % 2 ? 1e-15 : -1e-16);
  }
  buffer.GetSamples(1)[0] = 0.0;  // keep the channels distinct
  ConvolutionEngine engine;
  engine.SetImpulse(&buffer, 64, 0, 0, false, false, true);
  std::mt19937 rng(2);
  const std::vector<Signal> output = Stream(engine, {Noise(500, rng), Noise(500, rng)}, 64, 3);
  for (const Signal& y : output) {
    for (double v : y) ASSERT_EQ(v, 0.0);
  }
}

TEST(ConvolutionEngine, WithoutImpulseInputPassesThrough) {
  ConvolutionEngine engine;
  std::mt19937 rng(6);
  const std::vector<Signal> input = {Noise(300, rng), Noise(300, rng)};
  ExpectClose(Stream(engine, input, 50, 4)[1], input[1], "no impulse");

  ImpulseBuffer empty;
  EXPECT_EQ(engine.SetImpulse(&empty, 64, 0, 0, false, false, true), 32);
  EXPECT_EQ(engine.GetImpulseLength(), 0);
  std::vector<Signal> output(2);
  std::vector<Signal> copy = input;
  engine.Reset();
  for (size_t at = 0; at < 300; at += 30) Block(engine, copy, output, at, 30);
  ExpectClose(output[0], input[0], "empty impulse");
}

// A new transform size without ResetChannelCount: the histories are rebuilt
// for it instead of being indexed past their ends.
TEST(ConvolutionEngine, NewTransformSizeRebuildsHistories) {
  std::mt19937 rng(10);
  const Signal a = Noise(60, rng), b = Noise(700, rng);
  ImpulseBuffer buffer;
  Load(buffer, {a});
  ConvolutionEngine engine;
  engine.SetImpulse(&buffer, 64, 0, 0, false, false, true);
  const std::vector<Signal> input = {Noise(2000, rng), Noise(2000, rng)};
  Stream(engine, input, 64, 5);
  Load(buffer, {b});
  const int latency = engine.SetImpulse(&buffer, 512, 0, 0, false, false, true);
  const std::vector<Signal> output = Stream(engine, input, 300, 6);
  for (int ch = 0; ch < 2; ++ch) {
    ExpectClose(output[static_cast<size_t>(ch)], Delayed(Convolve(input[static_cast<size_t>(ch)], b), latency), "after resize");
  }
}

// Going from one to two channels pads the new channel so both come out
// aligned; once the impulse has passed, both are exact again.
TEST(ConvolutionEngine, ChannelCountChangeKeepsChannelsAligned) {
  std::mt19937 rng(12);
  const Signal h = Noise(50, rng);
  ImpulseBuffer buffer;
  Load(buffer, {h});
  ConvolutionEngine engine;
  const int latency = engine.SetImpulse(&buffer, 128, 0, 0, false, false, true);
  const Signal x = Noise(3000, rng);
  engine.Reset();
  engine.Add(nullptr, latency, 1);
  std::vector<Signal> mono = {x};
  std::vector<Signal> monoOut(1);
  size_t at = 0;
  for (; at < 1000; at += 50) ASSERT_EQ(Block(engine, mono, monoOut, at, 50), 50);
  std::vector<Signal> stereo = {x, x};
  std::vector<Signal> stereoOut(2);
  for (; at < x.size(); at += 50) ASSERT_EQ(Block(engine, stereo, stereoOut, at, 50), 50);

  const Signal expected = Delayed(Convolve(x, h), latency);
  const size_t settled = static_cast<size_t>(latency) + h.size() + 128;
  for (size_t t = settled; t < stereoOut[0].size(); ++t) {
    ASSERT_NEAR(stereoOut[0][t], expected[1000 + t], 1e-11) << t;
    ASSERT_NEAR(stereoOut[1][t], expected[1000 + t], 1e-11) << t;
  }
}

// A longer direct impulse without clearing: the kept history stays where
// it is in time and the missing part counts as silence before it.
TEST(ConvolutionEngine, DirectImpulseGrowthKeepsHistoryInPlace) {
  std::mt19937 rng(14);
  const Signal shortH = Noise(5, rng), longH = Noise(20, rng);
  const Signal x = Noise(200, rng);
  ImpulseBuffer buffer;
  Load(buffer, {shortH});
  ConvolutionEngine engine;
  ASSERT_EQ(engine.SetImpulse(&buffer, 0, 0, 0, true, false, true), 0);
  std::vector<Signal> in = {x};
  std::vector<Signal> out(1);
  for (size_t at = 0; at < 100; at += 25) Block(engine, in, out, at, 25);
  Load(buffer, {longH});
  engine.SetImpulse(&buffer, 0, 0, 0, true, false, false);
  for (size_t at = 100; at < 200; at += 25) Block(engine, in, out, at, 25);

  // The history kept across the change is the last 5 samples before 100.
  Signal seen = x;
  std::fill(seen.begin(), seen.begin() + 95, 0.0);
  const Signal expectedAfter = Convolve(seen, longH);
  const Signal expectedBefore = Convolve(x, shortH);
  for (size_t t = 0; t < 100; ++t) ASSERT_NEAR(out[0][t], expectedBefore[t], 1e-12) << t;
  for (size_t t = 100; t < 200; ++t) ASSERT_NEAR(out[0][t], expectedAfter[t], 1e-12) << t;
}

}  // namespace

namespace {

uint64_t Bits(double v) {
  uint64_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

}  // namespace

// Two channels with impulses of their own, through stretches of sound,
// silence (skipped partitions), one channel silent and both channels equal
// (the shared transform), in blocks of every size: taking the transforms
// together gives each channel exactly what one channel after the other
// gives.
TEST(ConvolutionEngine, ChannelLanesGiveTheOneByOneResultBitForBit) {
  std::mt19937 rng(17);
  for (int impulseLength : {100, 1500, 5000}) {
    ImpulseBuffer impulse;
    Load(impulse, {Noise(impulseLength, rng), Noise(impulseLength, rng)});
    ConvolutionEngine lanes, oneByOne;
    oneByOne.SetChannelLanes(false);
    for (ConvolutionEngine* e : {&lanes, &oneByOne}) {
      e->SetImpulse(&impulse, -1, 0, 0, false, true, true);
      e->Reset();
      e->Add(nullptr, e->GetLatency(), 2);
    }
    const int total = 60000;
    Signal left = Noise(total, rng), right = Noise(total, rng);
    for (int t = 0; t < total; ++t) {
      const int part = t / 10000;
      if (part == 1) left[t] = right[t] = 0.0;
      if (part == 2) right[t] = 0.0;
      if (part == 3) right[t] = left[t];
    }
    const int blocks[] = {512, 1, 4096, 137, 3000};
    for (int t = 0, call = 0; t < total; ++call) {
      const int n = std::min(blocks[call % 5], total - t);
      const double* in[2] = {left.data() + t, right.data() + t};
      for (ConvolutionEngine* e : {&lanes, &oneByOne}) e->Add(in, n, 2);
      const int ready = lanes.Avail(n);
      ASSERT_EQ(ready, oneByOne.Avail(n)) << "length " << impulseLength << ", at " << t;
      double** a = lanes.Get();
      double** b = oneByOne.Get();
      for (int c = 0; c < 2; ++c) {
        for (int i = 0; i < std::min(ready, n); ++i) {
          ASSERT_EQ(Bits(a[c][i]), Bits(b[c][i])) << "length " << impulseLength << ", channel " << c << ", frame "
                                                  << t + i;
        }
      }
      lanes.Advance(std::min(ready, n));
      oneByOne.Advance(std::min(ready, n));
      t += n;
    }
  }
}

namespace {

// One channel's partitioned overlap-add convolution written out plainly
// (the portable transform, plain loops, the engine's partition, scaling and
// flush rules): the reference for the pair mode, where one impulse serves
// two channels in one complex transform.
double PlainFlush(double v) { return std::isfinite(v) && std::fabs(v) >= std::ldexp(1.0, -54) ? v : 0.0; }

std::vector<Signal> PlainPairConvolution(const Signal& h, int fftSize, const Signal& left, const Signal& right) {
  using SplitRadixFFT::FFTKernel;
  const int half = fftSize / 2;
  const int parts = static_cast<int>((h.size() + half - 1) / half);
  std::vector<Signal> impulse(static_cast<size_t>(parts), Signal(2 * static_cast<size_t>(fftSize), 0.0));
  for (int b = 0; b < parts; ++b) {
    for (int i = 0; i < half && b * half + i < static_cast<int>(h.size()); ++i) {
      impulse[b][2 * i] = PlainFlush(h[b * half + i] * (1.0 / fftSize));
    }
    SplitRadixFFT::RunFFTWith(FFTKernel::kPortable, impulse[b].data(), fftSize, 0);
  }
  std::vector<Signal> spectra;
  Signal tailL(half, 0.0), tailR(half, 0.0);
  std::vector<Signal> out(2);
  for (size_t start = 0; start + half <= left.size(); start += half) {
    Signal x(2 * static_cast<size_t>(fftSize), 0.0);
    for (int i = 0; i < half; ++i) {
      x[2 * i] = PlainFlush(left[start + i]);
      x[2 * i + 1] = PlainFlush(right[start + i]);
    }
    SplitRadixFFT::RunFFTWith(FFTKernel::kPortable, x.data(), fftSize, 0);
    spectra.push_back(x);
    // Newest partition first, each product added to those before it.
    Signal work(x.size(), 0.0);
    for (int b = 0; b < parts && b < static_cast<int>(spectra.size()); ++b) {
      const Signal& hb = impulse[b];
      const Signal& xb = spectra[spectra.size() - 1 - b];
      for (int k = 0; k < fftSize; ++k) {
        const double re = hb[2 * k] * xb[2 * k] - hb[2 * k + 1] * xb[2 * k + 1];
        const double im = hb[2 * k] * xb[2 * k + 1] + hb[2 * k + 1] * xb[2 * k];
        work[2 * k] = b == 0 ? re : work[2 * k] + re;
        work[2 * k + 1] = b == 0 ? im : work[2 * k + 1] + im;
      }
    }
    SplitRadixFFT::RunFFTWith(FFTKernel::kPortable, work.data(), fftSize, 1);
    for (int j = 0; j < half; ++j) {
      out[0].push_back(work[2 * j] + tailL[j]);
      out[1].push_back(work[2 * j + 1] + tailR[j]);
      tailL[j] = work[2 * (half + j)];
      tailR[j] = work[2 * (half + j) + 1];
    }
  }
  return out;
}

// One impulse for two different channels, in blocks that leave partitions
// straddling the input queue's blocks, with tiny and huge samples for the
// flush: every output sample is the plain reference's, bit for bit, with
// one partition (the linear-phase modes' layout) and with several.
TEST(ConvolutionEngine, PairModeEqualsAPlainPartitionedConvolutionBitForBit) {
  std::mt19937 rng(31);
  struct Case { int impulseLength; int fftSize; };
  for (const Case& c : {Case{4096, 8192}, Case{1000, 256}, Case{300, 64}}) {
    ImpulseBuffer impulse;
    const Signal h = Noise(c.impulseLength, rng);
    Load(impulse, {h});
    ConvolutionEngine engine;
    ASSERT_EQ(engine.SetImpulse(&impulse, c.fftSize), c.fftSize / 2);
    const int total = 40000;
    Signal left = Noise(total, rng), right = Noise(total, rng);
    for (int t = 0; t < total; t += 97) left[t] = t % 2 ? 1e-17 : std::numeric_limits<double>::infinity();
    for (int t = 0; t < total; t += 89) right[t] = t % 2 ? -3e-300 : 1e300;
    const std::vector<Signal> want = PlainPairConvolution(h, c.fftSize, left, right);
    std::vector<Signal> got(2);
    const int blocks[] = {512, 1, 4096, 137, 3000, 8191};
    for (int t = 0, call = 0; t < total; ++call) {
      const int n = std::min(blocks[call % 6], total - t);
      const double* in[2] = {left.data() + t, right.data() + t};
      engine.Add(in, n, 2);
      const int ready = engine.Avail(n);
      double** out = engine.Get();
      for (int ch = 0; ch < 2; ++ch) got[ch].insert(got[ch].end(), out[ch], out[ch] + ready);
      engine.Advance(ready);
      t += n;
    }
    for (int ch = 0; ch < 2; ++ch) {
      ASSERT_EQ(got[ch].size(), want[ch].size()) << c.fftSize;
      for (size_t t = 0; t < want[ch].size(); ++t) {
        ASSERT_EQ(Bits(got[ch][t]), Bits(want[ch][t])) << "size " << c.fftSize << ", channel " << ch << ", " << t;
      }
    }
  }
}

}  // namespace
