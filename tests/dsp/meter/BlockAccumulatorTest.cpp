#include "dsp/meter/BlockAccumulator.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(BlockAccumulator, ShortTermWindowAt48kHzHopsEvery4800Samples) {
  BlockAccumulator acc;
  acc.hopOverlap = 1.0 - 100.0 / (1000.0 * 3.0);
  acc.Reset(144000);
  std::vector<int> hops;
  for (int i = 0; i < 144000 + 10 * 4800 + 5; ++i) {
    if (acc.AccumulateBlock(0.5, 0.5)) hops.push_back(i);
  }
  ASSERT_EQ(hops.size(), 11u);
  // The first block value comes when the window is full.
  EXPECT_EQ(hops[0], 143999);
  for (size_t k = 1; k < hops.size(); ++k) EXPECT_EQ(hops[k] - hops[k - 1], 4800) << k;
  EXPECT_NEAR(acc.meanSquare, 0.5, 1e-12);
}

TEST(BlockAccumulator, PartialWindowDividesByTheWholeLength) {
  BlockAccumulator acc;
  acc.hopOverlap = 1.0;  // a value every sample
  acc.Reset(1000);
  for (int i = 0; i < 250; ++i) EXPECT_EQ(acc.AccumulateBlock(1.0, 0.0), 0);
  EXPECT_DOUBLE_EQ(acc.meanSquare, 0.25);
  for (int i = 250; i < 999; ++i) acc.AccumulateBlock(1.0, 0.0);
  EXPECT_EQ(acc.AccumulateBlock(1.0, 0.0), 1);
  EXPECT_DOUBLE_EQ(acc.meanSquare, 1.0);
}

TEST(BlockAccumulator, SlidesOverTheLastWindowAndHalvesWhenAsked) {
  BlockAccumulator acc;
  acc.hopOverlap = 1.0;
  acc.halveSum = 1;
  acc.Reset(100);
  std::vector<double> powers;
  for (int i = 0; i < 350; ++i) {
    const double l = (i % 7) * 0.1, r = (i % 3) * 0.2;
    powers.push_back((l * l + r * r) / 2.0);
    acc.AccumulateBlock(l, r);
    if (i >= 99) {
      double sum = 0.0;
      for (int k = i - 99; k <= i; ++k) sum += powers[k];
      ASSERT_NEAR(acc.meanSquare, sum / 100.0, 1e-12) << i;
      ASSERT_EQ(acc.newBlock, 1);
    }
  }
  EXPECT_LE(acc.blockMinimum, acc.meanSquare);
  EXPECT_GE(acc.blockMaximum, acc.meanSquare);
}

}  // namespace
