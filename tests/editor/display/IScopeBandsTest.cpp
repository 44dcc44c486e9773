#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "editor/display/ScopePalettes.h"
#include "plugin/engine/BandTypes.h"
#include "tests/editor/display/ScopeDrawFixture.h"

namespace {

class Handles : public ScopeDrawTest {
 protected:
  Handles() {
    scope->mShowGrid = 0;
    scope->mBorderLines = 0;
    WireBands();
  }
  // A frequency whose handle truncates to column x without doubt.
  static double HzAtColumn(int x) { return std::pow(10.0, 1.0 + (x - kL + 0.5) / kW * std::log10(3000.0)); }
  int Row(double db) const { return YTrunc(db, scope->mEqDbLo, scope->mEqDbHi); }
};

TEST_F(Handles, InactiveHandlesLieUnderActiveOnesWhateverTheirIndex) {
  const Rgb core = RgbOf(FrequencyPaletteColor(1000.0, 255));
  for (int activeBand : {0, 1}) {
    PlaceBand(0, 1000.0, 6.0, kTypeAPeak, activeBand == 0);
    PlaceBand(1, 1000.0, 6.0, kTypeAPeak, activeBand == 1);
    scope->mHoverAmount[activeBand] = 1.0;  // fully opaque
    scope->mHoverAmount[1 - activeBand] = 0.0;
    DrawScope();
    EXPECT_EQ(At(XTrunc(1000.0), Row(6.0)), core) << activeBand;
  }
}

TEST_F(Handles, AHandleReachingOutsideThePlotIsNotDrawn) {
  const int r = scope->mHandleRadius;   // 7
  const int e = 4 * (r - 2);            // an active handle keeps room for its arrows
  // Clear of the scales' labels at -6 dB.
  const struct {
    int x;
    double db;
    int isActive;
    bool drawn;
  } rows[] = {
      {kL + r, -6.0, 0, true},     {kL + r - 1, -6.0, 0, false}, {kR - r - 1, -6.0, 0, true},
      {kR - r, -6.0, 0, false},    {kL + e, -6.0, 1, true},      {kL + e - 1, -6.0, 1, false},
      {kR - e - 1, -6.0, 1, true}, {kR - e, -6.0, 1, false},     {400, 36.0, 0, false},
      {400, -60.0, 1, false},
  };
  for (const auto& row : rows) {
    PlaceBand(0, HzAtColumn(row.x), row.db, kTypeAPeak, row.isActive);
    DrawScope();
    const int y = Row(row.db);
    EXPECT_EQ(PaintedIn(row.x - r - 1, std::max(y - r - 1, 0), row.x + r + 2, y + r + 2) > 0, row.drawn)
        << row.x << " " << row.db << " " << row.isActive;
  }
}

TEST_F(Handles, ChannelArrowsPointTheChannelsWay) {
  const int x = 400, y = Row(0.0);
  PlaceBand(0, HzAtColumn(x), 0.0);
  const int inner = scope->mHandleRadius - 2;
  const int e = 4 * inner, d = 7;
  const struct {
    int mode;
    bool left, right, below;
  } rows[] = {{kChannelAll, false, false, false},
              {kChannelLeft, true, false, false},
              {kChannelRight, false, true, false},
              {kChannelMid, false, false, true},
              {kChannelSide, true, true, false}};
  for (const auto& r : rows) {
    chMode[0] = r.mode;
    DrawScope();
    // A pixel inside each triangle, a little in from its tip.
    EXPECT_EQ(Painted(x - e + d / 2 + 1, y), r.left) << r.mode;
    EXPECT_EQ(Painted(x + e - d / 2 - 1, y), r.right) << r.mode;
    EXPECT_EQ(Painted(x, y + e - d / 2), r.below) << r.mode;
    EXPECT_FALSE(Painted(x, y - e + d / 2)) << r.mode;
  }
}

TEST_F(Handles, CutAndBandPassHandlesSitAtTheirLevels) {
  const int x = 400;
  const struct {
    int type;
    double gainDb, q, levelDb;
  } rows[] = {{kTypeDLowCut, 9.0, 0.7, 0.0},
              {kTypeDLowCut, 9.0, 1.4, 20.0 * std::log10(2.0)},
              {kTypeABandPass, 9.0, 1.0, 0.0},
              {kTypeANotch, -9.0, 1.0, 0.0},
              {kTypeAHighShelf, -9.0, 1.0, -9.0}};
  for (const auto& r : rows) {
    PlaceBand(0, HzAtColumn(x), r.gainDb, r.type);
    q[0] = r.q;
    scope->mHoverAmount[0] = 1.0;
    DrawScope();
    EXPECT_EQ(At(x, Row(r.levelDb)), RgbOf(FrequencyPaletteColor(HzAtColumn(x), 255))) << r.type << " " << r.q;
  }
}

// The disc is drawn on the row the gain mapping gives, which is also the
// centre of the rectangle that takes the mouse; at some zooms the fraction
// of the range, taken first, lands exactly on a whole row while the
// mapping stays just below it.
TEST_F(Handles, TheDiscLiesOnTheRowThatTakesTheMouse) {
  const int x = 400;
  const int r = scope->mHandleRadius;
  const struct {
    double eqZoom, gainDb;
  } rows[] = {{0.07, -0.84}, {0.13, -1.56}, {0.26, -3.12}, {0.59, -7.08}, {1.0, -6.0}, {0.5, 3.0}};
  for (const auto& row : rows) {
    scope->SetEQScale(row.eqZoom);
    PlaceBand(0, HzAtColumn(x), row.gainDb, kTypeAPeak, 0);
    DrawScope();
    const int y = Row(row.gainDb);
    // The inactive disc is symmetric about its centre row.
    int top = INT_MAX, bottom = INT_MIN;
    for (int yy = y - 3 * r; yy <= y + 3 * r; ++yy) {
      if (!Painted(x, yy)) continue;
      top = std::min(top, yy);
      bottom = std::max(bottom, yy);
    }
    ASSERT_NE(top, INT_MAX) << row.eqZoom;
    EXPECT_EQ(top + bottom, 2 * y) << row.eqZoom << " " << row.gainDb;
    EXPECT_EQ(scope->mHandleCentre[0].y, y) << row.eqZoom << " " << row.gainDb;
  }
}

// The readouts at the mouse: white text in dark boxes; the gain in yellow.
class Readouts : public Handles {
 protected:
  // The columns (or rows) holding pixels of exactly c inside the rectangle.
  void ExtentOf(const Rgb& c, int l, int t, int r, int b, int* x0, int* x1, int* y0 = nullptr) const {
    *x0 = INT_MAX;
    *x1 = INT_MIN;
    int top = INT_MAX;
    for (int y = t; y < b; ++y) {
      for (int x = l; x < r; ++x) {
        if (At(x, y) != c) continue;
        *x0 = std::min(*x0, x);
        *x1 = std::max(*x1, x);
        top = std::min(top, y);
      }
    }
    if (y0) *y0 = top;
  }
  const Rgb kWhite{255, 255, 255};
  static constexpr int kAdvance = 5;  // the 11-pixel test font of the 12-pixel labels
};

TEST_F(Readouts, TheFrequencyReadoutStaysFivePixelsInsideThePlot) {
  const int s = scope->mLabelTextSize;
  scope->mEvent.mMouseY = 300;
  int x0, x1;
  scope->mEvent.mMouseX = kL;
  DrawScope();
  ExtentOf(kWhite, 0, kB - s, graphics->Width(), kB, &x0, &x1);
  EXPECT_EQ(x0, kL + 5);  // "10.000": probe "99.999", six glyphs

  scope->mEvent.mMouseX = kR - 1;
  DrawScope();
  ExtentOf(kWhite, 0, kB - s, graphics->Width(), kB, &x0, &x1);
  // Right-aligned, ending 5 pixels in; a glyph leaves its advance's last column empty.
  EXPECT_EQ(x1, kR - 5 - 2);

  // Off the plot: no readouts.
  scope->mEvent.mMouseX = kR;
  DrawScope();
  ExtentOf(kWhite, 0, 0, graphics->Width(), graphics->Height(), &x0, &x1);
  EXPECT_EQ(x0, INT_MAX);
}

TEST_F(Readouts, OverABandItsFrequencyAndGainReplaceTheMouses) {
  const int s = scope->mLabelTextSize;
  const Rgb yellow = RgbOf(scope->mColors[20]);
  PlaceBand(3, 1000.0, 6.0);
  scope->mEvent.mMouseX = 200;
  scope->mEvent.mMouseY = 300;
  int x0, x1, top;
  DrawScope();
  ExtentOf(yellow, kR - 40, kT, kR, kB, &x0, &x1, &top);
  const double mouseGain = scope->mEqDbLo + (kB - 300.0) / kH * (scope->mEqDbHi - scope->mEqDbLo);
  EXPECT_GE(top, Row(mouseGain) - s / 2);
  EXPECT_LT(top, Row(mouseGain) - s / 2 + s);

  scope->mEvent.mHitBand = 3;
  DrawScope();
  ExtentOf(yellow, kR - 40, kT, kR, kB, &x0, &x1, &top);
  EXPECT_GE(top, Row(6.0) - s / 2);
  EXPECT_LT(top, Row(6.0) - s / 2 + s);
  // The frequency box sits under the band: "1000.0" centred on its column.
  ExtentOf(kWhite, 0, kB - s, graphics->Width(), kB, &x0, &x1);
  const int w = 6 * kAdvance;  // probe "9999.9"
  EXPECT_EQ(x0, XTrunc(1000.0) - w / 2);
  // And the note carries its cents: "B 5 +21C" on the probe "A#9 +99C".
  ExtentOf(kWhite, 0, kB - 2 * s - s / 3, graphics->Width(), kB - 2 * s - s / 3 + s, &x0, &x1);
  EXPECT_EQ(x1 + 2 - (XTrunc(1000.0) - 8 * kAdvance / 2), 8 * kAdvance);
}

}  // namespace
