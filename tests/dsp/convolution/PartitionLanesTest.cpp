#include "dsp/convolution/PartitionLanes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

std::vector<uint64_t> Bits(const std::vector<double>& v) {
  std::vector<uint64_t> bits(v.size());
  if (!v.empty()) std::memcpy(bits.data(), v.data(), sizeof(double) * v.size());
  return bits;
}

// Noise with the values the flush must catch or keep scattered through it.
std::vector<double> Samples(int n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  const double specials[] = {0.0,
                             -0.0,
                             std::ldexp(1.0, -54),
                             -std::ldexp(1.0, -54),
                             std::ldexp(1.0, -55),
                             std::nextafter(std::ldexp(1.0, -54), 0.0),
                             std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::max(),
                             1e-300};
  std::vector<double> v(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) v[i] = i % 5 == 3 ? specials[(i / 5) % 12] : dist(rng);
  return v;
}

// What the flush keeps, from its definition.
double Kept(double v) { return std::isfinite(v) && std::fabs(v) >= std::ldexp(1.0, -54) ? v : 0.0; }

const int kLengths[] = {0, 1, 7, 8, 9, 16, 61, 2048};

TEST(PartitionLanes, InterleavedFlushKeepsOnlyNormalFiniteValuesInEveryLength) {
  for (int n : kLengths) {
    const std::vector<double> a = Samples(n, 3), b = Samples(n, 4);
    std::vector<double> want(2 * static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
      want[2 * i] = Kept(a[i]);
      want[2 * i + 1] = Kept(b[i]);
    }
    std::vector<double> got(want.size(), 7.0), plain(want.size(), 7.0);
    PartitionLanes::InterleaveFlushed(a.data(), b.data(), got.data(), n);
    PartitionLanes::InterleaveFlushedPlain(a.data(), b.data(), plain.data(), n);
    EXPECT_EQ(Bits(got), Bits(want)) << n;
    EXPECT_EQ(Bits(plain), Bits(want)) << n;
  }
}

TEST(PartitionLanes, OverlapAddSplitsRealAndImaginaryPartsInEveryLength) {
  for (int n : kLengths) {
    const std::vector<double> first = Samples(2 * n, 5), second = Samples(2 * n, 6);
    const std::vector<double> tailA = Samples(n, 7), tailB = Samples(n, 8);
    std::vector<double> wantA(n), wantB(n), wantTailA(n), wantTailB(n);
    for (int j = 0; j < n; ++j) {
      wantA[j] = first[2 * j] + tailA[j];
      wantB[j] = first[2 * j + 1] + tailB[j];
      wantTailA[j] = second[2 * j];
      wantTailB[j] = second[2 * j + 1];
    }
    for (bool vector : {true, false}) {
      std::vector<double> outA(n), outB(n), gotTailA = tailA, gotTailB = tailB;
      (vector ? PartitionLanes::OverlapAddPair : PartitionLanes::OverlapAddPairPlain)(
          first.data(), second.data(), gotTailA.data(), gotTailB.data(), outA.data(), outB.data(), n);
      EXPECT_EQ(Bits(outA), Bits(wantA)) << n;
      EXPECT_EQ(Bits(outB), Bits(wantB)) << n;
      EXPECT_EQ(Bits(gotTailA), Bits(wantTailA)) << n;
      EXPECT_EQ(Bits(gotTailB), Bits(wantTailB)) << n;
    }
  }
}

}  // namespace
