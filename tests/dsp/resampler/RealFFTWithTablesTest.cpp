#include "dsp/resampler/RealFFTWithTables.h"

#include "tests/dsp/fft/DirectDft.h"

#include <gtest/gtest.h>

#include "tests/dsp/RandomSignal.h"

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace {

struct WorkArea {
  explicit WorkArea(int n) : ip(RealFFTWorkAreaIpSize(n), 0), w(n / 2, 0.0) {}
  std::vector<int> ip;
  std::vector<double> w;
};

// The packed layout: a[0] = R[0], a[1] = R[n/2], then (R[k], I[k]).
void ExpectPackedSpectrum(const std::vector<double>& a, const std::vector<double>& x) {
  const int n = static_cast<int>(x.size());
  const auto ref = TestDft::DirectReal(x, +1);
  const double tol = 1e-12 * n;
  EXPECT_NEAR(a[0], ref[0].real(), tol);
  EXPECT_NEAR(a[1], ref[n / 2].real(), tol);
  for (int k = 1; k < n / 2; ++k) {
    EXPECT_NEAR(a[2 * k], ref[k].real(), tol) << "n " << n << " k " << k;
    EXPECT_NEAR(a[2 * k + 1], ref[k].imag(), tol) << "n " << n << " k " << k;
  }
}

class RealFFTWithTablesSizes : public ::testing::TestWithParam<int> {};

TEST_P(RealFFTWithTablesSizes, ForwardMatchesDirectDftAndInverseGivesHalfNTimesInput) {
  const int n = GetParam();
  WorkArea area(n);
  const std::vector<double> x = RandomSignal(n, n);
  std::vector<double> a = x;
  RealFFTWithTables(n, 1, a.data(), area.ip.data(), area.w.data());
  ExpectPackedSpectrum(a, x);
  RealFFTWithTables(n, -1, a.data(), area.ip.data(), area.w.data());
  for (int i = 0; i < n; ++i) EXPECT_NEAR(a[i], 0.5 * n * x[i], 1e-12 * n) << i;
}

INSTANTIATE_TEST_SUITE_P(PowersOfTwo, RealFFTWithTablesSizes,
                         ::testing::Values(4, 8, 16, 32, 64, 128, 512, 2048, 4096, 8192));

TEST(RealFFTWithTables, UnitImpulseGivesFlatSpectrum) {
  const int n = 64;
  WorkArea area(n);
  std::vector<double> a(n, 0.0);
  a[0] = 1.0;
  RealFFTWithTables(n, 1, a.data(), area.ip.data(), area.w.data());
  for (int k = 0; k < n / 2; ++k) {
    EXPECT_NEAR(a[2 * k], 1.0, 1e-15);
    if (k > 0) {
      EXPECT_NEAR(a[2 * k + 1], 0.0, 1e-15);
    }
  }
}

TEST(RealFFTWithTables, TablesAreBuiltOnceAndServeLaterCalls) {
  const int n = 256;
  WorkArea area(n);
  std::vector<double> a = RandomSignal(n, 1);
  RealFFTWithTables(n, 1, a.data(), area.ip.data(), area.w.data());
  EXPECT_EQ(area.ip[0], n / 4);
  EXPECT_EQ(area.ip[1], n / 4);
  const std::vector<double> tables = area.w;
  const std::vector<double> x = RandomSignal(n, 2);
  a = x;
  RealFFTWithTables(n, 1, a.data(), area.ip.data(), area.w.data());
  EXPECT_EQ(area.w, tables);
  ExpectPackedSpectrum(a, x);
}

TEST(RealFFTWithTables, TablesOfALargerSizeServeASmallerOne) {
  WorkArea area(4096);
  std::vector<double> big = RandomSignal(4096, 3);
  RealFFTWithTables(4096, 1, big.data(), area.ip.data(), area.w.data());
  for (int n : {8, 64, 1024}) {
    const std::vector<double> x = RandomSignal(n, n + 5);
    std::vector<double> a = x;
    RealFFTWithTables(n, 1, a.data(), area.ip.data(), area.w.data());
    EXPECT_EQ(area.ip[0], 1024);
    ExpectPackedSpectrum(a, x);
  }
}

TEST(RealFFTWithTables, UnsupportedSizesLeaveDataUntouched) {
  WorkArea area(64);
  std::vector<double> a(64, 2.0);
  for (int n : {0, 2, 3, 48}) RealFFTWithTables(n, 1, a.data(), area.ip.data(), area.w.data());
  for (double v : a) EXPECT_EQ(v, 2.0);
  EXPECT_EQ(area.ip[0], 0);
}

}  // namespace

namespace {

std::vector<uint64_t> Bits(const std::vector<double>& v) {
  std::vector<uint64_t> b(v.size());
  std::memcpy(b.data(), v.data(), v.size() * sizeof(double));
  return b;
}

}  // namespace

// The reordering read from a table, and two channels filtered at once, give
// each sequence exactly what the one-channel transform with counted
// reordering gives it: forward, spectrum product, inverse.
TEST(RealFFTWithTables, TableAndPairPathsEqualThePlainTransformBitForBit) {
  for (int n = 4; n <= 16384; n *= 2) {
    WorkArea area(n), pairArea(n);
    std::vector<int32_t> table(n / 2);
    MakeBitReverseTable(n / 2, table.data());
    const std::vector<double> x = RandomSignal(n, 3 * n), y = RandomSignal(n, 3 * n + 1);
    const std::vector<double> spectrum = RandomSignal(n, 3 * n + 2);

    std::vector<double> plain = x;
    RealFFTWithTables(n, 1, plain.data(), area.ip.data(), area.w.data());
    std::vector<double> tabled = x;
    RealFFTWithTables(n, 1, tabled.data(), area.ip.data(), area.w.data(), table.data());
    ASSERT_EQ(Bits(tabled), Bits(plain)) << "forward, n " << n;

    // The one-channel filtering the pair must reproduce.
    std::vector<double> wantX = x, wantY = y;
    for (std::vector<double>* v : {&wantX, &wantY}) {
      RealFFTWithTables(n, 1, v->data(), area.ip.data(), area.w.data());
      MultiplyPackedSpectrum(n, v->data(), spectrum.data());
      RealFFTWithTables(n, -1, v->data(), area.ip.data(), area.w.data());
    }
    std::vector<double> inverseTabled = x;
    RealFFTWithTables(n, 1, inverseTabled.data(), area.ip.data(), area.w.data(), table.data());
    MultiplyPackedSpectrum(n, inverseTabled.data(), spectrum.data());
    RealFFTWithTables(n, -1, inverseTabled.data(), area.ip.data(), area.w.data(), table.data());
    ASSERT_EQ(Bits(inverseTabled), Bits(wantX)) << "inverse, n " << n;

    std::vector<double> gotX = x, gotY = y, work(4 * static_cast<size_t>(n));
    FilterPairWithTables(n, gotX.data(), gotY.data(), spectrum.data(), pairArea.ip.data(), pairArea.w.data(),
                         table.data(), work.data());
    ASSERT_EQ(Bits(gotX), Bits(wantX)) << "first channel, n " << n;
    ASSERT_EQ(Bits(gotY), Bits(wantY)) << "second channel, n " << n;
    // The two-lane path, which the vector path (where the processor has
    // one) stands in for.
    std::vector<double> lanesX = x, lanesY = y;
    FilterPairWithTablesLanes(n, lanesX.data(), lanesY.data(), spectrum.data(), pairArea.ip.data(), pairArea.w.data(),
                              table.data(), work.data());
    ASSERT_EQ(Bits(lanesX), Bits(wantX)) << "first channel, two lanes, n " << n;
    ASSERT_EQ(Bits(lanesY), Bits(wantY)) << "second channel, two lanes, n " << n;
    // Asked for the first half only, that half is still exact.
    std::vector<double> halfX = x, halfY = y;
    FilterPairWithTables(n, halfX.data(), halfY.data(), spectrum.data(), pairArea.ip.data(), pairArea.w.data(),
                         table.data(), work.data(), true);
    halfX.resize(n / 2);
    halfY.resize(n / 2);
    wantX.resize(n / 2);
    wantY.resize(n / 2);
    ASSERT_EQ(Bits(halfX), Bits(wantX)) << "first channel, first half, n " << n;
    ASSERT_EQ(Bits(halfY), Bits(wantY)) << "second channel, first half, n " << n;
  }
}

// The product is the complex one, bin by bin, with DC and Nyquist real.
TEST(RealFFTWithTables, PackedSpectraMultiplyBinByBin) {
  std::vector<double> a = {2.0, 3.0, 1.0, 2.0, -1.0, 0.5};
  const std::vector<double> k = {0.5, -2.0, 3.0, 1.0, 2.0, -4.0};
  MultiplyPackedSpectrum(6, a.data(), k.data());
  const std::vector<double> want = {1.0, -6.0, 1.0 * 3.0 - 2.0 * 1.0, 1.0 * 1.0 + 2.0 * 3.0,
                                    -1.0 * 2.0 - 0.5 * -4.0, -1.0 * -4.0 + 0.5 * 2.0};
  EXPECT_EQ(a, want);
}

// Inputs whose transforms are full of exact zeros of either sign (silence,
// negative silence, zero-stuffed and impulse blocks, as the converters see
// them at start-up): the pair path must leave every zero with the sign the
// one-channel transform gives it.
TEST(RealFFTWithTables, PairPathKeepsTheSignsOfZeros) {
  const int sizes[] = {16, 64, 1024, 4096, 8192};
  for (int n : sizes) {
    std::vector<int32_t> table(n / 2);
    MakeBitReverseTable(n / 2, table.data());
    const std::vector<double> noise = RandomSignal(n, 7 * n);
    std::vector<std::vector<double>> inputs;
    inputs.push_back(std::vector<double>(n, 0.0));
    inputs.push_back(std::vector<double>(n, -0.0));
    std::vector<double> stuffed(n, 0.0), impulse(n, -0.0);
    for (int i = 0; i < n; i += 2) stuffed[i] = noise[i];
    impulse[3] = 1.0;
    inputs.push_back(stuffed);
    inputs.push_back(impulse);
    std::vector<double> spectrum = RandomSignal(n, 7 * n + 1);
    for (int i = 0; i < n; i += 3) spectrum[i] = -0.0;
    for (size_t u = 0; u < inputs.size(); ++u) {
      for (size_t v = 0; v < inputs.size(); ++v) {
        WorkArea area(n), pairArea(n);
        std::vector<double> wantX = inputs[u], wantY = inputs[v];
        for (std::vector<double>* x : {&wantX, &wantY}) {
          RealFFTWithTables(n, 1, x->data(), area.ip.data(), area.w.data());
          MultiplyPackedSpectrum(n, x->data(), spectrum.data());
          RealFFTWithTables(n, -1, x->data(), area.ip.data(), area.w.data());
        }
        std::vector<double> gotX = inputs[u], gotY = inputs[v], work(4 * static_cast<size_t>(n));
        FilterPairWithTables(n, gotX.data(), gotY.data(), spectrum.data(), pairArea.ip.data(), pairArea.w.data(),
                             table.data(), work.data());
        ASSERT_EQ(Bits(gotX), Bits(wantX)) << "n " << n << " inputs " << u << ", " << v;
        ASSERT_EQ(Bits(gotY), Bits(wantY)) << "n " << n << " inputs " << u << ", " << v;
      }
    }
  }
}

// Two sequences side by side through the two-channel transform, forward and
// inverse: each lane bit for bit what the one-channel transform gives that
// sequence alone, signed zeros included.
TEST(RealFFTWithTables, TwoChannelTransformEqualsTheOneChannelTransformBitForBit) {
  for (int n = 4; n <= 16384; n *= 2) {
    WorkArea area(n), pairArea(n);
    std::vector<int32_t> table(n / 2);
    MakeBitReverseTable(n / 2, table.data());
    std::vector<double> x = RandomSignal(n, 5 * n), y = RandomSignal(n, 5 * n + 1);
    for (int i = 0; i < n; i += 5) y[i] = (i & 1) ? -0.0 : 0.0;
    for (int direction : {1, -1}) {
      std::vector<double> wantX = x, wantY = y;
      RealFFTWithTables(n, direction, wantX.data(), area.ip.data(), area.w.data());
      RealFFTWithTables(n, direction, wantY.data(), area.ip.data(), area.w.data());
      std::vector<double> lanes(2 * static_cast<size_t>(n));
      for (int i = 0; i < n; ++i) {
        lanes[2 * i] = x[i];
        lanes[2 * i + 1] = y[i];
      }
      RealFFTTwoWithTables(n, direction, lanes.data(), pairArea.ip.data(), pairArea.w.data(), table.data());
      std::vector<double> gotX(n), gotY(n);
      for (int i = 0; i < n; ++i) {
        gotX[i] = lanes[2 * i];
        gotY[i] = lanes[2 * i + 1];
      }
      ASSERT_EQ(Bits(gotX), Bits(wantX)) << "first lane, n " << n << ", direction " << direction;
      ASSERT_EQ(Bits(gotY), Bits(wantY)) << "second lane, n " << n << ", direction " << direction;
    }
  }
}
