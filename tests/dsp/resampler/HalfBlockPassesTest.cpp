// The half-size transforms' fused passes against direct computation: the
// complex passes against the DFT, and the whole halving and doubling
// blocks against circular convolutions of each channel with the taps.
#include "dsp/resampler/HalfBlockPasses.h"

#include "dsp/resampler/RealFFTWithTables.h"
#include "tests/dsp/fft/DirectDft.h"

#include <gtest/gtest.h>

#include "tests/dsp/RandomSignal.h"

#include <complex>
#include <cstdint>
#include <vector>

namespace {

using Complex = std::complex<double>;

// The tables of a transform of m points (real size n = 2 m).
struct Tables {
  explicit Tables(int m)
      : n(2 * m), ip(RealFFTWorkAreaIpSize(2 * m), 0), w(m, 0.0), rev(m), forward(3 * m / 2), inverse(3 * m / 2) {
    c = RealFFTTables(n, ip.data(), w.data(), &nc, &ks);
    MakeBitReverseTable(m, rev.data());
    HalfBlockPasses::MakePassTwiddles(m, w.data(), 1.0, forward.data());
    HalfBlockPasses::MakePassTwiddles(m, w.data(), -1.0, inverse.data());
  }
  int n;
  std::vector<int> ip;
  std::vector<double> w;
  std::vector<int32_t> rev;
  std::vector<double> forward, inverse;
  const double* c = nullptr;
  int nc = 0, ks = 0;
};

std::vector<Complex> RandomComplex(int m, unsigned seed) {
  const std::vector<double> v = RandomSignal(2 * m, seed);
  std::vector<Complex> z(m);
  for (int j = 0; j < m; ++j) z[j] = {v[2 * j], v[2 * j + 1]};
  return z;
}

// Packed real spectrum (a[0] = DC, a[1] = Nyquist, then re, im) of x.
std::vector<double> PackedSpectrum(const std::vector<double>& x) {
  const int n = static_cast<int>(x.size());
  const std::vector<Complex> s = TestDft::DirectReal(x, +1);
  std::vector<double> packed(n);
  packed[0] = s[0].real();
  packed[1] = s[n / 2].real();
  for (int k = 1; k < n / 2; ++k) {
    packed[2 * k] = s[k].real();
    packed[2 * k + 1] = s[k].imag();
  }
  return packed;
}

// y[t] = sum x[j] h[(t - j) mod n].
std::vector<double> Circular(const std::vector<double>& x, const std::vector<double>& h) {
  const int n = static_cast<int>(x.size());
  std::vector<double> y(n, 0.0);
  for (int t = 0; t < n; ++t) {
    long double sum = 0.0L;
    for (int j = 0; j < n; ++j) sum += static_cast<long double>(x[j]) * h[((t - j) % n + n) % n];
    y[t] = static_cast<double>(sum);
  }
  return y;
}

class HalfBlockPassesSizes : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    if (!HalfBlockPasses::Available()) GTEST_SKIP() << "no AVX2 and FMA here";
  }
};

// Both directions, every kind of last pass: each channel's points are the
// DFT (sign +1 forward, -1 inverse) of its input read in reordered order.
TEST_P(HalfBlockPassesSizes, PassesGiveTheDftOfEachChannel) {
  const int m = GetParam();
  ASSERT_TRUE(HalfBlockPasses::SuitsSize(2 * m));
  const Tables t(m);
  const std::vector<Complex> a = RandomComplex(m, 11), b = RandomComplex(m, 12);
  const double tol = 1e-13 * m;
  for (int sign : {+1, -1}) {
    const std::vector<Complex> wantA = TestDft::Direct(a, sign), wantB = TestDft::Direct(b, sign);
    for (HalfBlockPasses::LastPass last :
         {HalfBlockPasses::kAllPoints, HalfBlockPasses::kFirstHalf, HalfBlockPasses::kFirstHalfPhases}) {
      std::vector<double> z(4 * m);
      for (int i = 0; i < m; ++i) {
        const int j = t.rev[i];
        const double point[4] = {a[j].real(), a[j].imag(), b[j].real(), b[j].imag()};
        for (int l = 0; l < 4; ++l) z[4 * i + l] = point[l];
      }
      HalfBlockPasses::Passes(z.data(), m, sign > 0 ? t.forward.data() : t.inverse.data(), last);
      const int points = last == HalfBlockPasses::kAllPoints ? m : m / 2;
      for (int k = 0; k < points; ++k) {
        // kFirstHalfPhases: (re A, re B, im A, im B).
        const bool phases = last == HalfBlockPasses::kFirstHalfPhases;
        const double* p = &z[4 * k];
        const Complex gotA(p[0], p[phases ? 2 : 1]), gotB(p[phases ? 1 : 2], p[3]);
        ASSERT_NEAR(gotA.real(), wantA[k].real(), tol) << sign << " " << last << " " << k;
        ASSERT_NEAR(gotA.imag(), wantA[k].imag(), tol) << sign << " " << last << " " << k;
        ASSERT_NEAR(gotB.real(), wantB[k].real(), tol) << sign << " " << last << " " << k;
        ASSERT_NEAR(gotB.imag(), wantB[k].imag(), tol) << sign << " " << last << " " << k;
      }
    }
  }
}

// A halving block: each channel's even and odd phases (from its current
// and previous filter-rate blocks) through the even and odd tap phases and
// summed, which is the sum of two circular convolutions, n / 2 times over
// (the inverse is unscaled).
TEST_P(HalfBlockPassesSizes, HalvingBlockIsTheSumOfThePhasesCircularConvolutions) {
  const int m = GetParam(), n = 2 * m;
  const Tables t(m);
  const std::vector<double> p = RandomSignal(n, 21), q = RandomSignal(n, 22);
  std::vector<double> table(4 * n);
  HalfBlockPasses::MakeProductTable(n, PackedSpectrum(p).data(), PackedSpectrum(q).data(), table.data());
  // [current | previous] of each channel, 2 n filter-rate samples.
  const std::vector<double> blockA = RandomSignal(2 * n, 23), blockB = RandomSignal(2 * n, 24);
  std::vector<double> xa(4 * m), xb(4 * m), y(4 * m);
  HalfBlockPasses::ForwardPhases(blockA.data(), blockA.data() + n, m, t.rev.data(), t.forward.data(), xa.data());
  HalfBlockPasses::ForwardPhases(blockB.data(), blockB.data() + n, m, t.rev.data(), t.forward.data(), xb.data());
  HalfBlockPasses::FilterHalvingSpectra(xa.data(), xb.data(), n, table.data(), t.c, t.nc, t.ks);
  HalfBlockPasses::InverseFromReordered(xa.data(), m, t.rev.data(), t.inverse.data(), HalfBlockPasses::kAllPoints,
                                        y.data());
  const std::vector<double>* blocks[2] = {&blockA, &blockB};
  for (int ch = 0; ch < 2; ++ch) {
    std::vector<double> even(n), odd(n);
    for (int k = 0; k < n; ++k) {
      even[k] = (*blocks[ch])[2 * k];
      odd[k] = (*blocks[ch])[2 * k + 1];
    }
    const std::vector<double> e = Circular(even, p), o = Circular(odd, q);
    for (int s = 0; s < n; ++s) {
      // Sample s of channel ch: point s / 2, part s & 1.
      ASSERT_NEAR(y[4 * (s / 2) + 2 * ch + (s & 1)], 0.5 * n * (e[s] + o[s]), 1e-12 * n) << ch << " " << s;
    }
  }
}

// A doubling block: each channel's inputs (compact current and previous
// blocks, times 2) through both tap phases, its two output phases side by
// side in filter-rate order over the first half.
TEST_P(HalfBlockPassesSizes, DoublingBlockGivesBothOutputPhasesOfEachChannel) {
  const int m = GetParam(), n = 2 * m;
  const Tables t(m);
  const std::vector<double> p = RandomSignal(n, 31), q = RandomSignal(n, 32);
  std::vector<double> table(4 * n);
  HalfBlockPasses::MakeProductTable(n, PackedSpectrum(p).data(), PackedSpectrum(q).data(), table.data());
  // [current | previous] inputs of each channel, n samples.
  const std::vector<double> inA = RandomSignal(n, 33), inB = RandomSignal(n, 34);
  std::vector<double> x(4 * m), lane0(4 * m), outA(4 * m), outB(4 * m);
  HalfBlockPasses::ForwardEvenPhases(inA.data(), inA.data() + m, inB.data(), inB.data() + m, m, t.rev.data(),
                                     t.forward.data(), x.data());
  HalfBlockPasses::FilterDoublingSpectra(x.data(), n, table.data(), t.c, t.nc, t.ks, lane0.data());
  HalfBlockPasses::InverseFromReordered(lane0.data(), m, t.rev.data(), t.inverse.data(),
                                        HalfBlockPasses::kFirstHalfPhases, outA.data());
  HalfBlockPasses::InverseFromReordered(x.data(), m, t.rev.data(), t.inverse.data(),
                                        HalfBlockPasses::kFirstHalfPhases, outB.data());
  const std::vector<double>* inputs[2] = {&inA, &inB};
  const std::vector<double>* outputs[2] = {&outA, &outB};
  for (int ch = 0; ch < 2; ++ch) {
    std::vector<double> doubled(n);
    for (int k = 0; k < n; ++k) doubled[k] = 2.0 * (*inputs[ch])[k];
    const std::vector<double> phase0 = Circular(doubled, p), phase1 = Circular(doubled, q);
    for (int s = 0; s < n / 2; ++s) {
      ASSERT_NEAR((*outputs[ch])[2 * s], 0.5 * n * phase0[s], 1e-12 * n) << ch << " " << s;
      ASSERT_NEAR((*outputs[ch])[2 * s + 1], 0.5 * n * phase1[s], 1e-12 * n) << ch << " " << s;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, HalfBlockPassesSizes, ::testing::Values(16, 64, 256, 1024));

TEST(HalfBlockPasses, SizesArePowersOfFourFromSixteenPoints) {
  for (int m : {16, 64, 256, 1024, 4096}) EXPECT_TRUE(HalfBlockPasses::SuitsSize(2 * m)) << m;
  for (int m : {4, 8, 32, 128, 512, 100}) EXPECT_FALSE(HalfBlockPasses::SuitsSize(2 * m)) << m;
}

}  // namespace
