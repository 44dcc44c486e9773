#include "dsp/resampler/FFTWorkAreaPool.h"

#include "dsp/resampler/RealFFTWithTables.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(FFTWorkAreaPool, NewAreasAreSizedAndUnbuilt) {
  FFTWorkArea* a = AcquireFFTWorkArea(10);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->log2Size, 10);
  EXPECT_EQ(a->size, 1024);
  EXPECT_DOUBLE_EQ(a->inverseScale, 2.0 / 1024);
  EXPECT_EQ(a->ip[0], 0);
  ReleaseFFTWorkArea(a);
  EXPECT_EQ(AcquireFFTWorkArea(-1), nullptr);
  EXPECT_EQ(AcquireFFTWorkArea(31), nullptr);
}

TEST(FFTWorkAreaPool, GivenBackAreasAreReusedWithTheirTables) {
  FFTWorkAreaPool* pool = FFTWorkAreaPool::Live();
  ASSERT_NE(pool, nullptr);
  FFTWorkArea* a = AcquireFFTWorkArea(9);
  FFTWorkArea* b = AcquireFFTWorkArea(9);
  EXPECT_NE(a, b);
  std::vector<double> data(512, 1.0);
  RealFFTWithTables(512, 1, data.data(), a->ip, a->w);
  const int freeBefore = pool->CountFree(9);
  ReleaseFFTWorkArea(b);
  ReleaseFFTWorkArea(a);
  EXPECT_EQ(pool->CountFree(9), freeBefore + 2);
  // Last given back, first taken: the tables built in it come along.
  FFTWorkArea* again = AcquireFFTWorkArea(9);
  EXPECT_EQ(again, a);
  EXPECT_EQ(again->ip[0], 128);
  ReleaseFFTWorkArea(again);
}

}  // namespace
