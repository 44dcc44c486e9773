#include "plugin/engine/FilterBank.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "plugin/engine/BandDesign.h"
#include "plugin/engine/BandProcessing.h"
#include "tests/plugin/engine/EngineTestSupport.h"

namespace {

using EngineTestSupport::Channels;
constexpr double kRate = 48000.0;
constexpr int kMaxFrames = 8192;

// Runs the bank in blocks on buffers of exactly the block's length.
Channels RunBank(FilterBank& bank, const Channels& in, int nOut, int block, int from = 0, int to = -1) {
  const int total = static_cast<int>(in[0].size());
  if (to < 0) to = total;
  const int nIn = static_cast<int>(in.size());
  Channels out(nOut, std::vector<double>(to - from));
  for (int offset = from; offset < to; offset += block) {
    const int n = std::min(block, to - offset);
    Channels inBlock(nIn), outBlock(nOut, std::vector<double>(n));
    double* ins[2] = {nullptr, nullptr};
    double* outs[2] = {nullptr, nullptr};
    for (int c = 0; c < nIn; ++c) {
      inBlock[c].assign(in[c].begin() + offset, in[c].begin() + offset + n);
      ins[c] = inBlock[c].data();
    }
    for (int c = 0; c < nOut; ++c) outs[c] = outBlock[c].data();
    bank.ProcessChannels(ins, outs, n, nIn, nOut);
    for (int c = 0; c < nOut; ++c) std::copy(outBlock[c].begin(), outBlock[c].end(), out[c].begin() + offset - from);
  }
  return out;
}

// The zero-latency chain written out band by band on bands of its own:
// left/right bands, then mid/side bands on the mid/side signals.
Channels Reference(const ParamMirrors& m, const Channels& in) {
  BandFilter a[kNumBands], b[kNumBands];
  for (int k = 0; k < kNumBands; ++k) {
    for (BandFilter* band : {&a[k], &b[k]}) {
      DesignBand(*band, m.bandType[k], m.bandFreq[k], m.bandGain[k], m.bandQ[k], m.bandSlope[k], kRate, false);
    }
  }
  const int n = static_cast<int>(in[0].size());
  Channels out(2, std::vector<double>(n));
  for (int i = 0; i < n; ++i) {
    double l = in[0][i], r = in[1][i];
    for (int k = 0; k < kNumBands; ++k) {
      if (!m.bandActive[k]) continue;
      if (m.bandChMode[k] == 0 || m.bandChMode[k] == 1) l = ProcessBandSample(a[k], l);
      if (m.bandChMode[k] == 0 || m.bandChMode[k] == 2) r = ProcessBandSample(b[k], r);
    }
    double mid = (l + r) * 0.5, side = (l - r) * 0.5;
    for (int k = 0; k < kNumBands; ++k) {
      if (!m.bandActive[k]) continue;
      if (m.bandChMode[k] == 3) mid = ProcessBandSample(a[k], mid);
      if (m.bandChMode[k] == 4) side = ProcessBandSample(b[k], side);
    }
    out[0][i] = mid + side;
    out[1][i] = mid - side;
  }
  return out;
}

class FilterBankTest : public ::testing::Test {
 protected:
  void SetUp() override { bank.Init(kRate, kMaxFrames, 1); }
  void Redesign() {
    bank.DesignProcessBands(-1, 1);
    bank.DesignDisplayBands(-1);
  }
  void EnterFirMode(int mode) {
    m.filterMode = mode;
    bank.BuildImpulseResponse(FirImpulseBuilder::LengthFor(mode, 1), 1);
    bank.UpdateConvolution(true, true, 1);
  }

  ParamMirrors m;
  FilterBank bank{&m};
};

TEST_F(FilterBankTest, ZeroLatencyRunsLeftRightThenMidSideBands) {
  EngineTestSupport::SetPeak(m, 0, 120.0, 6.0, 0.8, 0);
  EngineTestSupport::SetPeak(m, 2, 900.0, -9.0, 2.0, 1);
  EngineTestSupport::SetPeak(m, 5, 3000.0, 4.0, 1.0, 2);
  EngineTestSupport::SetPeak(m, 7, 6000.0, 8.0, 3.0, 3);
  EngineTestSupport::SetPeak(m, 9, 250.0, -5.0, 0.5, 4);
  m.bandType[9] = 3;  // "A - Low Shelf"
  Redesign();
  const Channels in = {EngineTestSupport::Noise(6000, 1), EngineTestSupport::Noise(6000, 2)};
  const Channels out = RunBank(bank, in, 2, 137);
  const Channels expected = Reference(m, in);
  for (int c = 0; c < 2; ++c) {
    for (int i = 0; i < 6000; ++i) ASSERT_NEAR(out[c][i], expected[c][i], 1e-12) << c << " " << i;
  }
}

TEST_F(FilterBankTest, MonoZeroLatencyKeepsTheLeftChainsResult) {
  // Output 0 is the left chain, as in the FIR modes: a "Right" band is not heard.
  EngineTestSupport::SetPeak(m, 1, 1000.0, 12.0, 1.0, 2);
  Redesign();
  const std::vector<double> noise = EngineTestSupport::Noise(4000, 3);
  EXPECT_EQ(RunBank(bank, {noise}, 1, 256)[0], noise);

  m.bandChMode[1] = 1;  // "Left"
  bank.ResetProcessBands();
  const std::vector<double> left = RunBank(bank, {noise}, 1, 256)[0];
  const Channels expected = Reference(m, {noise, noise});
  for (int i = 0; i < 4000; ++i) ASSERT_NEAR(left[i], expected[0][i], 1e-12) << i;
}

TEST_F(FilterBankTest, AbOffPassesTheInputWhileTheBandsKeepRunning) {
  EngineTestSupport::SetPeak(m, 3, 500.0, 10.0, 4.0);
  Redesign();
  const Channels in = {EngineTestSupport::Noise(8000, 4), EngineTestSupport::Noise(8000, 5)};
  m.abEnabled = 0;
  const Channels dry = RunBank(bank, in, 2, 512, 0, 4000);
  for (int c = 0; c < 2; ++c) EXPECT_EQ(dry[c], std::vector<double>(in[c].begin(), in[c].begin() + 4000));
  m.abEnabled = 1;
  const Channels wet = RunBank(bank, in, 2, 512, 4000, 8000);
  const Channels expected = Reference(m, in);
  for (int c = 0; c < 2; ++c) {
    for (int i = 0; i < 4000; ++i) ASSERT_NEAR(wet[c][i], expected[c][4000 + i], 1e-12) << c << " " << i;
  }
}

struct FlipCase {
  int chMode;
  bool sideInput;  // feed pure side (left = -right) instead of right only
};

class ImpulseChannelFlip : public FilterBankTest, public ::testing::WithParamInterface<FlipCase> {};

// A band that acts on one channel of a pair makes the two impulse channels
// differ, and the engine switches between its shared-transform and its
// two-channel way of working. The channel the band does not touch must
// come through as the plain delayed input all along.
TEST_P(ImpulseChannelFlip, TheUntouchedChannelStaysExact) {
  const FlipCase c = GetParam();
  EnterFirMode(1);
  const int latency = bank.GetFirLatency();
  ASSERT_EQ(latency, 4096);
  const int total = 48000, block = 480;
  const std::vector<double> tone = EngineTestSupport::Sine(total, 440.0, kRate, 0.5);
  std::vector<double> left(total, 0.0);
  if (c.sideInput) {
    for (int i = 0; i < total; ++i) left[i] = -tone[i];
  }
  const Channels in = {left, tone};
  EngineTestSupport::SetPeak(m, 6, 440.0, 12.0, 2.0, c.chMode);
  m.bandActive[6] = 0;

  Channels out(2, std::vector<double>(total));
  for (int offset = 0; offset < total; offset += block) {
    // Toggled every 4000 frames, swapping the impulse without a reset.
    const int active = (offset / 4000) % 2;
    if (active != m.bandActive[6]) {
      m.bandActive[6] = active;
      bank.BuildImpulseResponse(FirImpulseBuilder::LengthFor(1, 1), 1);
      bank.UpdateConvolution(false, false, 1);
    }
    const Channels piece = RunBank(bank, in, 2, block, offset, offset + block);
    for (int ch = 0; ch < 2; ++ch) std::copy(piece[ch].begin(), piece[ch].end(), out[ch].begin() + offset);
  }
  for (int t = 0; t < total; ++t) {
    const double delayedRight = t >= latency ? tone[t - latency] : 0.0;
    const double delayedLeft = t >= latency ? left[t - latency] : 0.0;
    if (c.sideInput) {
      // A "Mid" band hears nothing of a pure side signal.
      ASSERT_NEAR(out[0][t], delayedLeft, 1e-6) << t;
      ASSERT_NEAR(out[1][t], delayedRight, 1e-6) << t;
    } else {
      ASSERT_NEAR(out[0][t], 0.0, 1e-9) << t;  // silent left, whatever its band does
      ASSERT_NEAR(out[1][t], delayedRight, 1e-6) << t;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Pairs, ImpulseChannelFlip,
                         ::testing::Values(FlipCase{1, false}, FlipCase{3, true}));

// The zero-latency path as it ran one frame at a time, on banks and listen
// sections of its own designed like the bank's: listen, the left/right
// pass, the mid/side round trip (only with mid/side bands) and "AB".
struct PerSampleZeroLatency {
  BandFilter first[kNumBands], second[kNumBands];
  BandListen listen;
  BandChain chain;

  void Design(const ParamMirrors& m) {
    for (int b = 0; b < kNumBands; ++b) {
      for (BandFilter* band : {&first[b], &second[b]}) {
        DesignBand(*band, m.bandType[b], m.bandFreq[b], m.bandGain[b], m.bandQ[b], m.bandSlope[b], kRate, false);
      }
    }
  }
  // While a band is listened to, the bands run on and their result is not heard.
  void Process(const ParamMirrors& m, const double* in0, const double* in1, double* out0, double* out1, int n) {
    chain.Select(m);
    for (int i = 0; i < n; ++i) {
      const double a = in0[i], b = in1[i];
      double l = a, r = b;
      chain.RunPass1(first, second, l, r);
      if (chain.HasPass2()) {
        double mid = (l + r) * 0.5, side = (l - r) * 0.5;
        chain.RunPass2(first, second, mid, side);
        l = mid + side;
        r = mid - side;
      }
      if (listen.IsActive()) {
        out0[i] = listen.Process(0, a);
        out1[i] = listen.Process(1, b);
      } else {
        out0[i] = m.abEnabled ? l : a;
        out1[i] = m.abEnabled ? r : b;
      }
    }
  }
};

uint64_t Bits(double v) {
  uint64_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

class ZeroLatencyBlocks : public FilterBankTest, public ::testing::WithParamInterface<int> {};

// Blocks of one size through a script of sound with every channel mode,
// "AB" off, a listened band, a redesign and a long silence, stereo and mono:
// the bank's output is the per-sample path's, bit for bit.
TEST_P(ZeroLatencyBlocks, EqualsThePerSampleChainBitForBit) {
  const int block = GetParam();
  EngineTestSupport::SetPeak(m, 0, 120.0, 6.0, 0.8, 0);
  EngineTestSupport::SetPeak(m, 2, 900.0, -9.0, 2.0, 1);
  EngineTestSupport::SetPeak(m, 5, 3000.0, 4.0, 1.0, 2);
  EngineTestSupport::SetPeak(m, 7, 6000.0, 8.0, 3.0, 3);
  EngineTestSupport::SetPeak(m, 9, 250.0, -5.0, 0.5, 4);
  m.bandType[2] = 1;  // "A - Low Cut"
  m.bandSlope[2] = 4;
  m.bandType[9] = 12;  // "D - Low Shelf"
  m.bandSlope[9] = 3;
  for (int nIn : {2, 1}) {
    FilterBank fresh(&m);
    fresh.Init(kRate, kMaxFrames, 1);
    PerSampleZeroLatency ref;
    ref.listen.Init(kRate);
    ref.Design(m);
    const int total = 24000;
    std::vector<double> l = EngineTestSupport::Noise(total, 11), r = EngineTestSupport::Noise(total, 12);
    for (int i = 16000; i < total; ++i) l[i] = r[i] = 0.0;
    if (nIn == 1) r = l;
    std::vector<double> want0(total), want1(total);
    for (int offset = 0; offset < total; offset += block) {
      const int n = std::min(block, total - offset);
      const int phase = offset / 4000;
      m.abEnabled = phase != 1;
      const bool listen = phase == 2;
      if (listen != fresh.GetListen().IsActive()) {
        for (BandListen* x : {&fresh.GetListen(), &ref.listen}) {
          x->Design(1500.0, 0.0, kRate);
          x->SetActive(listen);
        }
      }
      if (phase == 3 && m.bandGain[0] == 6.0) {
        m.bandGain[0] = 9.0;
        m.bandFreq[7] = 7000.0;
        fresh.DesignProcessBands(-1, 1);
        ref.Design(m);
      }
      std::vector<double> in0(l.begin() + offset, l.begin() + offset + n);
      std::vector<double> in1(r.begin() + offset, r.begin() + offset + n);
      std::vector<double> out0(n), out1(n);
      double* ins[2] = {in0.data(), in1.data()};
      double* outs[2] = {out0.data(), out1.data()};
      fresh.ProcessChannels(ins, outs, n, nIn, nIn);
      ref.Process(m, l.data() + offset, r.data() + offset, want0.data() + offset, want1.data() + offset, n);
      for (int i = 0; i < n; ++i) {
        ASSERT_EQ(Bits(out0[i]), Bits(want0[offset + i])) << nIn << " inputs, frame " << offset + i;
        if (nIn == 2) {
          ASSERT_EQ(Bits(out1[i]), Bits(want1[offset + i])) << "frame " << offset + i;
        }
      }
    }
    m.bandGain[0] = 6.0;
    m.bandFreq[7] = 6000.0;
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ZeroLatencyBlocks, ::testing::Values(1, 137, 512, 8192));

TEST_F(FilterBankTest, MonoFirPathWritesOnlyItsOwnOutput) {
  EngineTestSupport::SetPeak(m, 0, 2000.0, 6.0, 1.0);
  EnterFirMode(4);
  const std::vector<double> noise = EngineTestSupport::Noise(20000, 6);
  const std::vector<double> mono = RunBank(bank, {noise}, 1, 1000)[0];

  FilterBank stereoBank(&m);
  stereoBank.Init(kRate, kMaxFrames, 1);
  stereoBank.BuildImpulseResponse(FirImpulseBuilder::LengthFor(4, 1), 1);
  stereoBank.UpdateConvolution(true, true, 1);
  const Channels stereo = RunBank(stereoBank, {noise, noise}, 2, 1000);
  for (int i = 0; i < 20000; ++i) ASSERT_NEAR(mono[i], stereo[0][i], 1e-12) << i;
}

}  // namespace
