#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "plugin/engine/BandTypes.h"
#include "tests/editor/display/ScopeDrawFixture.h"

namespace {

class Curves : public ScopeDrawTest {
 protected:
  Curves() {
    scope->mShowGrid = 0;
    scope->mBorderLines = 0;
    response = [this](double hz, int channel, int band) {
      calls.emplace_back(channel, band);
      return shape ? shape(hz, channel, band) : 0.0;
    };
  }
  // The curves in the order they were sampled, each (channel, band) once.
  std::vector<std::pair<int, int>> CurveOrder() const {
    std::vector<std::pair<int, int>> order;
    for (const auto& c : calls) {
      if (order.empty() || order.back() != c) order.push_back(c);
    }
    return order;
  }
  int YOf(double db) const { return YRound(db, scope->mEqDbLo, scope->mEqDbHi); }
  // The plot column of frequency hz, as the curves sample it.
  static int ColumnOf(double hz) { return static_cast<int>(std::floor(kW * Pos(hz) + 0.5)); }

  std::function<double(double, int, int)> shape;
  std::vector<std::pair<int, int>> calls;
};

TEST_F(Curves, ABOffOrTheMouseColumnHideTheCurvesAndTheHandles) {
  WireBands();
  PlaceBand(0, 1000.0, 6.0);
  scope->mShowCurve[0] = 1;
  scope->mShowAddCurves = 1;
  const struct {
    int ab, mouseColumn;
    bool shown;
  } rows[] = {{1, 0, true}, {0, 0, false}, {1, 1, false}, {0, 1, false}};
  const int hx = XTrunc(1000.0), hy = YTrunc(6.0, scope->mEqDbLo, scope->mEqDbHi);
  for (const auto& r : rows) {
    scope->mAB = r.ab;
    scope->mMouseColumn = r.mouseColumn;
    scope->mEvent.mMouseX = kL + 100;  // the mouse column stays clear of the handle
    scope->mEvent.mMouseY = kT + 10;
    calls.clear();
    DrawScope();
    EXPECT_EQ(!calls.empty(), r.shown) << r.ab << r.mouseColumn;
    EXPECT_EQ(PaintedIn(hx - 3, hy - 3, hx + 3, hy + 3) > 0, r.shown) << r.ab << r.mouseColumn;
  }
}

TEST_F(Curves, TheChannelSumsAreDrawnThickWithAllLast) {
  for (int& shown : scope->mShowCurve) shown = 1;
  shape = [](double, int, int) { return 12.0; };
  DrawScope();
  const std::vector<std::pair<int, int>> order = CurveOrder();
  EXPECT_EQ(order, (std::vector<std::pair<int, int>>{{1, -1}, {2, -1}, {3, -1}, {4, -1}, {0, -1}}));
  // "All" is opaque: it alone shows where the five lie on one another,
  // and at 100 % the sums are two pixels thick (one either side).
  const int y = YOf(12.0);
  const Rgb all = RgbOf(scope->mColors[8]);
  for (int dy : {-1, 0, 1}) EXPECT_EQ(At(400, y + dy), all) << dy;
  EXPECT_FALSE(Painted(400, y - 2));
  EXPECT_FALSE(Painted(400, y + 2));

  scope->mShowCurve[0] = 0;
  DrawScope();
  EXPECT_TRUE(Painted(400, y));
  EXPECT_NE(At(400, y), all);
}

TEST_F(Curves, EveryBandHasItsCurveButOnlyASoundingHoveredBandItsFill) {
  WireBands();
  scope->mShowAddCurves = 1;
  scope->mShowCurve[0] = 1;
  scope->mShowCurve[1] = 0;
  // Band k lifts +10 dB over its own octave; the sums (band -1) stay flat.
  const double lows[3] = {100.0, 1000.0, 5000.0};
  shape = [&](double hz, int, int band) {
    return band >= 0 && band < 3 && hz >= lows[band] && hz < 2.0 * lows[band] ? 10.0 : 0.0;
  };
  for (int b = 0; b < 3; ++b) {
    PlaceBand(b, 1.5 * lows[b], 10.0, kTypeAPeak, b != 1);
    scope->mHandleHover[b] = 1;
    scope->mHoverAmount[b] = 1.0;
  }
  chMode[2] = kChannelLeft;  // its channel's sum is hidden
  scope->mMouseColumn = 0;
  DrawScope();
  const int middle = (YOf(10.0) + YOf(0.0)) / 2;
  const auto column = [&](int b) { return kL + ColumnOf(1.25 * lows[b]); };
  EXPECT_TRUE(Painted(column(0), middle));   // active, hovered, its curve shown
  EXPECT_FALSE(Painted(column(1), middle));  // inactive
  EXPECT_FALSE(Painted(column(2), middle));  // on a hidden channel
  for (int b = 0; b < 3; ++b) EXPECT_TRUE(Painted(column(b), YOf(10.0))) << b;  // the curves all

  scope->mShowAddCurves = 0;
  calls.clear();
  DrawScope();
  for (const auto& c : calls) EXPECT_EQ(c.second, -1);
}

TEST_F(Curves, ACurveLeavingThePlotIsCutAndClampedAtTheEdge) {
  scope->mShowCurve[0] = 1;
  // +100 dB between 1 and 2 kHz: far above the top.
  shape = [](double hz, int, int) { return hz >= 1000.0 && hz < 2000.0 ? 100.0 : 0.0; };
  DrawScope();
  const int first = kL + ColumnOf(1000.0) + 1;  // the first column sampled inside
  const int inside = kL + ColumnOf(1400.0);
  EXPECT_FALSE(Painted(inside, kT));
  EXPECT_FALSE(Painted(inside, kT + 5));
  // The piece that crosses the edge ends on the top row.
  bool crossing = false;
  for (int x = first - 3; x <= first + 3; ++x) crossing = crossing || Painted(x, kT);
  EXPECT_TRUE(crossing);
  // The curve starts a column in from the left edge.
  EXPECT_FALSE(Painted(kL - 1, YOf(0.0)));
  EXPECT_TRUE(Painted(kL + 2, YOf(0.0)));
}

TEST_F(Curves, ABandsMarkerLineReachesItsHandleLevel) {
  WireBands();
  scope->mShowAddCurves = 1;
  // The band's own curve sits at -3 dB everywhere.
  shape = [](double, int, int band) { return band == 0 ? -3.0 : 0.0; };
  const int x = kL + ColumnOf(2000.0);
  const struct {
    int type;
    double q;
    double levelDb;  // NaN: no line
  } rows[] = {{kTypeDLowCut, 1.4, 20.0 * std::log10(2.0)}, {kTypeAHighCut, 0.7, 0.0},
              {kTypeALowShelf, 0.7, 9.0},                   {kTypeABandPass, 3.0, 0.0},
              {kTypeAPeak, 0.7, std::nan("")},              {kTypeDPeak, 0.7, std::nan("")}};
  for (const auto& r : rows) {
    PlaceBand(0, 2000.0, 9.0, r.type, 0);
    q[0] = r.q;
    // The curves alone: the handle sits where the line ends.
    Clear();
    scope->DrawEQCurves(graphics);
    const int curve = YOf(-3.0);
    const int between = std::isnan(r.levelDb) ? YOf(3.0) : (curve + YOf(r.levelDb)) / 2;
    EXPECT_EQ(Painted(x, between), !std::isnan(r.levelDb)) << r.type;
    if (!std::isnan(r.levelDb)) {
      EXPECT_TRUE(Painted(x, YOf(r.levelDb))) << r.type;
      EXPECT_FALSE(Painted(x, YOf(r.levelDb) - 3)) << r.type;
    }
  }
}

}  // namespace
