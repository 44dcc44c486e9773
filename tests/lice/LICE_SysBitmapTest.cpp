#include "lice/LICE_SysBitmap.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "lice/DrawContext.h"

namespace {

TEST(SysBitmap, WidthRoundsUpToFourAndTheContextIsKeptWhileTheSizeFits) {
  LICE_SysBitmap bm(101, 7);
  EXPECT_EQ(bm.getRowSpan(), 104);
  ASSERT_NE(bm.getDC(), nullptr);
  EXPECT_EQ(bm.getBits(), GetMemContextBits(bm.getDC()));
  EXPECT_EQ(reinterpret_cast<uintptr_t>(bm.getBits()) % 64, 0u);
  // A fresh context is zeroed.
  for (int i = 0; i < 104 * 7; ++i) ASSERT_EQ(bm.getBits()[i], 0u) << i;

  DrawContext* first = bm.getDC();
  EXPECT_TRUE(bm.resize(50, 5));
  EXPECT_EQ(bm.getDC(), first);
  EXPECT_EQ(bm.getRowSpan(), 104);
  EXPECT_EQ(bm.getWidth(), 50);
  EXPECT_FALSE(bm.resize(50, 5));

  EXPECT_TRUE(bm.resize(200, 5));
  EXPECT_EQ(bm.getRowSpan(), 200);
  ASSERT_NE(bm.getBits(), nullptr);
  bm.getBits()[200 * 5 - 1] = 1;  // the last pixel exists
}

TEST(SysBitmap, ZeroSizeReleasesTheContextAndAnswersFalse) {
  LICE_SysBitmap bm(16, 16);
  EXPECT_FALSE(bm.resize(0, 5));
  EXPECT_EQ(bm.getDC(), nullptr);
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_EQ(bm.getWidth(), 0);
  EXPECT_EQ(bm.getHeight(), 5);
  EXPECT_TRUE(bm.resize(3, 2));
  EXPECT_NE(bm.getBits(), nullptr);

  LICE_SysBitmap empty;
  EXPECT_EQ(empty.getBits(), nullptr);
  EXPECT_FALSE(empty.isFlipped());
  EXPECT_EQ(empty.Extended(7, nullptr), 0);
}

TEST(SysBitmap, NegativeSizeNeverKeepsPixels) {
  LICE_SysBitmap bm(16, 16);
  EXPECT_FALSE(bm.resize(-4, 8));
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_EQ(bm.getDC(), nullptr);
}

TEST(SysBitmap, MoreThanIntMaxBytesIsAnEmptyBitmap) {
  LICE_SysBitmap bm(16, 16);
  EXPECT_TRUE(bm.resize(40000, 20000));
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_EQ(bm.getWidth(), 0);
  EXPECT_EQ(bm.getHeight(), 0);
  EXPECT_TRUE(bm.resize(INT_MAX, 1));
  EXPECT_EQ(bm.getBits(), nullptr);
}

}  // namespace
