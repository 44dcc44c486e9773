#include "plugin/engine/BandCascade.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "plugin/engine/BandChain.h"
#include "plugin/engine/BandDesign.h"
#include "plugin/engine/BandTypes.h"
#include "tests/plugin/engine/EngineTestSupport.h"

namespace {

constexpr double kRate = 48000.0;

uint64_t Bits(double v) {
  uint64_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

std::vector<double> Noise(int n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  std::vector<double> v(static_cast<size_t>(n));
  for (double& x : v) x = dist(rng);
  return v;
}

// Two copies of the same two banks: the cascade runs one a block at a time,
// the chain's own per-sample loop runs the other.
struct TwinBanks {
  BandFilter first[kNumBands], second[kNumBands];
  BandFilter refFirst[kNumBands], refSecond[kNumBands];

  void Design(const ParamMirrors& m, bool noCorrection) {
    for (BandFilter* bank : {first, second, refFirst, refSecond}) {
      for (int b = 0; b < kNumBands; ++b) {
        DesignBand(bank[b], m.bandType[b], m.bandFreq[b], m.bandGain[b], m.bandQ[b], m.bandSlope[b], kRate,
                   noCorrection);
      }
    }
  }
  void Reset() {
    for (BandFilter* bank : {first, second, refFirst, refSecond}) {
      for (int b = 0; b < kNumBands; ++b) ResetBand(bank[b]);
    }
  }
};

// Sound, a redesign between blocks, sound, then a long silence, in blocks
// of 1, 137, 512 and longer; both passes. Returns the first mismatch found.
std::string CompareRun(const ParamMirrors& start, SectionKernel kernel, bool noCorrection) {
  static const int kBlocks[] = {1, 137, 512, 1, 3000, 64};
  ParamMirrors m = start;
  TwinBanks banks;
  banks.Design(m, noCorrection);
  BandCascade cascade;
  cascade.SetKernel(kernel);
  BandChain chain;
  const int kSound = 2600, kSilence = 4000;
  const int total = 2 * kSound + kSilence;
  std::vector<double> l = Noise(total, 1), r = Noise(total, 2);
  for (int i = 2 * kSound; i < total; ++i) l[i] = r[i] = 0.0;
  for (int pass = 1; pass <= 2; ++pass) {
    std::vector<double> a = l, b = r, wantA = l, wantB = r, scratch(3000);
    int offset = 0;
    for (size_t k = 0; offset < total; ++k) {
      if (offset >= kSound && m.bandGain[4] == start.bandGain[4]) {
        // A drag on the band under test: redesigned, states kept.
        m.bandGain[4] += 2.5;
        m.bandFreq[4] *= 1.1;
        banks.Design(m, noCorrection);
      }
      const int n = std::min(kBlocks[k % 6], total - offset);
      chain.Select(m);
      cascade.Run(chain, pass, banks.first, banks.second, a.data() + offset, b.data() + offset, scratch.data(), n);
      for (int i = offset; i < offset + n; ++i) {
        if (pass == 1) {
          chain.RunPass1(banks.refFirst, banks.refSecond, wantA[i], wantB[i]);
        } else {
          chain.RunPass2(banks.refFirst, banks.refSecond, wantA[i], wantB[i]);
        }
      }
      offset += n;
    }
    for (int i = 0; i < total; ++i) {
      if (Bits(a[i]) != Bits(wantA[i]) || Bits(b[i]) != Bits(wantB[i])) {
        return "pass " + std::to_string(pass) + ", frame " + std::to_string(i);
      }
    }
    m = start;
    banks.Reset();
    banks.Design(m, noCorrection);
  }
  return "";
}

// Around the band under test (band 4): an "All" peak before it, a "Left"
// shelf and a "Right" peak after it and a "Side" peak in the second pass, so
// that the two channels' lists differ and pair across bands.
ParamMirrors Mix(int type, int slope, int chMode) {
  ParamMirrors m;
  const struct {
    int band, type, chMode;
    double freq, gain, q;
  } kOthers[] = {{0, kTypeAPeak, kChannelAll, 90.0, 4.0, 0.8},
                 {7, kTypeALowShelf, kChannelLeft, 300.0, -3.0, 0.7},
                 {8, kTypeAPeak, kChannelRight, 5000.0, 6.0, 2.0},
                 {10, kTypeAPeak, kChannelSide, 2000.0, -5.0, 1.0}};
  for (const auto& o : kOthers) {
    m.bandActive[o.band] = 1;
    m.bandType[o.band] = o.type;
    m.bandChMode[o.band] = o.chMode;
    m.bandFreq[o.band] = o.freq;
    m.bandGain[o.band] = o.gain;
    m.bandQ[o.band] = o.q;
  }
  m.bandActive[4] = 1;
  m.bandType[4] = type;
  m.bandSlope[4] = slope;
  m.bandChMode[4] = chMode;
  m.bandFreq[4] = 1200.0;
  m.bandGain[4] = 7.0;
  m.bandQ[4] = 1.3;
  return m;
}

class BandCascadeTypes : public ::testing::TestWithParam<int> {};

// Every type, slope and channel mode, with the correction of the 1x process
// banks and without it (oversampled, display and impulse banks).
TEST_P(BandCascadeTypes, EqualsThePerSampleChainBitForBit) {
  const int type = GetParam();
  for (int slope : {0, 1, 2, 7, 15}) {
    if (!BandTypeUsesSlope(type) && slope != 0) continue;
    for (int chMode = kChannelAll; chMode <= kChannelSide; ++chMode) {
      for (bool noCorrection : {false, true}) {
        if (noCorrection && type != kTypeAPeak) continue;
        EXPECT_EQ(CompareRun(Mix(type, slope, chMode), BestSectionKernel(), noCorrection), "")
            << "type " << type << ", slope " << slope << ", channel mode " << chMode;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllTypes, BandCascadeTypes, ::testing::Range(0, static_cast<int>(kNumOfferedBandTypes)));

struct MixCase {
  const char* name;
  // type, channel mode, slope, solo per band; bands past the list are off.
  struct Band {
    int type, chMode, slope, solo;
  } bands[kNumBands];
  int count;
};

const MixCase kMixes[] = {
    {"TwelvePeaks", {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0},
                     {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}, 12},
    {"EveryKindOnBothChannels", {{1, 0, 4, 0}, {2, 0, 2, 0}, {6, 0, 0, 0}, {7, 0, 15, 0}, {8, 0, 9, 0},
                                 {9, 0, 3, 0}, {10, 0, 5, 0}, {14, 0, 2, 0}, {5, 0, 0, 0}, {0, 0, 0, 0},
                                 {15, 0, 1, 0}, {13, 0, 7, 0}}, 12},
    {"LeftRightAndMidSide", {{0, 1, 0, 0}, {2, 2, 2, 0}, {0, 1, 0, 0}, {11, 2, 3, 0}, {0, 3, 0, 0},
                             {1, 4, 1, 0}, {6, 1, 0, 0}, {0, 2, 0, 0}, {8, 3, 6, 0}, {0, 4, 0, 0},
                             {7, 1, 11, 0}, {9, 4, 2, 0}}, 12},
    {"OneSoloedAmongMany", {{0, 0, 0, 0}, {1, 0, 3, 0}, {0, 1, 0, 1}, {0, 2, 0, 0}, {7, 0, 8, 0},
                            {0, 3, 0, 0}}, 6},
    {"OnlyTheLeftChannel", {{0, 1, 0, 0}, {7, 1, 15, 0}, {2, 1, 1, 0}, {10, 1, 4, 0}, {6, 1, 0, 0}}, 5},
};

class BandCascadeMixes : public ::testing::TestWithParam<std::tuple<MixCase, SectionKernel>> {};

// Mixes through every runner variant the processor has.
TEST_P(BandCascadeMixes, EqualsThePerSampleChainBitForBit) {
  const MixCase& mix = std::get<0>(GetParam());
  const SectionKernel kernel = std::get<1>(GetParam());
  if (!IsSectionKernelAvailable(kernel)) GTEST_SKIP() << "not on this processor";
  ParamMirrors m;
  for (int b = 0; b < mix.count; ++b) {
    m.bandActive[b] = 1;
    m.bandType[b] = mix.bands[b].type;
    m.bandChMode[b] = mix.bands[b].chMode;
    m.bandSlope[b] = mix.bands[b].slope;
    m.bandSolo[b] = mix.bands[b].solo;
    m.bandFreq[b] = 40.0 * std::pow(400.0, b / 11.0);
    m.bandGain[b] = b % 2 ? -4.0 : 3.0;
    m.bandQ[b] = 0.5 + 0.2 * b;
  }
  // Band 4 is the one the run redesigns: make it act in every mix.
  if (mix.count <= 4) m.bandActive[4] = 1;
  EXPECT_EQ(CompareRun(m, kernel, false), "");
}

INSTANTIATE_TEST_SUITE_P(Mixes, BandCascadeMixes,
                         ::testing::Combine(::testing::ValuesIn(kMixes),
                                            ::testing::ValuesIn(EngineTestSupport::kAllSectionKernels)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_" +
                                  EngineTestSupport::SectionKernelName(std::get<1>(info.param));
                         });

}  // namespace
