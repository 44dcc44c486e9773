#include "dsp/convolution/SpreadConvolver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "tests/dsp/RandomSignal.h"

namespace {

using Signal = std::vector<double>;

// An impulse of n random taps whose absolute sum is 1, so that input in
// [-1, 1] gives output in [-1, 1]: the tolerances are of full scale.
Signal Impulse(int n, unsigned seed) {
  Signal h = RandomSignal(n, seed);
  double sum = 0.0;
  for (double v : h) sum += std::fabs(v);
  for (double& v : h) v /= sum;
  return h;
}

// y[t] = sum_k h[k] x[t - delay - k], directly.
Signal Direct(const Signal& x, const Signal& h, int delay) {
  Signal y(x.size(), 0.0);
  for (size_t t = 0; t < x.size(); ++t) {
    double sum = 0.0;
    for (size_t k = 0; k < h.size(); ++k) {
      const long long i = static_cast<long long>(t) - delay - static_cast<long long>(k);
      if (i >= 0) sum += h[k] * x[static_cast<size_t>(i)];
    }
    y[t] = sum;
  }
  return y;
}

// Runs the convolver over x0/x1 in calls of `block` frames (0: sizes drawn
// from 1..700), from `from` to `to`, writing into y0/y1.
void RunCalls(SpreadConvolver& c, const Signal& x0, const Signal& x1, Signal& y0, Signal& y1, int block, size_t from,
         size_t to, unsigned seed = 3) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> size(1, 700);
  Signal in0, in1;
  for (size_t at = from; at < to;) {
    const int n = static_cast<int>(std::min<size_t>(block > 0 ? block : size(rng), to - at));
    // In place, as the stage runs it.
    in0.assign(x0.begin() + at, x0.begin() + at + n);
    in1.assign(x1.begin() + at, x1.begin() + at + n);
    const double* ins[2] = {in0.data(), in1.data()};
    double* outs[2] = {in0.data(), in1.data()};
    c.Process(ins, outs, n);
    std::copy(in0.begin(), in0.end(), y0.begin() + at);
    std::copy(in1.begin(), in1.end(), y1.begin() + at);
    at += n;
  }
}

struct Case {
  int latency, length;
  bool shared;
  int block;
};

// Latencies that leave a delay in front of the impulse, lengths that end
// inside a partition, shared and distinct impulses, calls of one frame, of
// odd sizes, of many partitions, and of varying size.
TEST(SpreadConvolver, EqualsTheDirectConvolutionDelayedByTheLatency) {
  const Case cases[] = {{64, 64, false, 1},      {100, 50, true, 7},      {100, 50, false, 0},
                        {2048, 2048, true, 37},   {2048, 2048, false, 64}, {2048, 2048, false, 4096},
                        {4096, 3000, false, 512}, {4096, 4096, true, 0},   {5000, 700, false, 333}};
  for (const Case& c : cases) {
    const Signal h0 = Impulse(c.length, 11), h1 = c.shared ? h0 : Impulse(c.length, 12);
    const size_t total = static_cast<size_t>(c.latency + 3 * c.length + 5000);
    const Signal x0 = RandomSignal(static_cast<int>(total), 21), x1 = RandomSignal(static_cast<int>(total), 22);
    SpreadConvolver conv;
    ASSERT_TRUE(conv.SetImpulse(h0.data(), h1.data(), c.length, c.latency));
    EXPECT_EQ(conv.GetLatency(), c.latency);
    EXPECT_FALSE(conv.IsPlainDelay());
    Signal y0(total), y1(total);
    RunCalls(conv, x0, x1, y0, y1, c.block, 0, total);
    const Signal r0 = Direct(x0, h0, c.latency), r1 = Direct(x1, h1, c.latency);
    for (size_t t = 0; t < total; ++t) {
      ASSERT_NEAR(y0[t], r0[t], 1e-12) << c.latency << " " << c.length << " " << c.block << " t " << t;
      ASSERT_NEAR(y1[t], r1[t], 1e-12) << c.latency << " " << c.length << " " << c.block << " t " << t;
    }
  }
}

// The work of a partition is spread over the B frames after it: however
// the calls are cut, none takes more than its frames' share of the work
// (rounded up) plus one step begun while behind.
TEST(SpreadConvolver, NoCallTakesMoreThanItsFramesShareOfTheWork) {
  for (const bool shared : {true, false}) {
    const Signal h0 = Impulse(16384, 4), h1 = shared ? h0 : Impulse(16384, 5);
    SpreadConvolver conv;
    ASSERT_TRUE(conv.SetImpulse(h0.data(), h1.data(), 16384, 16384));
    const int block = conv.GetPartitionSize();
    const int64_t work = conv.GetWorkPerPartition();
    ASSERT_EQ(block, 8192);
    ASSERT_GT(work, 100 * conv.GetHeaviestStep());
    std::mt19937 rng(9);
    std::uniform_int_distribution<int> size(1, 300);
    Signal x = RandomSignal(600, 2);
    double* io[2] = {x.data(), x.data()};
    for (int call = 0; call < 3000; ++call) {
      const int n = size(rng);
      const int64_t before = conv.GetWorkDone();
      conv.Process(io, io, n);
      const int64_t done = conv.GetWorkDone() - before;
      ASSERT_LE(done, (work * n + block - 1) / block + conv.GetHeaviestStep() + 1) << call << " " << n;
    }
    EXPECT_GT(conv.GetWorkDone(), 0);
  }
}

// A unit impulse (scaled, anywhere) in both channels runs as a delay.
TEST(SpreadConvolver, PlainDelayImpulseIsADelayWithItsGain) {
  const int length = 1024, latency = 1024;
  Signal h0(length, 0.0), h1(length, 0.0);
  h0[0] = 0.5;
  h1[300] = -2.0;
  h1[301] = 1e-14;  // rounding of a transform: still a delay
  SpreadConvolver conv;
  ASSERT_TRUE(conv.SetImpulse(h0.data(), h1.data(), length, latency));
  EXPECT_TRUE(conv.IsPlainDelay());
  const size_t total = 6000;
  const Signal x0 = RandomSignal(total, 1), x1 = RandomSignal(total, 2);
  Signal y0(total), y1(total);
  RunCalls(conv, x0, x1, y0, y1, 0, 0, total);
  for (size_t t = 0; t < total; ++t) {
    ASSERT_EQ(y0[t], t >= 1024 ? 0.5 * x0[t - 1024] : 0.0) << t;
    ASSERT_EQ(y1[t], t >= 1324 ? -2.0 * x1[t - 1324] : 0.0) << t;
  }
  h1[301] = 1e-6;
  ASSERT_TRUE(conv.SetImpulse(h0.data(), h1.data(), length, latency));
  EXPECT_FALSE(conv.IsPlainDelay());
}

// A new impulse of the same layout mid-stream: from then on the output is
// the convolution with it, as if it had always been loaded (the recent
// input is convolved anew), from a delay to a full impulse and back.
TEST(SpreadConvolver, NewImpulseActsAsIfItHadAlwaysBeenLoaded) {
  const int length = 2048, latency = 2048;
  Signal delta(length, 0.0);
  delta[5] = 1.0;
  const Signal a = Impulse(length, 31), b0 = Impulse(length, 32), b1 = Impulse(length, 33);
  struct Load {
    const Signal* h0;
    const Signal* h1;
  };
  const Load loads[] = {{&delta, &delta}, {&a, &a}, {&b0, &b1}, {&delta, &delta}, {&b1, &b0}};
  const size_t stage = 7777;
  const size_t total = stage * 5;
  const Signal x0 = RandomSignal(total, 41), x1 = RandomSignal(total, 42);
  SpreadConvolver conv;
  Signal y0(total), y1(total);
  for (size_t s = 0; s < 5; ++s) {
    ASSERT_TRUE(conv.SetImpulse(loads[s].h0->data(), loads[s].h1->data(), length, latency));
    EXPECT_EQ(conv.IsPlainDelay(), loads[s].h0 == &delta) << s;
    RunCalls(conv, x0, x1, y0, y1, s % 2 ? 64 : 0, s * stage, (s + 1) * stage, static_cast<unsigned>(s));
    const Signal r0 = Direct(x0, *loads[s].h0, latency), r1 = Direct(x1, *loads[s].h1, latency);
    for (size_t t = s * stage; t < (s + 1) * stage; ++t) {
      ASSERT_NEAR(y0[t], r0[t], 1e-12) << s << " " << t;
      ASSERT_NEAR(y1[t], r1[t], 1e-12) << s << " " << t;
    }
  }
}

TEST(SpreadConvolver, ResetForgetsTheInputAndNonFiniteInputIsSilence) {
  const int length = 512, latency = 512;
  const Signal h = Impulse(length, 51);
  SpreadConvolver conv;
  ASSERT_TRUE(conv.SetImpulse(h.data(), nullptr, length, latency));
  const size_t total = 4000;
  Signal x0 = RandomSignal(total, 61), x1 = RandomSignal(total, 62);
  Signal y0(total), y1(total);
  RunCalls(conv, x0, x1, y0, y1, 100, 0, 1500);
  conv.Reset();
  // After Reset the stream starts over: earlier input never shows.
  for (size_t t = 0; t < 1500; ++t) x0[t] = x1[t] = 0.0;
  x0[2000] = std::nan("");
  x1[2100] = HUGE_VAL;
  RunCalls(conv, x0, x1, y0, y1, 100, 1500, total);
  Signal clean0 = x0, clean1 = x1;
  clean0[2000] = clean1[2100] = 0.0;
  // The reference starts at 1500 too.
  Signal from0(clean0.begin() + 1500, clean0.end()), from1(clean1.begin() + 1500, clean1.end());
  const Signal r0 = Direct(from0, h, latency), r1 = Direct(from1, h, latency);
  for (size_t t = 1500; t < total; ++t) {
    ASSERT_NEAR(y0[t], r0[t - 1500], 1e-12) << t;
    ASSERT_NEAR(y1[t], r1[t - 1500], 1e-12) << t;
  }
}

}  // namespace
