#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "tests/editor/display/ScopeFixture.h"

namespace {

const IMouseMod kLeft(true);
const IMouseMod kRight(false, true);

// Plot 100,89 - 781,423 (681 by 334) over 10 Hz .. 30 kHz and -60 .. +36 dB.
constexpr int kL = 100, kB = 423, kW = 681, kH = 334;
double HzAt(int x) { return std::pow(10.0, 1.0 + static_cast<double>(x - kL) / kW * (std::log10(30000.0) - 1.0)); }
double DbAt(int y) { return static_cast<double>(kB - y) / kH * 96.0 - 60.0; }

class ScopeMouse : public ScopeFixture {
 protected:
  // Every notification carries exactly one gesture flag, and none is left
  // set once the handler returns.
  void TearDown() override {
    for (const auto& n : plug.mNotes) EXPECT_EQ(EventFlagsSet(n.event), 1);
    EXPECT_EQ(EventFlagsSet(scope.mEvent), 0);
    EXPECT_EQ(scope.mEvent.mStep, 0);
    EXPECT_EQ(scope.mEvent.mDragDX, 0.0);
    EXPECT_EQ(scope.mEvent.mDragDY, 0.0);
  }

  IScope::Point Centre(int b) const { return scope.mHandleCentre[b]; }
  void Down(int x, int y, IMouseMod mod = kLeft) { scope.OnMouseDown(x, y, &mod); }
};

TEST_F(ScopeMouse, HighestBandWinsAndActiveBeforeInactive) {
  PlaceBand(2, 1000.0, 0.0);
  PlaceBand(5, 1000.0, 0.0);
  PlaceBand(1, 100.0, 6.0);
  PlaceBand(7, 100.0, 6.0);
  PlaceBand(9, 100.0, 6.0);
  active[7] = active[9] = 0;
  PlaceBand(3, 5000.0, -12.0);
  PlaceBand(4, 5000.0, -12.0);
  active[3] = active[4] = 0;
  const struct {
    int under;
    int hit;
  } rows[] = {{2, 5}, {9, 1}, {3, 4}};
  for (const auto& r : rows) {
    plug.mNotes.clear();
    Down(Centre(r.under).x, Centre(r.under).y);
    EXPECT_EQ(OnlyNote().event.mHitBand, r.hit) << r.under;
  }
}

TEST_F(ScopeMouse, AHandleTakesClicksFromSevenLeftToSixRight) {
  PlaceBand(6, 3000.0, 10.0);
  const IScope::Point c = Centre(6);
  const struct {
    int dx, dy;
    bool hit;
  } rows[] = {{-7, 0, true}, {6, 0, true}, {7, 0, false}, {0, -7, true}, {0, 6, true}, {0, 7, false}, {-8, -7, false}};
  for (const auto& r : rows) {
    plug.mNotes.clear();
    Down(c.x + r.dx, c.y + r.dy);
    EXPECT_EQ(OnlyNote().event.mHitBand, r.hit ? 6 : -1) << r.dx << "," << r.dy;
    EXPECT_EQ(OnlyNote().event.mPlotHit, r.hit ? 0 : 1);
  }
}

TEST_F(ScopeMouse, DownOnAHandleReportsTheBandAndClearsTheFlagAfter) {
  PlaceBand(8, 200.0, -3.0);
  Down(Centre(8).x, Centre(8).y);
  const GraphEventRecord& e = OnlyNote().event;
  EXPECT_TRUE(e.mEvDown);
  EXPECT_EQ(e.mHitBand, 8);
  EXPECT_EQ(e.mPlotHit, 0);
  // The hit band outlives the call: a drag that follows moves it.
  EXPECT_EQ(scope.mEvent.mHitBand, 8);
}

TEST_F(ScopeMouse, DownOffTheHandlesFindsTheStripBottomFirstThenLeft) {
  const struct {
    const char* name;
    int x, y;
    bool notifies;
    int freq, analyzer, eq;
  } rows[] = {
      {"plot", 440, 250, true, 0, 0, 0},       {"bottom", 400, 410, true, 1, 0, 0},
      {"left", 110, 200, true, 0, 1, 0},       {"right", 770, 200, true, 0, 0, 1},
      {"bottom-left", 110, 410, true, 1, 0, 0}, {"bottom-right", 770, 410, true, 1, 0, 0},
      {"last plot column", 780, 422, true, 1, 0, 0}, {"margin", 95, 200, false, 0, 0, 0},
      {"below the plot", 400, 423, false, 0, 0, 0},
  };
  for (const auto& r : rows) {
    plug.mNotes.clear();
    Down(r.x, r.y);
    ASSERT_EQ(plug.mNotes.size(), r.notifies ? 1u : 0u) << r.name;
    if (!r.notifies) continue;
    const GraphEventRecord& e = plug.mNotes[0].event;
    EXPECT_TRUE(e.mEvDown) << r.name;
    EXPECT_EQ(e.mPlotHit, 1) << r.name;
    EXPECT_EQ(e.mOnFreqScale, r.freq) << r.name;
    EXPECT_EQ(e.mOnAnalyzerScale, r.analyzer) << r.name;
    EXPECT_EQ(e.mOnEQScale, r.eq) << r.name;
  }
}

TEST_F(ScopeMouse, RightClickOffTheHandlesDoesNothingAtAll) {
  Down(440, 250, kRight);
  Down(440, 250, IMouseMod(true, false, true, true));
  EXPECT_TRUE(plug.mNotes.empty());
}

TEST_F(ScopeMouse, WheelStepIsMinusTheTurnAndEndsAtZero) {
  PlaceBand(0, 500.0, 0.0);
  IMouseMod mod(false);
  scope.OnMouseWheel(Centre(0).x, Centre(0).y, &mod, 1);
  EXPECT_EQ(OnlyNote().event.mStep, -1);
  EXPECT_TRUE(OnlyNote().event.mEvWheel);
  EXPECT_EQ(OnlyNote().event.mHitBand, 0);

  // Off the handles in a strip; the strip and plot flags stay afterwards.
  plug.mNotes.clear();
  scope.OnMouseWheel(110, 200, &mod, -3);
  EXPECT_EQ(OnlyNote().event.mStep, 3);
  EXPECT_EQ(OnlyNote().event.mOnAnalyzerScale, 1);
  EXPECT_EQ(scope.mEvent.mOnAnalyzerScale, 1);
  EXPECT_EQ(scope.mEvent.mPlotHit, 1);

  // Outside the plot nothing is told.
  plug.mNotes.clear();
  scope.OnMouseWheel(95, 200, &mod, 1);
  EXPECT_TRUE(plug.mNotes.empty());
}

TEST_F(ScopeMouse, DragReportsMovementByWhereItStarted) {
  PlaceBand(4, 1000.0, 0.0);
  const IScope::Point c = Centre(4);
  const struct {
    const char* name;
    int downX, downY;  // where the mouse went down
    int x, y, dx, dy;  // the drag event
    int hitBand, plotHit, freq, analyzer, eq, step;
    double reportedDX, reportedDY;
  } rows[] = {
      // A grabbed handle stays grabbed outside its rectangle and moves both ways.
      {"handle", c.x, c.y, c.x + 40, c.y - 30, 40, -30, 4, 0, 0, 0, 0, 0, 40, -30},
      {"bottom strip", 300, 410, 297, 412, -3, 2, -1, 1, 1, 0, 0, -1, -3, 0},
      {"left strip", 110, 150, 111, 160, 1, 10, -1, 1, 0, 1, 0, 1, 0, 10},
      {"right strip", 770, 150, 770, 148, 0, -2, -1, 1, 0, 0, 1, -1, 0, -2},
      {"empty plot", 440, 200, 450, 210, 10, 10, -1, 1, 0, 0, 0, 0, 0, 0},
      {"out of the plot", 440, 200, 440, 500, 0, 290, -1, 1, 0, 0, 0, 0, 0, 0},
  };
  for (const auto& r : rows) {
    Down(r.downX, r.downY);
    plug.mNotes.clear();
    IMouseMod mod(true);
    scope.OnMouseDrag(r.x, r.y, r.dx, r.dy, &mod);
    const GraphEventRecord& e = OnlyNote().event;
    EXPECT_TRUE(e.mEvDrag) << r.name;
    EXPECT_EQ(e.mHitBand, r.hitBand) << r.name;
    EXPECT_EQ(e.mPlotHit, r.plotHit) << r.name;
    EXPECT_EQ(e.mOnFreqScale, r.freq) << r.name;
    EXPECT_EQ(e.mOnAnalyzerScale, r.analyzer) << r.name;
    EXPECT_EQ(e.mOnEQScale, r.eq) << r.name;
    EXPECT_EQ(e.mStep, r.step) << r.name;
    EXPECT_EQ(e.mDragDX, r.reportedDX) << r.name;
    EXPECT_EQ(e.mDragDY, r.reportedDY) << r.name;
    EXPECT_EQ(e.mMouseX, r.x);
    EXPECT_EQ(e.mMouseY, r.y);
    EXPECT_NEAR(e.mHzAtMouse, HzAt(r.x), 1e-9 * HzAt(r.x)) << r.name;
    EXPECT_NEAR(e.mDBAtMouse, DbAt(r.y), 1e-9) << r.name;
    if (r.hitBand < 0) {
      // Strip flags belong to one drag event only.
      EXPECT_EQ(scope.mEvent.mPlotHit + scope.mEvent.mOnFreqScale + scope.mEvent.mOnAnalyzerScale +
                    scope.mEvent.mOnEQScale,
                0)
          << r.name;
    }
  }
}

TEST_F(ScopeMouse, HoverFadesOverTwiceTheHoverRadius) {
  PlaceBand(10, 2000.0, 0.0);
  const IScope::Point c = Centre(10);
  const struct {
    int dx, dy;
    int hover;
    double amount;
  } rows[] = {{0, 0, 1, 1.0},   {14, 0, 1, 0.5},  {0, -14, 1, 0.5}, {-28, 0, 1, 0.0},
              {27, 0, 1, 1.0 / 28.0}, {28, 0, 0, 0.0}, {10, 10, 1, 1.0 - std::sqrt(200.0) / 28.0}};
  IMouseMod none(false);
  for (const auto& r : rows) {
    scope.OnMouseOver(c.x + r.dx, c.y + r.dy, &none);
    EXPECT_EQ(scope.mHandleHover[10], r.hover) << r.dx << "," << r.dy;
    EXPECT_NEAR(scope.mHoverAmount[10], r.amount, 1e-12) << r.dx << "," << r.dy;
    EXPECT_EQ(scope.mHandleHover[2], 0);  // bands elsewhere stay unlit
  }
  // At 150 %: radius 10, hover rectangle +-40, the fade over 40 pixels.
  scope.Rescale(1.5, 1.5);
  const IScope::Point c15 = Centre(10);
  scope.OnMouseOver(c15.x + 20, c15.y, &none);
  EXPECT_NEAR(scope.mHoverAmount[10], 0.5, 1e-12);
  scope.OnMouseOver(c15.x - 40, c15.y, &none);
  EXPECT_EQ(scope.mHandleHover[10], 1);
  EXPECT_EQ(scope.mHoverAmount[10], 0.0);
}

TEST_F(ScopeMouse, OverReportsThePositionAndTheBandUnderIt) {
  PlaceBand(3, 700.0, 4.0);
  IMouseMod none(false);
  scope.OnMouseOver(Centre(3).x + 2, Centre(3).y - 3, &none);
  const GraphEventRecord& e = OnlyNote().event;
  EXPECT_TRUE(e.mEvHover);
  EXPECT_EQ(e.mHitBand, 3);
  EXPECT_EQ(e.mMouseX, Centre(3).x + 2);
  EXPECT_NEAR(e.mHzAtMouse, HzAt(Centre(3).x + 2), 1e-9 * e.mHzAtMouse);
  EXPECT_NEAR(e.mDBAtMouse, DbAt(Centre(3).y - 3), 1e-9);
  // Outside the plot the values run past the shown ranges.
  scope.OnMouseOver(50, 20, &none);
  EXPECT_LT(scope.mEvent.mHzAtMouse, 10.0);
  EXPECT_GT(scope.mEvent.mDBAtMouse, 36.0);
}

TEST_F(ScopeMouse, LeavingResetsThePositionButKeepsTheHoverFade) {
  PlaceBand(3, 700.0, 4.0);
  IMouseMod none(false);
  scope.OnMouseOver(Centre(3).x, Centre(3).y, &none);
  plug.mNotes.clear();
  scope.OnMouseOut();
  const GraphEventRecord& e = OnlyNote().event;
  EXPECT_TRUE(e.mEvHover);
  EXPECT_EQ(e.mHitBand, -1);
  EXPECT_EQ(e.mMouseX, -1);
  EXPECT_EQ(e.mMouseY, -1);
  EXPECT_EQ(e.mHzAtMouse, 1.0);
  EXPECT_EQ(e.mDBAtMouse, 0.0);
  EXPECT_EQ(scope.mHoverAmount[3], 1.0);
}

TEST_F(ScopeMouse, DoubleClickAndMouseUp) {
  PlaceBand(11, 15000.0, -20.0);
  IMouseMod mod(true);
  scope.OnMouseDblClick(Centre(11).x, Centre(11).y, &mod);
  scope.OnMouseDblClick(440, 250, &mod);
  scope.OnMouseDblClick(95, 250, &mod);  // outside the plot: nothing
  ASSERT_EQ(plug.mNotes.size(), 2u);
  EXPECT_TRUE(plug.mNotes[0].event.mEvDblClick);
  EXPECT_EQ(plug.mNotes[0].event.mHitBand, 11);
  EXPECT_EQ(plug.mNotes[1].event.mHitBand, -1);
  EXPECT_EQ(plug.mNotes[1].event.mPlotHit, 1);

  // Up is told wherever it lands and leaves the hit state alone.
  Down(Centre(11).x, Centre(11).y);
  plug.mNotes.clear();
  scope.OnMouseUp(5, 5, &mod);
  EXPECT_TRUE(OnlyNote().event.mEvUp);
  EXPECT_EQ(scope.mEvent.mHitBand, 11);
}

TEST_F(ScopeMouse, HoverAfterADragUsesTheHandleThePlugInMoved) {
  PlaceBand(5, 1000.0, 0.0);
  const IScope::Point start = Centre(5);
  Down(start.x, start.y);
  // The plug-in moves the band 20 pixels right, as a drag of dx 20 would.
  plug.mDuringNotify = [&] {
    freq[5] = HzAt(start.x + 20) * 1.0001;
    scope.UpdateBandHandles();
  };
  IMouseMod mod(true);
  scope.OnMouseDrag(start.x + 20, start.y, 20, 0, &mod);
  EXPECT_EQ(Centre(5).x, start.x + 20);
  EXPECT_EQ(scope.mHoverAmount[5], 1.0);
}

TEST_F(ScopeMouse, WithoutBandsOnlyThePlotAnswers) {
  PlaceBand(0, 1000.0, 0.0);
  const IScope::Point c = Centre(0);
  scope.mNumBands = 0;
  Down(c.x, c.y);
  EXPECT_EQ(OnlyNote().event.mHitBand, -1);
  EXPECT_EQ(OnlyNote().event.mPlotHit, 1);
  IMouseMod none(false);
  scope.OnMouseOver(c.x + 14, c.y, &none);
  EXPECT_EQ(scope.mHandleHover[0], 0);
}

}  // namespace
