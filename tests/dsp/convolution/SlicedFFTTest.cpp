#include "dsp/convolution/SlicedFFT.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "tests/dsp/RandomSignal.h"

namespace {

struct Sizes {
  int n, piece, step;
};

// Every position of the forward output against the DFT of its bin
// (positive exponent, unscaled), summed directly.
TEST(SlicedFFT, ForwardHoldsTheDirectDFTAtEachPositionsBin) {
  for (const Sizes s : {Sizes{4, 2, 0}, Sizes{64, 8, 0}, Sizes{256, 16, 64}, Sizes{2048, 1024, 0}, Sizes{4096, 32, 256}}) {
    SlicedFFT fft;
    ASSERT_TRUE(fft.Setup(s.n, s.piece, s.step));
    const std::vector<double> x = RandomSignal(2 * s.n, static_cast<unsigned>(s.n));
    std::vector<double> data = x;
    fft.Run(data.data(), 0);
    for (int p = 0; p < s.n; ++p) {
      const int k = fft.BinAt(p);
      std::complex<double> sum = 0.0;
      for (int j = 0; j < s.n; ++j) {
        const double angle = 2.0 * M_PI * static_cast<double>((static_cast<long long>(j) * k) % s.n) / s.n;
        sum += std::complex<double>(x[2 * j], x[2 * j + 1]) * std::polar(1.0, angle);
      }
      ASSERT_NEAR(data[2 * p], sum.real(), 1e-9 * s.n) << s.n << " " << p;
      ASSERT_NEAR(data[2 * p + 1], sum.imag(), 1e-9 * s.n) << s.n << " " << p;
      ASSERT_EQ(fft.BinAt(fft.MirrorTable()[p]), (s.n - k) % s.n) << s.n << " " << p;
    }
  }
}

TEST(SlicedFFT, StepsInOrderGiveTheWholeTransformAndTheInverseUndoesIt) {
  SlicedFFT fft;
  // Steps over several blocks of the later passes and over several pieces.
  ASSERT_TRUE(fft.Setup(8192, 32, 1024));
  const std::vector<double> x = RandomSignal(2 * 8192, 5);
  std::vector<double> whole = x, stepped = x;
  fft.Run(whole.data(), 0);
  for (int step = 0; step < fft.StepCount(); ++step) fft.ForwardStep(stepped.data(), step);
  ASSERT_EQ(stepped, whole);
  for (int step = 0; step < fft.StepCount(); ++step) fft.InverseStep(stepped.data(), step);
  for (size_t i = 0; i < x.size(); ++i) ASSERT_NEAR(stepped[i] / 8192.0, x[i], 1e-12) << i;
}

TEST(SlicedFFT, RefusesSizesItCannotCut) {
  SlicedFFT fft;
  EXPECT_FALSE(fft.Setup(2, 1));
  EXPECT_FALSE(fft.Setup(1000, 8));
  EXPECT_FALSE(fft.Setup(64, 64));
  EXPECT_FALSE(fft.Setup(64, 12));
  EXPECT_FALSE(fft.Setup(64, 16, 8));
  EXPECT_FALSE(fft.Setup(64, 16, 128));
  EXPECT_EQ(fft.Size(), 0);
}

}  // namespace
