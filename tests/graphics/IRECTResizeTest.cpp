#include "graphics/IRECTResize.h"

#include <gtest/gtest.h>

namespace {

IRECTResize XYWH(IRECTp x, IRECTp y, IRECTp w, IRECTp h) {
  IRECTResize d;
  d.mX = x;
  d.mY = y;
  d.mW = w;
  d.mH = h;
  return d;
}

TEST(IRECTResize, EachScaledProductIsTruncatedOnItsOwn) {
  // 10 x 1.5 = 15 and 21 x 1.5 = 31.5: right is 15 + 31, not trunc(31 x 1.5).
  const IRECT r = XYWH({10, kAnchorScaled}, {10, kAnchorScaled}, {21, kAnchorScaled}, {21, kAnchorScaled})
                      .Rescaled(872, 632, 1.5, 1.5);
  EXPECT_EQ(r, IRECT(15, 15, 46, 46));
  // Truncation is toward zero on the negative side too.
  EXPECT_EQ(XYWH({-3, kAnchorScaled}, {0, 0}, {3, kAnchorScaled}, {1, 0}).Rescaled(100, 100, 1.5, 1.0),
            IRECT(-4, 0, 0, 1));
}

TEST(IRECTResize, ARightAnchoredWidthIsTakenFromX) {
  const IRECTResize d = XYWH({-40, kAnchorFromRight}, {0, 0}, {30, kAnchorFromRight}, {10, 0});
  EXPECT_EQ(d.Rescaled(872, 632, 1.0, 1.0), IRECT(832, 0, 1664, 10));
  const IRECTResize v = XYWH({0, 0}, {-20, kAnchorFromBottom}, {10, 0}, {5, kAnchorFromBottom});
  EXPECT_EQ(v.Rescaled(872, 632, 2.0, 0.5), IRECT(0, 306, 10, 612));
}

struct CellCase {
  int mode;
  int horizontal;  // the left cell of value 10 at base width 100 and scale x 2
  int vertical;    // the top cell of value 10 at base height 50 and scale y 3
};

class IRECTResizeCell : public ::testing::TestWithParam<CellCase> {};

TEST_P(IRECTResizeCell, ModesActOnTheirOwnAxis) {
  IRECTResize d;
  d.mForm = IRECTResize::kFormLTRB;
  d.mL = {10, GetParam().mode};
  d.mT = {10, GetParam().mode};
  const IRECT r = d.Rescaled(100, 50, 2.0, 3.0);
  EXPECT_EQ(r.L, GetParam().horizontal);
  EXPECT_EQ(r.T, GetParam().vertical);
}

INSTANTIATE_TEST_SUITE_P(Modes, IRECTResizeCell,
                         ::testing::Values(CellCase{kAnchorFixed, 10, 10}, CellCase{kAnchorFromRight, 220, 10},
                                           CellCase{kAnchorFromBottom, 10, 180}, CellCase{kAnchorScaled, 20, 30},
                                           CellCase{7, 10, 10}));

TEST(IRECTResize, AnUnknownFormIsEmptyAndScaledKeepsTheRectangle) {
  IRECTResize d = IRECTResize::Scaled(IRECT(92, 84, 789, 428));
  EXPECT_EQ(d.UnscaledRECT(), IRECT(92, 84, 789, 428));
  EXPECT_EQ(d.Rescaled(872, 632, 1.0, 1.0), IRECT(92, 84, 789, 428));
  EXPECT_EQ(d.Rescaled(872, 632, 2.0, 2.0), IRECT(184, 168, 1578, 856));
  d.mForm = 2;
  EXPECT_TRUE(d.Rescaled(872, 632, 2.0, 2.0).Empty());
  d.mForm = -1;
  EXPECT_TRUE(d.Rescaled(872, 632, 1.0, 1.0).Empty());
}

}  // namespace
