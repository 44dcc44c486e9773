#include "plugin/engine/ConvolutionStage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "dsp/convolution/ConvolutionEngine.h"
#include "dsp/convolution/ImpulseBuffer.h"
#include "plugin/engine/BandFilter.h"
#include "plugin/engine/FirImpulseBuilder.h"
#include "plugin/engine/ParamMirrors.h"
#include "tests/dsp/RandomSignal.h"

namespace {

using Signal = std::vector<double>;
constexpr double kRate = 48000.0;

// Twelve +3 dB bells from 40 Hz to 16 kHz; `mixed` puts them on every
// channel mode in turn (all, left, right, mid, side), so that both engines
// convolve and the two channels of each differ.
void SetBells(ParamMirrors& m, bool mixed) {
  for (int b = 0; b < kNumBands; ++b) {
    m.bandActive[b] = 1;
    m.bandType[b] = 0;
    m.bandChMode[b] = mixed ? b % 5 : 0;
    m.bandGain[b] = 3.0;
    m.bandQ[b] = 1.0;
    m.bandFreq[b] = 40.0 * std::pow(400.0, b / 11.0);
  }
}

struct Impulse {
  BandFilter first[kNumBands], second[kNumBands];
  FirImpulseBuilder builder;
  Impulse(const ParamMirrors& m, int mode, int factor) {
    builder.Build(first, second, m, FirImpulseBuilder::LengthFor(mode, factor), mode, factor * kRate, 2 * kRate);
  }
};

// The stage as it ran before: two engines of one partition each (a
// transform of 2L), primed with L frames of silence, the second on the
// first one's mid and side.
class OnePartitionStage {
 public:
  explicit OnePartitionStage(const FirImpulseBuilder& ir) {
    const int length = ir.GetLength();
    const double* sources[2][2] = {{ir.Left(), ir.Right()}, {ir.Mid(), ir.Side()}};
    for (int e = 0; e < 2; ++e) {
      mImpulse[e].SetNumChannels(2);
      mImpulse[e].SetLength(length);
      for (int c = 0; c < 2; ++c) std::copy(sources[e][c], sources[e][c] + length, mImpulse[e].GetSamples(c));
      mEngine[e].SetImpulse(&mImpulse[e], 2 * length, 0, 0, false, false, true);
      mEngine[e].Reset();
      mEngine[e].Add(nullptr, length, 2);
    }
  }

  void Process(const double* in0, const double* in1, double* out0, double* out1, int n) {
    const double* in[2] = {in0, in1};
    Convolve(mEngine[0], in, out0, out1, n);
    for (int i = 0; i < n; ++i) {
      const double l = out0[i], r = out1[i];
      out0[i] = (l + r) * 0.5;
      out1[i] = (l - r) * 0.5;
    }
    const double* ms[2] = {out0, out1};
    Convolve(mEngine[1], ms, out0, out1, n);
    for (int i = 0; i < n; ++i) {
      const double mid = out0[i], side = out1[i];
      out0[i] = mid + side;
      out1[i] = mid - side;
    }
  }

 private:
  static void Convolve(ConvolutionEngine& engine, const double* const* in, double* out0, double* out1, int n) {
    engine.Add(in, n, 2);
    const int k = std::min(engine.Avail(n), n);
    ASSERT_EQ(k, n);
    double** ready = engine.Get();
    std::copy(ready[0], ready[0] + n, out0);
    std::copy(ready[1], ready[1] + n, out1);
    engine.Advance(n);
  }

  ImpulseBuffer mImpulse[2];
  ConvolutionEngine mEngine[2];
};

int ExpectedLatency(int mode, int factor) {
  // Two responses in series, plus the centre of each in the linear-phase modes.
  static const int kHostRate[] = {0, 4096, 8192, 32768, 6144, 12288, 49152};
  return kHostRate[mode] * factor;
}

// Every FIR mode at every factor, in calls of 1, 37, 64, 512 and 4096
// frames, stereo and mono (one buffer for both inputs and the first
// output): the output equals the one-partition engines' to rounding.
TEST(ConvolutionStage, EqualsTheOnePartitionEnginesInEveryModeAndBlockSize) {
  const int blocks[] = {1, 37, 64, 512, 4096};
  for (int factor : {1, 2, 4}) {
    for (int mode = 1; mode <= 6; ++mode) {
      for (int b = 0; b < 5; ++b) {
        for (bool mono : {false, true}) {
          const bool mixed = (b + mono) % 2 == 0;
          ParamMirrors m;
          SetBells(m, mixed);
          const Impulse ir(m, mode, factor);
          const int length = ir.builder.GetLength();
          ConvolutionStage stage;
          stage.Init();
          stage.SetMaxBlock(4096);
          ASSERT_EQ(stage.Update(ir.builder, mode, true, true), ExpectedLatency(mode, factor));
          OnePartitionStage reference(ir.builder);

          const int total = stage.GetLatency() + length + 3000;
          const Signal x0 = RandomSignal(total, 100 + mode), x1 = RandomSignal(total, 200 + mode);
          double worst = 0.0;
          int worstAt = -1;
          Signal a0, a1, r0, r1, spare(static_cast<size_t>(blocks[b]));
          for (int at = 0; at < total; at += blocks[b]) {
            const int n = std::min(blocks[b], total - at);
            a0.assign(x0.begin() + at, x0.begin() + at + n);
            a1.assign(x1.begin() + at, x1.begin() + at + n);
            r0 = a0;
            r1 = mono ? a0 : a1;
            if (mono) {
              stage.Process(a0.data(), a0.data(), a0.data(), spare.data(), n, true, nullptr);
            } else {
              stage.Process(a0.data(), a1.data(), a0.data(), a1.data(), n, true, nullptr);
            }
            reference.Process(r0.data(), r1.data(), r0.data(), r1.data(), n);
            for (int i = 0; i < n; ++i) {
              const double d = std::max(std::fabs(a0[i] - r0[i]), mono ? 0.0 : std::fabs(a1[i] - r1[i]));
              if (d > worst) {
                worst = d;
                worstAt = at + i;
              }
            }
          }
          EXPECT_LE(worst, 1e-9) << "mode " << mode << " x" << factor << " block " << blocks[b]
                                 << (mono ? " mono" : " stereo") << " at " << worstAt;
        }
      }
    }
  }
}

// An engine whose channels no band works on runs without transforms: the
// mid/side one while every band is on left, right or both, the left/right
// one while every band is on mid or side.
TEST(ConvolutionStage, AnEngineNoBandWorksOnRunsAsADelay) {
  struct Case {
    int channelMode;
    bool leftRightDelay, midSideDelay;
  };
  const Case cases[] = {{0, false, true}, {1, false, true}, {2, false, true}, {3, true, false}, {4, true, false}};
  for (const Case& c : cases) {
    for (int mode : {2, 5}) {
      ParamMirrors m;
      m.bandActive[3] = 1;
      m.bandType[3] = 0;
      m.bandChMode[3] = c.channelMode;
      m.bandGain[3] = 6.0;
      m.bandQ[3] = 1.0;
      m.bandFreq[3] = 500.0;
      const Impulse ir(m, mode, 1);
      ConvolutionStage stage;
      stage.Init();
      stage.SetMaxBlock(512);
      stage.Update(ir.builder, mode, true, true);
      EXPECT_EQ(stage.GetEngineLR().IsPlainDelay(), c.leftRightDelay) << c.channelMode << " mode " << mode;
      EXPECT_EQ(stage.GetEngineMS().IsPlainDelay(), c.midSideDelay) << c.channelMode << " mode " << mode;
    }
  }
}

// Without bands the responses are unit impulses (scaled by the fade-out
// window's first value): the stage is a delay of exactly the latency it
// reports, two responses (and in the linear-phase modes their centres)
// long, in every mode at every factor.
TEST(ConvolutionStage, WithoutBandsIsADelayOfTheReportedLatency) {
  for (int factor : {1, 2, 4}) {
    for (int mode = 1; mode <= 6; ++mode) {
      ParamMirrors m;
      const Impulse ir(m, mode, factor);
      ConvolutionStage stage;
      stage.Init();
      stage.SetMaxBlock(4096);
      const int latency = stage.Update(ir.builder, mode, true, true);
      ASSERT_EQ(latency, ExpectedLatency(mode, factor)) << mode << " x" << factor;
      ASSERT_TRUE(stage.GetEngineLR().IsPlainDelay());
      ASSERT_TRUE(stage.GetEngineMS().IsPlainDelay());
      const int length = ir.builder.GetLength();
      const double gain = *std::max_element(ir.builder.Left(), ir.builder.Left() + length) *
                          *std::max_element(ir.builder.Mid(), ir.builder.Mid() + length);
      ASSERT_NEAR(gain, 1.0, 1e-5);
      const int total = latency + 5000;
      const Signal x = RandomSignal(total, 7);
      Signal y0(static_cast<size_t>(total)), y1(static_cast<size_t>(total));
      for (int at = 0; at < total; at += 4096) {
        const int n = std::min(4096, total - at);
        stage.Process(x.data() + at, x.data() + at, y0.data() + at, y1.data() + at, n, true, nullptr);
      }
      for (int t = 0; t < total; ++t) {
        const double expected = t >= latency ? gain * x[static_cast<size_t>(t - latency)] : 0.0;
        ASSERT_NEAR(y0[static_cast<size_t>(t)], expected, 1e-12) << mode << " x" << factor << " t " << t;
        ASSERT_NEAR(y1[static_cast<size_t>(t)], expected, 1e-12) << mode << " x" << factor << " t " << t;
      }
    }
  }
}

}  // namespace
