#include "graphics/IRECT.h"

#include <gtest/gtest.h>

namespace {

TEST(IRECT, OnlyAllZeroIsEmptyAndContainsNothing) {
  const IRECT zero;
  EXPECT_TRUE(zero.Empty());
  EXPECT_FALSE(zero.Contains(0, 0));
  // Zero width, but not the empty rectangle of these tests.
  EXPECT_FALSE(IRECT(5, 5, 5, 10).Empty());
  EXPECT_FALSE(IRECT(0, 0, 0, 1).Empty());

  const IRECT r(10, 20, 30, 40);
  EXPECT_TRUE(r.Contains(10, 20));  // left and top edges are inside
  EXPECT_FALSE(r.Contains(30, 25));  // right and bottom edges are outside
  EXPECT_FALSE(r.Contains(15, 40));
  EXPECT_TRUE(r.Contains(29, 39));
  EXPECT_EQ(r.W(), 20);
  EXPECT_EQ(r.H(), 20);
}

struct PairCase {
  IRECT a, b;
  bool intersects;
  IRECT intersection, unionRect;
};

class IRECTPair : public ::testing::TestWithParam<PairCase> {};

TEST_P(IRECTPair, IntersectsIntersectionAndUnion) {
  const PairCase c = GetParam();
  EXPECT_EQ(c.a.Intersects(c.b), c.intersects);
  EXPECT_EQ(c.a.Intersection(c.b), c.intersection);
  EXPECT_EQ(c.a.Union(c.b), c.unionRect);
  EXPECT_EQ(c.b.Union(c.a), c.unionRect);
}

const IRECT kA(10, 10, 20, 20);

INSTANTIATE_TEST_SUITE_P(
    Cases, IRECTPair,
    ::testing::Values(
        PairCase{kA, IRECT(15, 15, 30, 30), true, IRECT(15, 15, 20, 20), IRECT(10, 10, 30, 30)},
        // a's right edge on b's left edge counts; the intersection has no width.
        PairCase{kA, IRECT(20, 10, 30, 20), true, IRECT(20, 10, 20, 20), IRECT(10, 10, 30, 20)},
        PairCase{kA, IRECT(10, 20, 20, 30), true, IRECT(10, 20, 20, 20), IRECT(10, 10, 20, 30)},
        // a's left edge on b's right edge does not.
        PairCase{IRECT(20, 10, 30, 20), kA, false, IRECT(), IRECT(10, 10, 30, 20)},
        PairCase{kA, IRECT(40, 40, 50, 50), false, IRECT(), IRECT(10, 10, 50, 50)},
        // The empty rectangle meets nothing and adds nothing to a union.
        PairCase{kA, IRECT(), false, IRECT(), kA},
        PairCase{IRECT(), IRECT(), false, IRECT(), IRECT()}));

}  // namespace
