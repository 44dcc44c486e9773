#include "plugin/engine/SectionRunner.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "plugin/engine/BiquadSection.h"
#include "tests/plugin/engine/EngineTestSupport.h"

namespace {

uint64_t Bits(double v) {
  uint64_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

std::vector<uint64_t> Bits(const std::vector<double>& v) {
  std::vector<uint64_t> b(v.size());
  for (size_t i = 0; i < v.size(); ++i) b[i] = Bits(v[i]);
  return b;
}

// Stable sections with poles inside radius 0.95, numerators and starting
// states drawn at random, different in the two lanes.
std::vector<SectionPair> RandomChain(int count, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::vector<SectionPair> chain(static_cast<size_t>(count));
  for (SectionPair& s : chain) {
    for (int c = 0; c < 2; ++c) {
      const double radius = 0.95 * std::fabs(unit(rng)), angle = 3.0 * unit(rng);
      s.a1[c] = -2.0 * radius * std::cos(angle);
      s.a2[c] = radius * radius;
      s.b0[c] = unit(rng);
      s.b1[c] = unit(rng);
      s.b2[c] = unit(rng);
      s.x1[c] = 0.1 * unit(rng);
      s.x2[c] = 0.1 * unit(rng);
      s.y1[c] = 0.1 * unit(rng);
      s.y2[c] = 0.1 * unit(rng);
    }
  }
  return chain;
}

// The chain one frame at a time, every section in turn, as the band's own
// step computes it.
void ReferenceRun(std::vector<SectionPair>& chain, std::vector<double>& first, std::vector<double>& second) {
  std::vector<double>* channels[2] = {&first, &second};
  for (size_t i = 0; i < first.size(); ++i) {
    for (int c = 0; c < 2; ++c) {
      double v = (*channels[c])[i];
      for (SectionPair& s : chain) {
        const double x = v + kDenormalOffset;
        const double y = ((s.b1[c] * s.x1[c] + s.b0[c] * x) + s.b2[c] * s.x2[c]) - s.a1[c] * s.y1[c] -
                         s.a2[c] * s.y2[c] + kDenormalOffset;
        s.x2[c] = s.x1[c];
        s.x1[c] = x;
        s.y2[c] = s.y1[c];
        s.y1[c] = y;
        v = y;
      }
      (*channels[c])[i] = v;
    }
  }
}

std::vector<double> Noise(int n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  std::vector<double> v(static_cast<size_t>(n));
  for (double& x : v) x = dist(rng);
  return v;
}

void ExpectSameStates(const std::vector<SectionPair>& got, const std::vector<SectionPair>& want) {
  for (size_t k = 0; k < got.size(); ++k) {
    for (int c = 0; c < 2; ++c) {
      EXPECT_EQ(Bits(got[k].x1[c]), Bits(want[k].x1[c])) << "section " << k;
      EXPECT_EQ(Bits(got[k].x2[c]), Bits(want[k].x2[c])) << "section " << k;
      EXPECT_EQ(Bits(got[k].y1[c]), Bits(want[k].y1[c])) << "section " << k;
      EXPECT_EQ(Bits(got[k].y2[c]), Bits(want[k].y2[c])) << "section " << k;
    }
  }
}

class SectionRunnerVariants : public ::testing::TestWithParam<SectionKernel> {};

// Chain lengths below, at and past every variant's pass width and register
// width; blocks shorter than a pass's wavefront, as long, and longer.
TEST_P(SectionRunnerVariants, EqualsTheChainedPerSampleLoopBitForBit) {
  if (!IsSectionKernelAvailable(GetParam())) GTEST_SKIP() << "not on this processor";
  const SectionRunner run = GetSectionRunner(GetParam());
  for (int count : {1, 2, 3, 4, 5, 7, 8, 9, 12, 23, 24, 25, 31, 48, 60}) {
    for (int n : {0, 1, 2, 5, 23, 24, 25, 137, 512}) {
      std::vector<SectionPair> chain = RandomChain(count, 100u + static_cast<unsigned>(count));
      std::vector<SectionPair> reference = chain;
      // Two blocks in a row: the second starts from the states the first left.
      for (unsigned block = 0; block < 2; ++block) {
        std::vector<double> first = Noise(n, 7 + block), second = Noise(n, 70 + block);
        std::vector<double> firstWant = first, secondWant = second;
        run(chain.data(), count, first.data(), second.data(), n);
        ReferenceRun(reference, firstWant, secondWant);
        ASSERT_EQ(Bits(first), Bits(firstWant)) << count << " sections, " << n << " frames";
        ASSERT_EQ(Bits(second), Bits(secondWant)) << count << " sections, " << n << " frames";
        ExpectSameStates(chain, reference);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Variants, SectionRunnerVariants,
                         ::testing::ValuesIn(EngineTestSupport::kAllSectionKernels),
                         [](const auto& info) { return EngineTestSupport::SectionKernelName(info.param); });

// Silence after sound decays through the offsets alone; the tail must stay
// exact down to the values the offsets hold it at.
TEST_P(SectionRunnerVariants, SilenceAfterSoundStaysExact) {
  if (!IsSectionKernelAvailable(GetParam())) GTEST_SKIP() << "not on this processor";
  const SectionRunner run = GetSectionRunner(GetParam());
  std::vector<SectionPair> chain = RandomChain(24, 5);
  std::vector<SectionPair> reference = chain;
  for (int block = 0; block < 40; ++block) {
    std::vector<double> first = block < 2 ? Noise(512, 1) : std::vector<double>(512, 0.0);
    std::vector<double> second = first;
    std::vector<double> firstWant = first, secondWant = second;
    run(chain.data(), 24, first.data(), second.data(), 512);
    ReferenceRun(reference, firstWant, secondWant);
    ASSERT_EQ(Bits(first), Bits(firstWant)) << "block " << block;
    ASSERT_EQ(Bits(second), Bits(secondWant)) << "block " << block;
  }
  ExpectSameStates(chain, reference);
}

TEST(SectionRunner, TheBestVariantIsAvailableAndUnavailableOnesFallBackToIt) {
  EXPECT_TRUE(IsSectionKernelAvailable(BestSectionKernel()));
  EXPECT_TRUE(IsSectionKernelAvailable(SectionKernel::kPortable));
  for (SectionKernel k : {SectionKernel::kSse2, SectionKernel::kAvx2, SectionKernel::kAvx512}) {
    if (!IsSectionKernelAvailable(k)) {
      EXPECT_EQ(GetSectionRunner(k), GetSectionRunner(BestSectionKernel()));
    }
  }
}

}  // namespace
