#include "dsp/resampler/RealFFTPairPasses.h"

#include <gtest/gtest.h>

#include "tests/dsp/RandomSignal.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// One radix-4 pass over m points (re A, re B, im A, im B) with partners s
// apart, each lane through the scalar butterfly written out on doubles.
void ScalarPass(double* z, int m, int s, const double* w, double sign) {
  for (int g = 0; g < m / (4 * s); ++g) {
    const RealFFTDetail::GroupTwiddleValues t(g, w, sign);
    for (int k = 0; k < s; ++k) {
      for (int l = 0; l < 2; ++l) {
        double* pa = z + 4 * (g * 4 * s + k) + l;
        double* pb = pa + 4 * s;
        double* pc = pb + 4 * s;
        double* pd = pc + 4 * s;
        const double ar = pa[0] + pb[0], ai = pa[2] + pb[2];
        const double xr = pa[0] - pb[0], xi = pa[2] - pb[2];
        const double br = t.w1r * xr - t.w1i * xi, bi = t.w1r * xi + t.w1i * xr;
        const double cr = pc[0] + pd[0], ci = pc[2] + pd[2];
        const double yr = pc[0] - pd[0], yi = pc[2] - pd[2];
        const double dr = t.w3r * yr - t.w3i * yi, di = t.w3r * yi + t.w3i * yr;
        pa[0] = ar + cr;
        pa[2] = ai + ci;
        pb[0] = br + dr;
        pb[2] = bi + di;
        const double er = ar - cr, ei = ai - ci;
        const double fr = br - dr, fi = bi - di;
        pc[0] = t.w2r * er - t.w2i * ei;
        pc[2] = t.w2r * ei + t.w2i * er;
        pd[0] = t.w2r * fr - t.w2i * fi;
        pd[2] = t.w2r * fi + t.w2i * fr;
      }
    }
  }
}

std::vector<uint64_t> Bits(const std::vector<double>& v) {
  std::vector<uint64_t> b(v.size());
  std::memcpy(b.data(), v.data(), v.size() * sizeof(double));
  return b;
}

using Pass = void (*)(double*, int, int, const double*, double);

struct Variant {
  const char* name;
  bool available;
  int minStride;
  Pass pass;
};

}  // namespace

// Every vector pass the processor offers leaves each double of the points
// bit for bit as the scalar butterflies do, in both directions, at every
// stride, with exact zeros of either sign among the inputs and twiddles.
TEST(RealFFTPairPasses, VectorPassesEqualTheScalarPassBitForBit) {
  const Variant variants[] = {
      {"AVX-512", RealFFTDetail::HasAvx512(), 2, RealFFTDetail::Radix4PassPairsAvx512},
      {"AVX2", RealFFTDetail::HasAvx2(), 1, RealFFTDetail::Radix4PassPairsAvx2},
  };
  int ran = 0;
  for (const Variant& v : variants) {
    if (!v.available) continue;
    ++ran;
    for (int m : {4, 16, 32, 256, 2048}) {
      for (int s = v.minStride; s < m; s <<= 2) {
        for (double sign : {1.0, -1.0}) {
          const unsigned seed = static_cast<unsigned>(m * 8 + s);
          std::vector<double> points = RandomSignal(4 * m, seed);
          for (size_t i = 0; i < points.size(); i += 7) points[i] = (i & 8) ? -0.0 : 0.0;
          std::vector<double> w = RandomSignal(m, seed + 1);
          w[2] = 0.0;
          if (m > 4) w[5] = -0.0;
          std::vector<double> want = points, got = points;
          ScalarPass(want.data(), m, s, w.data(), sign);
          v.pass(got.data(), m, s, w.data(), sign);
          ASSERT_EQ(Bits(got), Bits(want)) << v.name << ", m " << m << ", s " << s << ", sign " << sign;
        }
      }
    }
  }
  if (ran == 0) GTEST_SKIP() << "no vector pass on this processor";
}
