#include "dsp/filters/butterworth/ShelfPrototype.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPi = 3.141592653589793;

// |H(j w)| of the analogue prototype from its poles and zeros.
double Magnitude(const Dsp::PoleZeroLayout& layout, double w) {
  const Dsp::Complex s(0.0, w);
  Dsp::Complex h(1.0, 0.0);
  for (int i = 0; i < layout.getNumEntries(); ++i) {
    const Dsp::PoleZeroEntry& e = layout[i];
    h *= (s - e.zero1) / (s - e.pole1);
    if (!layout.isOddEntry(i)) h *= (s - e.zero2) / (s - e.pole2);
  }
  return std::abs(h);
}

TEST(ShelfPrototype, GainAtDcUnityAtInfinityHalfAtOne) {
  Dsp::PoleZeroEntry entries[8];
  Dsp::Butterworth::ShelfPrototype proto;
  proto.setStorage(16, entries);
  EXPECT_EQ(proto.getNormalW(), kPi);
  EXPECT_EQ(proto.getNormalGain(), 1.0);
  for (int order : {1, 2, 5, 16}) {
    for (double gainDb : {-24.0, -3.0, 6.0, 18.0}) {
      proto.design(order, gainDb);
      ASSERT_EQ(proto.getNumPoles(), order);
      EXPECT_NEAR(20 * std::log10(Magnitude(proto, 0.0)), gainDb, 1e-10);
      EXPECT_NEAR(20 * std::log10(Magnitude(proto, 1.0)), gainDb / 2, 1e-10);
      EXPECT_NEAR(20 * std::log10(Magnitude(proto, 1e9)), 0.0, 1e-6);
    }
  }
}

TEST(ShelfPrototype, CachedOnOrderAndGain) {
  Dsp::PoleZeroEntry entries[8];
  Dsp::Butterworth::ShelfPrototype proto;
  proto.setStorage(16, entries);
  proto.design(3, 6.0);
  entries[0].zero1 = Dsp::Complex(9, 9);
  proto.design(3, 6.0);
  EXPECT_EQ(entries[0].zero1, Dsp::Complex(9, 9));
  proto.design(3, 6.5);
  EXPECT_NE(entries[0].zero1, Dsp::Complex(9, 9));
  EXPECT_EQ(proto.getCachedGainDb(), 6.5);
}

}  // namespace
