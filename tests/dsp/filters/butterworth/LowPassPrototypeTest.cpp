#include "dsp/filters/butterworth/LowPassPrototype.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPi = 3.141592653589793;

TEST(LowPassPrototype, ButterworthPolesOnTheUnitCircle) {
  Dsp::PoleZeroEntry entries[8];
  Dsp::Butterworth::LowPassPrototype proto;
  proto.setStorage(16, entries);
  EXPECT_EQ(proto.getNormalW(), 0.0);
  EXPECT_EQ(proto.getNormalGain(), 1.0);
  for (int order = 1; order <= 16; ++order) {
    proto.design(order);
    ASSERT_EQ(proto.getNumPoles(), order);
    for (int k = 1; k <= order / 2; ++k) {
      const Dsp::PoleZeroEntry& e = proto[k - 1];
      // Angle pi/2 + (2k - 1) pi / 2N: in the left half-plane.
      EXPECT_NEAR(std::arg(e.pole1), kPi / 2 + (2 * k - 1) * kPi / (2 * order), 1e-14);
      EXPECT_NEAR(std::abs(e.pole1), 1.0, 1e-15);
      EXPECT_EQ(e.pole2, std::conj(e.pole1));
      EXPECT_TRUE(Dsp::IsInfinity(e.zero1));
      EXPECT_TRUE(Dsp::IsInfinity(e.zero2));  // imaginary part -0.0
      EXPECT_TRUE(std::signbit(e.zero2.imag()));
    }
    if (order & 1) {
      const Dsp::PoleZeroEntry& e = proto[order / 2];
      EXPECT_EQ(e.pole1, Dsp::Complex(-1.0, 0.0));
      EXPECT_TRUE(e.isFirstOrder());
      EXPECT_TRUE(Dsp::IsInfinity(e.zero1));
    }
  }
}

TEST(LowPassPrototype, SameOrderIsNotRedesigned) {
  Dsp::PoleZeroEntry entries[8];
  Dsp::Butterworth::LowPassPrototype proto;
  proto.setStorage(16, entries);
  EXPECT_EQ(proto.getCachedOrder(), -1);
  proto.design(4);
  entries[0].pole1 = Dsp::Complex(7, 7);  // a redesign would overwrite this
  proto.design(4);
  EXPECT_EQ(entries[0].pole1, Dsp::Complex(7, 7));
  proto.design(5);
  EXPECT_NE(entries[0].pole1, Dsp::Complex(7, 7));
  EXPECT_EQ(proto.getCachedOrder(), 5);
}

}  // namespace
