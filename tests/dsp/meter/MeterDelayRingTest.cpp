#include "dsp/meter/MeterDelayRing.h"

#include <gtest/gtest.h>

namespace {

TEST(MeterDelayRing, DelaysByItsLengthAndClampsTheRequest) {
  struct Case {
    int requested, length;
  } cases[] = {{0, 0}, {5, 5}, {-20, 0}, {1000, 100}};
  for (const Case& c : cases) {
    MeterDelayRing ring;
    ring.Init(100, c.requested);
    EXPECT_EQ(ring.length, c.length) << c.requested;
    for (int i = 0; i < 300; ++i) {
      const double out = ring.Push(i + 1.0);
      const double expected = i >= c.length ? i + 1.0 - c.length : 0.0;
      ASSERT_EQ(out, expected) << c.requested << " " << i;
    }
  }
}

}  // namespace
