#include "lice/LICE_MemBitmap.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

namespace {

bool Aligned64(const void* p) { return reinterpret_cast<uintptr_t>(p) % 64 == 0; }

struct AlignmentCase {
  unsigned int alignment;
  int width;
  int span;
};

class MemBitmapAlignment : public ::testing::TestWithParam<AlignmentCase> {};

TEST_P(MemBitmapAlignment, RowSpanRoundsTheWidthUpToTheAlignment) {
  const AlignmentCase c = GetParam();
  LICE_MemBitmap bm(c.width, 3, c.alignment);
  EXPECT_EQ(bm.getRowSpan(), c.span);
  EXPECT_EQ(bm.GetAllocatedBytes(), c.span * 3 * 4);
  ASSERT_NE(bm.getBits(), nullptr);
  EXPECT_TRUE(Aligned64(bm.getBits()));
}

// 0 and 1 pad nothing; 12 counts as its lowest set bit, 4; 32 and 64 as 16.
INSTANTIATE_TEST_SUITE_P(Alignments, MemBitmapAlignment,
                         ::testing::Values(AlignmentCase{4, 10, 12}, AlignmentCase{0, 10, 10},
                                           AlignmentCase{1, 10, 10}, AlignmentCase{12, 10, 12},
                                           AlignmentCase{32, 10, 16}, AlignmentCase{64, 17, 32},
                                           AlignmentCase{2, 7, 8}, AlignmentCase{16, 16, 16}));

TEST(MemBitmap, EmptyBitmapHoldsNoStorage) {
  LICE_MemBitmap bm(0, 0, 4);
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_FALSE(bm.resize(0, 0));
  EXPECT_EQ(bm.getDC(), nullptr);
  EXPECT_FALSE(bm.isFlipped());
  EXPECT_EQ(bm.Extended(1, nullptr), 0);
  LICE_MemBitmap oneSided(5, 0, 4);
  EXPECT_EQ(oneSided.getBits(), nullptr);
  EXPECT_EQ(oneSided.getWidth(), 0);
}

TEST(MemBitmap, BlockNeverShrinksAndGrowsByAQuarter) {
  LICE_MemBitmap bm(100, 100, 4);
  EXPECT_EQ(bm.GetAllocatedBytes(), 40000);
  EXPECT_TRUE(bm.resize(50, 50));
  EXPECT_EQ(bm.GetAllocatedBytes(), 40000);
  EXPECT_EQ(bm.getRowSpan(), 52);
  EXPECT_TRUE(bm.resize(120, 100));
  EXPECT_EQ(bm.GetAllocatedBytes(), 48000 + 12000);
  EXPECT_TRUE(Aligned64(bm.getBits()));
  EXPECT_FALSE(bm.resize(120, 100));
  // The whole block is usable: write every pixel of the grown size.
  for (int i = 0; i < bm.getRowSpan() * bm.getHeight(); ++i) bm.getBits()[i] = 0x01020304u;
}

struct EmptyingCase {
  int width, height;
};

class MemBitmapEmptying : public ::testing::TestWithParam<EmptyingCase> {};

// Non-positive sizes, and sizes whose bytes exceed INT_MAX (a 32-bit
// product would wrap to a small positive block for some), end empty; the
// answer is true, as for running out of memory.
TEST_P(MemBitmapEmptying, ResizeEndsZeroByZeroWithoutStorage) {
  const EmptyingCase c = GetParam();
  LICE_MemBitmap bm(8, 8, 4);
  EXPECT_TRUE(bm.resize(c.width, c.height));
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_EQ(bm.getWidth(), 0);
  EXPECT_EQ(bm.getHeight(), 0);
  EXPECT_EQ(bm.GetAllocatedBytes(), 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, MemBitmapEmptying,
                         ::testing::Values(EmptyingCase{0, 5}, EmptyingCase{5, 0}, EmptyingCase{-3, 4},
                                           EmptyingCase{4, -3}, EmptyingCase{65536, 65536},
                                           EmptyingCase{INT_MAX, 1}, EmptyingCase{1 << 29, 1},
                                           EmptyingCase{40000, 20000}));

TEST(MemBitmap, LargestSizeUnderTheLimitIsHeld) {
  // 8 rows of 1 << 22 pixels: 2^27 bytes, well under INT_MAX but past any
  // 32-bit product of the span alone.
  LICE_MemBitmap bm(1 << 22, 8, 4);
  ASSERT_NE(bm.getBits(), nullptr);
  EXPECT_EQ(bm.GetAllocatedBytes(), 1 << 27);
}

}  // namespace
