#include "rtas/library/ControlValue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr int32_t kBottom = std::numeric_limits<int32_t>::min();
constexpr int32_t kTop = std::numeric_limits<int32_t>::max();

}  // namespace

TEST(ControlValue, IntegerRangeEndsMapToTheHostRangeEnds) {
  EXPECT_EQ(ControlValueToInt(kBottom, 0, 3), 0);
  EXPECT_EQ(ControlValueToInt(kTop, 0, 3), 3);
  EXPECT_EQ(IntToControlValue(3, 0, 3), kTop);
  EXPECT_EQ(IntToControlValue(0, 0, 3), kBottom);
  // Out-of-range integers are clamped first.
  EXPECT_EQ(IntToControlValue(7, 0, 3), kTop);
  EXPECT_EQ(IntToControlValue(-5, 0, 3), kBottom);
  EXPECT_EQ(ControlValueToInt(kBottom, -100, 100), -100);
  EXPECT_EQ(ControlValueToInt(kTop, -100, 100), 100);
}

TEST(ControlValue, HostMidpointRoundsToTheRangeMidpoint) {
  // Value 0 lies 2^31 / (2^32 - 1), a hair above half, from the bottom.
  EXPECT_EQ(ControlValueToInt(0, 0, 100), 50);
  EXPECT_EQ(ControlValueToInt(0, -10, 10), 0);
  // Value -1 lies a hair below half: 0.49999999988 of 1 rounds down.
  EXPECT_EQ(ControlValueToInt(-1, 0, 1), 0);
  EXPECT_EQ(ControlValueToInt(0, 0, 1), 1);
}

TEST(ControlValue, EveryIntegerSurvivesTheRoundTrip) {
  struct Range {
    int32_t min, max;
  };
  const Range ranges[] = {{0, 1}, {0, 3}, {-100, 100}, {5, 137}, {-2000000, 2000000}};
  for (const Range& r : ranges) {
    const int32_t stride = std::max<int32_t>(1, (r.max - r.min) / 997);
    for (int32_t n = r.min; n <= r.max; n += stride) {
      EXPECT_EQ(ControlValueToInt(IntToControlValue(n, r.min, r.max), r.min, r.max), n) << r.min << ".." << r.max;
    }
    EXPECT_EQ(ControlValueToInt(IntToControlValue(r.max, r.min, r.max), r.min, r.max), r.max);
  }
}

TEST(ControlValue, FullSigned32BitRangeIsTheIdentity) {
  // min + (v + 2^31) / (2^32 - 1) * (2^32 - 1), rounded, is v again.
  for (int32_t v : {kBottom, kBottom + 1, -1000000, -1, 0, 1, 123456789, kTop - 1, kTop}) {
    EXPECT_EQ(ControlValueToInt(v, kBottom, kTop), v);
    EXPECT_NEAR(ControlValueToDouble(v, kBottom, kTop), static_cast<double>(v), 1e-5);
    EXPECT_EQ(DoubleToControlValue(static_cast<double>(v), kBottom, kTop), v);
  }
}

TEST(ControlValue, DoubleRangeEndsMidpointAndClamping) {
  EXPECT_DOUBLE_EQ(ControlValueToDouble(kBottom, 20.0, 20000.0), 20.0);
  EXPECT_DOUBLE_EQ(ControlValueToDouble(kTop, 20.0, 20000.0), 20000.0);
  EXPECT_EQ(DoubleToControlValue(20.0, 20.0, 20000.0), kBottom);
  EXPECT_EQ(DoubleToControlValue(20000.0, 20.0, 20000.0), kTop);
  // Half the range: floor(-2^31 + (2^32 - 1) / 2 + 0.5) = 0.
  EXPECT_EQ(DoubleToControlValue(10010.0, 20.0, 20000.0), 0);
  EXPECT_EQ(DoubleToControlValue(-1e9, 20.0, 20000.0), kBottom);
  EXPECT_EQ(DoubleToControlValue(1e9, 20.0, 20000.0), kTop);
  EXPECT_EQ(DoubleToControlValue(INFINITY, 20.0, 20000.0), kTop);
}

TEST(ControlValue, ReversedDoubleRangeClampsIntoIt) {
  EXPECT_EQ(DoubleToControlValue(10.0, 10.0, 0.0), kBottom);
  EXPECT_EQ(DoubleToControlValue(0.0, 10.0, 0.0), kTop);
  EXPECT_EQ(DoubleToControlValue(5.0, 10.0, 0.0), 0);
  EXPECT_EQ(DoubleToControlValue(20.0, 10.0, 0.0), kBottom);
  EXPECT_EQ(DoubleToControlValue(-3.0, 10.0, 0.0), kTop);
}

TEST(ControlValue, EmptyRangesAndNaNGiveDefinedValues) {
  EXPECT_EQ(IntToControlValue(5, 5, 5), kBottom);
  EXPECT_EQ(IntToControlValue(9, 5, 5), kBottom);
  EXPECT_EQ(ControlValueToInt(kTop, 5, 5), 5);
  EXPECT_EQ(DoubleToControlValue(2.0, 2.0, 2.0), kBottom);
  EXPECT_EQ(ControlValueToDouble(kTop, 2.0, 2.0), 2.0);
  EXPECT_EQ(DoubleToControlValue(std::nan(""), 0.0, 1.0), kBottom);
  EXPECT_EQ(DoubleToControlValue(0.5, 0.0, std::nan("")), kBottom);
}
