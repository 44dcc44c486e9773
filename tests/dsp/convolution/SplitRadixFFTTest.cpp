#include "dsp/convolution/SplitRadixFFT.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <complex>
#include <random>
#include <thread>
#include <vector>

namespace {

using Cx = std::complex<double>;
constexpr double kPi = 3.141592653589793;

// The scrambled order written out from its definition, independently of
// the library: even bins in the first half, bins 4k + 1 in the third
// quarter, bins 4k - 1 in the last.
int Scrambled(int n, int p) {
  if (n < 3) return p;
  if (p < n / 2) return 2 * Scrambled(n / 2, p);
  const int q = p - n / 2;
  if (q < n / 4) return 4 * Scrambled(n / 4, q) + 1;
  return ((4 * Scrambled(n / 4, q - n / 4) - 1) % n + n) % n;
}

// One bin of the DFT with exponent sign `sign`; the angle is reduced
// exactly (j k mod n) so that large sizes stay accurate.
Cx DftBin(const std::vector<double>& x, int n, long long k, int sign) {
  Cx sum = 0;
  for (long long j = 0; j < n; ++j) {
    const long long m = (j * k) % n;
    const double angle = sign * 2 * kPi * static_cast<double>(m) / n;
    sum += Cx(x[2 * j], x[2 * j + 1]) * Cx(std::cos(angle), std::sin(angle));
  }
  return sum;
}

std::vector<double> RandomSignal(int n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  std::vector<double> x(2 * static_cast<size_t>(n));
  for (double& v : x) v = dist(rng);
  return x;
}

}  // namespace

TEST(SplitRadixFFT, ScrambledIndexFollowsItsDefinition) {
  for (int n = 2; n <= 4096; n *= 2) {
    std::vector<bool> seen(static_cast<size_t>(n), false);
    for (int p = 0; p < n; ++p) {
      const int r = SplitRadixFFT::ScrambledIndex(n, p);
      ASSERT_EQ(r, Scrambled(n, p)) << n << " " << p;
      ASSERT_FALSE(seen[r]) << "not a permutation at n = " << n;
      seen[r] = true;
    }
  }
}

// Every position of the forward output against a direct DFT with the
// positive exponent, and the inverse against the negative one.
TEST(SplitRadixFFT, MatchesDirectDftInScrambledOrder) {
  for (int n = 2; n <= 1024; n *= 2) {
    const std::vector<double> x = RandomSignal(n, 1000u + n);
    std::vector<double> y = x;
    ASSERT_TRUE(SplitRadixFFT::RunFFT(y.data(), n, 0));
    const double tolerance = 1e-13 * n;
    for (int p = 0; p < n; ++p) {
      const Cx expected = DftBin(x, n, Scrambled(n, p), +1);
      ASSERT_NEAR(y[2 * p], expected.real(), tolerance) << n << " " << p;
      ASSERT_NEAR(y[2 * p + 1], expected.imag(), tolerance) << n << " " << p;
    }

    // Inverse of a scrambled spectrum: give it X in scrambled order.
    std::vector<double> scrambled(x.size());
    for (int p = 0; p < n; ++p) {
      scrambled[2 * p] = x[2 * Scrambled(n, p)];
      scrambled[2 * p + 1] = x[2 * Scrambled(n, p) + 1];
    }
    ASSERT_TRUE(SplitRadixFFT::RunFFT(scrambled.data(), n, 1));
    for (int j = 0; j < n; ++j) {
      const Cx expected = DftBin(x, n, j, -1);
      ASSERT_NEAR(scrambled[2 * j], expected.real(), tolerance) << n << " " << j;
      ASSERT_NEAR(scrambled[2 * j + 1], expected.imag(), tolerance) << n << " " << j;
    }
  }
}

TEST(SplitRadixFFT, RoundTripScalesByNAtEverySize) {
  for (int n = 2; n <= SplitRadixFFT::kMaxSize; n *= 2) {
    const std::vector<double> x = RandomSignal(n, 7u + n);
    std::vector<double> y = x;
    ASSERT_TRUE(SplitRadixFFT::RunFFT(y.data(), n, 0));
    ASSERT_TRUE(SplitRadixFFT::RunFFT(y.data(), n, 1));
    double error = 0;
    for (size_t i = 0; i < x.size(); ++i) error = std::max(error, std::fabs(y[i] / n - x[i]));
    EXPECT_LT(error, 1e-13) << n;
  }
}

// The large sizes, where the tables hold one octant only: a few bins of the
// forward output, read through the permutation table, against single DFT bins.
TEST(SplitRadixFFT, LargeSizesMatchDftBinsThroughPermutationTable) {
  for (int n : {1024, 4096, 65536, 131072, 1 << 19}) {
    const std::vector<double> x = RandomSignal(n, 99u + n);
    std::vector<double> y = x;
    ASSERT_TRUE(SplitRadixFFT::RunFFT(y.data(), n, 0));
    const int* block = SplitRadixFFT::GetPermutation(n);
    ASSERT_NE(block, nullptr);
    const double tolerance = 1e-11 * std::sqrt(static_cast<double>(n));
    for (int k : {0, 1, 2, 3, n / 8 - 1, n / 8, n / 8 + 1, n / 4, n / 3, n / 2, n - 1}) {
      // Entry k holds the bin with the opposite sign of the exponent.
      const Cx expected = DftBin(x, n, k, -1);
      const int p = block[k];
      ASSERT_GE(p, 0);
      ASSERT_LT(p, n);
      EXPECT_NEAR(y[2 * p], expected.real(), tolerance) << n << " bin " << k;
      EXPECT_NEAR(y[2 * p + 1], expected.imag(), tolerance) << n << " bin " << k;
    }
  }
}

TEST(SplitRadixFFT, PermutationBlocksInvertTheScrambledOrder) {
  const int* table = SplitRadixFFT::GetPermutationTable();
  ASSERT_NE(table, nullptr);
  for (int n = 16; n <= SplitRadixFFT::kMaxSize; n *= 2) {
    const int* block = table + (n - 16);
    ASSERT_EQ(block, SplitRadixFFT::GetPermutation(n));
    ASSERT_EQ(block[0], 0) << n;
    // Spot-check the large blocks; check the small ones fully.
    const int step = n <= 4096 ? 1 : 97;
    for (int p = 1; p < n; p += step) ASSERT_EQ(block[n - Scrambled(n, p)], p) << n << " " << p;
  }
  EXPECT_EQ(SplitRadixFFT::GetPermutation(8), nullptr);
  EXPECT_EQ(SplitRadixFFT::GetPermutation(1 << 20), nullptr);
}

TEST(SplitRadixFFT, ClosedForms) {
  for (int n : {2, 4, 8, 16, 32, 1024, 8192}) {
    std::vector<double> impulse(2 * static_cast<size_t>(n), 0.0);
    impulse[0] = 1.0;
    SplitRadixFFT::RunFFT(impulse.data(), n, 0);
    for (int p = 0; p < n; ++p) {
      ASSERT_NEAR(impulse[2 * p], 1.0, 1e-15) << n;
      ASSERT_NEAR(impulse[2 * p + 1], 0.0, 1e-15) << n;
    }

    std::vector<double> constant(2 * static_cast<size_t>(n), 0.0);
    for (int j = 0; j < n; ++j) constant[2 * j] = 1.0;
    SplitRadixFFT::RunFFT(constant.data(), n, 0);
    EXPECT_NEAR(constant[0], n, 1e-12 * n);
    for (int p = 1; p < n; ++p) ASSERT_NEAR(std::hypot(constant[2 * p], constant[2 * p + 1]), 0.0, 1e-12 * n);

    // x[j] = e^(-2 pi i 3 j / n): the positive exponent of the forward
    // transform puts all of it in bin 3.
    if (n >= 8) {
      std::vector<double> tone(2 * static_cast<size_t>(n));
      for (int j = 0; j < n; ++j) {
        const double angle = -2 * kPi * static_cast<double>((3LL * j) % n) / n;
        tone[2 * j] = std::cos(angle);
        tone[2 * j + 1] = std::sin(angle);
      }
      SplitRadixFFT::RunFFT(tone.data(), n, 0);
      for (int p = 0; p < n; ++p) {
        const double expected = Scrambled(n, p) == 3 ? n : 0.0;
        ASSERT_NEAR(tone[2 * p], expected, 1e-11 * n) << n << " " << p;
        ASSERT_NEAR(tone[2 * p + 1], 0.0, 1e-11 * n) << n << " " << p;
      }
    }
  }
}

TEST(SplitRadixFFT, UnsupportedSizesAreRefusedAndLeaveDataUntouched) {
  for (int n : {0, 1, 3, 6, 12, 1000, 1 << 20, -4}) {
    std::vector<double> x = RandomSignal(8, 5);
    const std::vector<double> before = x;
    EXPECT_FALSE(SplitRadixFFT::RunFFT(x.data(), n, 0)) << n;
    EXPECT_FALSE(SplitRadixFFT::RunFFT(x.data(), n, 1)) << n;
    EXPECT_EQ(x, before) << n;
    EXPECT_FALSE(SplitRadixFFT::IsSupportedSize(n)) << n;
  }
  EXPECT_FALSE(SplitRadixFFT::RunFFT(nullptr, 16, 0));
}

// The first use may come from several threads at once: each must see whole
// tables. (Run alone, this test is the first to touch them in its process.)
TEST(SplitRadixFFT, ConcurrentFirstUseSeesWholeTables) {
  constexpr int kThreads = 8;
  constexpr int kSize = 1 << 16;
  const std::vector<double> x = RandomSignal(kSize, 3);
  std::vector<std::vector<double>> results(kThreads, x);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&results, t] {
      if (t % 2) SplitRadixFFT::InitFFT();
      SplitRadixFFT::RunFFT(results[t].data(), kSize, 0);
      SplitRadixFFT::RunFFT(results[t].data(), kSize, 1);
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) {
    double error = 0;
    for (size_t i = 0; i < x.size(); ++i) error = std::max(error, std::fabs(results[t][i] / kSize - x[i]));
    EXPECT_LT(error, 1e-13) << t;
  }
}

namespace {

std::vector<uint64_t> Bits(const std::vector<double>& v) {
  std::vector<uint64_t> b(v.size());
  std::memcpy(b.data(), v.data(), v.size() * sizeof(double));
  return b;
}

}  // namespace

// Every size, both directions: the vector passes leave every double as the
// portable passes do, and two transforms side by side each as alone.
TEST(SplitRadixFFT, VariantsAndPairsEqualThePortableTransformBitForBit) {
  std::mt19937 rng(23);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  const bool vector = SplitRadixFFT::IsFFTKernelAvailable(SplitRadixFFT::FFTKernel::kAvx512);
  for (int n = 2; n <= (1 << 16); n *= 2) {
    for (int direction : {0, 1}) {
      std::vector<double> a(2 * static_cast<size_t>(n)), b(a.size());
      for (double& v : a) v = dist(rng);
      for (double& v : b) v = dist(rng);
      std::vector<double> wantA = a, wantB = b;
      SplitRadixFFT::RunFFTWith(SplitRadixFFT::FFTKernel::kPortable, wantA.data(), n, direction);
      SplitRadixFFT::RunFFTWith(SplitRadixFFT::FFTKernel::kPortable, wantB.data(), n, direction);
      if (vector) {
        std::vector<double> got = a;
        SplitRadixFFT::RunFFTWith(SplitRadixFFT::FFTKernel::kAvx512, got.data(), n, direction);
        ASSERT_EQ(Bits(got), Bits(wantA)) << "n " << n << ", direction " << direction;
      }
      std::vector<double> pairs(2 * a.size());
      for (size_t i = 0; i < a.size(); ++i) {
        pairs[2 * i] = a[i];
        pairs[2 * i + 1] = b[i];
      }
      ASSERT_TRUE(SplitRadixFFT::RunFFTPair(pairs.data(), n, direction));
      std::vector<double> gotA(a.size()), gotB(a.size());
      for (size_t i = 0; i < a.size(); ++i) {
        gotA[i] = pairs[2 * i];
        gotB[i] = pairs[2 * i + 1];
      }
      ASSERT_EQ(Bits(gotA), Bits(wantA)) << "pair, n " << n;
      ASSERT_EQ(Bits(gotB), Bits(wantB)) << "pair, n " << n;
    }
  }
}

// The spectrum products of every variant, fresh and accumulated, against
// the complex product written out here, for lengths around the vector width.
TEST(SplitRadixFFT, SpectrumProductsAreTheComplexProductsInEveryVariant) {
  std::mt19937 rng(29);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  for (int points : {1, 3, 4, 5, 8, 13, 4096}) {
    std::vector<double> h(2 * static_cast<size_t>(points)), x(h.size()), start(h.size());
    for (std::vector<double>* v : {&h, &x, &start}) {
      for (double& e : *v) e = dist(rng);
    }
    for (bool accumulate : {false, true}) {
      std::vector<double> want = start;
      for (int k = 0; k < points; ++k) {
        const double re = h[2 * k] * x[2 * k] - h[2 * k + 1] * x[2 * k + 1];
        const double im = h[2 * k] * x[2 * k + 1] + h[2 * k + 1] * x[2 * k];
        want[2 * k] = accumulate ? want[2 * k] + re : re;
        want[2 * k + 1] = accumulate ? want[2 * k + 1] + im : im;
      }
      for (SplitRadixFFT::FFTKernel k : {SplitRadixFFT::FFTKernel::kPortable, SplitRadixFFT::FFTKernel::kAvx512}) {
        std::vector<double> got = start;
        SplitRadixFFT::MultiplySpectraWith(k, h.data(), x.data(), got.data(), points, accumulate);
        ASSERT_EQ(Bits(got), Bits(want)) << points << " points, variant " << static_cast<int>(k);
      }
    }
  }
}
