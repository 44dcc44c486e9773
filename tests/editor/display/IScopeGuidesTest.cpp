#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "tests/editor/display/ScopeDrawFixture.h"

namespace {

// "EQ Cheat Sheet" values: set k - 1 of the fourteen.
enum { kPianoKeys = 1, kGeneral1 = 2, kVocal = 5, kPiano = 9, kDrumsBass = 11, kNumSets = 14 };

class Guides : public ScopeDrawTest {
 protected:
  Guides() {
    scope->mShowGrid = 0;
    scope->mBorderLines = 0;
  }
  // The guide column of a frequency: rounded, unlike the other layers.
  int Column(double hz) const {
    return kL + static_cast<int>(std::floor(kW * Pos(hz, scope->mFreqMin, scope->mFreqMax) + 0.5));
  }
  // The extent of pixels of exactly this colour in the rectangle (text of
  // the test font is opaque inside its boxes); width 0 when none.
  int ExtentOf(const Rgb& c, int l, int t, int r, int b, int* left = nullptr) const {
    int lo = INT_MAX, hi = INT_MIN;
    for (int y = t; y < b; ++y) {
      for (int x = l; x < r; ++x) {
        if (At(x, y) == c) {
          lo = std::min(lo, x);
          hi = std::max(hi, x);
        }
      }
    }
    if (left) *left = lo;
    return hi >= lo ? hi - lo + 1 : 0;
  }
};

TEST_F(Guides, ARangeFromZeroHertzStartsAtThePlotsLeftEdge) {
  scope->mCheatSheet = kGeneral1;  // "SUB BASS" 0-40 Hz first
  DrawScope();
  const int right = Column(40.0);
  const int barH = scope->mGuideBarH;
  // The bar and the line at its start fill the plot's first column.
  // (Its line runs under the bar's first column.)
  EXPECT_TRUE(Painted(kL, kT + 3));
  EXPECT_EQ(At(kL + 1, kT + 3), At(right - 3, kT + 3));
  EXPECT_FALSE(Painted(kL - 1, kT + 3));
  EXPECT_TRUE(Painted(kL, kT + 200));
  EXPECT_FALSE(Painted(kL + 1, kT + 200));
  EXPECT_TRUE(Painted(right, kT + 200));
  EXPECT_TRUE(Painted(right - 3, kT + barH - 1));
  EXPECT_FALSE(Painted(right - 3, kT + barH));
  // The colour of 0 Hz is the palette's first, a red.
  const Rgb bar = At(right - 3, kT + 3);
  EXPECT_GT(bar.r, bar.g);
  EXPECT_GT(bar.r, bar.b);
}

TEST_F(Guides, RangesOffThePlotAreLeftOutAndThoseAcrossItsEdgeClamped) {
  scope->mCheatSheet = kGeneral1;
  scope->mFreqMin = 1000.0;
  scope->mFreqMax = 4000.0;
  DrawScope();
  // "MID" 800-2500 Hz begins left of the plot and is cut at its edge; the
  // ranges below 800 Hz are not drawn at all, so its green is at the edge.
  const Rgb edge = At(kL + 30, kT + 3);  // past its label
  EXPECT_EQ(edge, At(Column(2500.0) - 3, kT + 3));
  EXPECT_GT(edge.g, edge.r);
  EXPECT_FALSE(Painted(kL - 1, kT + 3));
  // "UPPER MID" 2500-5000 Hz ends right of the plot: cut at R.
  EXPECT_TRUE(Painted(kR - 2, kT + 3));
  EXPECT_FALSE(Painted(kR + 1, kT + 3));
}

TEST_F(Guides, TheLongNameWhereItFitsElseTheShortOneElseNone) {
  const Rgb label = RgbOf(scope->mColors[0]);
  // A 14-pixel test font for the 15-pixel guide text: glyphs 6 wide on an
  // advance of 7. The short name needs 2 x 15 pixels of room.
  const struct {
    int set;
    double lowHz, highHz;
    int glyphs;  // 0: no label
  } rows[] = {
      {kDrumsBass, 90.0, 145.0, 4},  // "BODY" in 40 px
      {kVocal, 800.0, 1500.0, 2},    // "WORD CLARITY" does not fit 53 px: "WO"
      {kPiano, 3000.0, 5000.0, 2},   // "PRESENCE" needs 58 of 52 px: "PR"
      {kPiano, 7000.0, 9000.0, 0},   // 21 px: neither
      {kPiano, 5000.0, 6000.0, 0},   // 15 px
  };
  for (const auto& r : rows) {
    scope->mCheatSheet = r.set;
    DrawScope();
    const int l = Column(r.lowHz), right = Column(r.highHz);
    EXPECT_EQ(ExtentOf(label, l + 1, kT, right, kT + scope->mGuideLabelH), r.glyphs ? 7 * r.glyphs - 1 : 0)
        << r.lowHz;
    // The bar and its lines are there in every case.
    EXPECT_TRUE(Painted(right - 1, kT + scope->mGuideBarH - 1)) << r.lowHz;
    EXPECT_TRUE(Painted(l, kT + 200)) << r.lowHz;
    EXPECT_TRUE(Painted(right, kT + 200)) << r.lowHz;
  }
}

TEST_F(Guides, ASetChoicePastTheSetsDrawsNothing) {
  scope->mEvent.mMouseX = 400;
  scope->mEvent.mMouseY = 200;
  for (int choice : {kNumSets + 1, 100, -1, INT_MAX}) {
    scope->mCheatSheet = choice;
    DrawScope();
    EXPECT_EQ(PaintedIn(kL + 40, kT, kR - 40, kT + 40), 0) << choice;
    EXPECT_FALSE(scope->DrawGuideOverlay(graphics, true, 1000.0)) << choice;
  }
  scope->mCheatSheet = kNumSets;  // the last set is there
  DrawScope();
  EXPECT_GT(PaintedIn(kL + 40, kT, kR - 40, kT + 40), 0);
}

TEST_F(Guides, TheEntryUnderTheMouseIsDrawnAgainInTheHoverColours) {
  scope->mCheatSheet = kGeneral1;
  const Rgb white = RgbOf(scope->mColors[1]);
  EXPECT_FALSE(scope->DrawGuideOverlay(graphics, true, 20000.5));  // between nothing
  EXPECT_TRUE(scope->DrawGuideOverlay(graphics, true, 40.0));      // the shared end of two ranges

  scope->mEvent.mMouseX = XTrunc(1000.0);
  scope->mEvent.mMouseY = 300;
  DrawScope();
  // "MID" 800-2500 Hz in white; "BASS" stays grey.
  EXPECT_GT(ExtentOf(white, Column(800.0), kT, Column(2500.0), kT + scope->mGuideLabelH), 0);
  EXPECT_EQ(ExtentOf(white, Column(40.0), kT, Column(160.0), kT + scope->mGuideLabelH), 0);
  // The mouse off the plot: no hover.
  scope->mEvent.mMouseY = kB;
  DrawScope();
  EXPECT_EQ(ExtentOf(white, Column(800.0), kT, Column(2500.0), kT + scope->mGuideLabelH), 0);
}

// The note tag over the piano keys: a box of "A#9" plus the margin either
// side, 20 rows under the plot's top.
class NoteTag : public Guides {
 protected:
  NoteTag() { scope->mCheatSheet = kPianoKeys; }
  // The columns the tag's box covers in its middle row, or {-1, -1}.
  std::pair<int, int> BoxColumns() const {
    const int y = kT + scope->mGuideLabelW + 1;
    int l = -1, r = -1;
    for (int x = 0; x < graphics->Width(); ++x) {
      if (!Painted(x, y)) continue;
      if (l < 0) l = x;
      r = x + 1;
    }
    return {l, r};
  }
  static constexpr int kTagWidth = 15;  // "A#9" in the 11-pixel test font
  static constexpr int kMargin = 5;
};

TEST_F(NoteTag, CentredOnTheFrequencyUnderTheMouseOrTheHitBand) {
  scope->mEvent.mMouseX = XTrunc(440.0);
  scope->mEvent.mMouseY = 300;
  DrawScope();
  const double f = std::pow(10.0, 1.0 + static_cast<double>(scope->mEvent.mMouseX - kL) / kW * std::log10(3000.0));
  const int x440 = XTrunc(f) - kTagWidth / 2;
  EXPECT_EQ(BoxColumns(), std::make_pair(x440 - kMargin, x440 + kTagWidth + kMargin));

  // Over a band's handle the tag follows the band's frequency.
  WireBands();
  PlaceBand(0, 1000.0, 0.0);
  scope->mEvent.mHitBand = 0;
  DrawScope();
  const int x1000 = XTrunc(1000.0) - kTagWidth / 2;
  const auto box = BoxColumns();
  EXPECT_EQ(box.first, x1000 - kMargin);
  EXPECT_EQ(box.second, x1000 + kTagWidth + kMargin);
}

TEST_F(NoteTag, StaysInsideThePlotAtBothEnds) {
  scope->mEvent.mMouseY = 300;
  scope->mFreqMin = 400.0;
  scope->mEvent.mMouseX = kL + 1;  // G4
  DrawScope();
  EXPECT_EQ(BoxColumns(), std::make_pair(kL, kL + kMargin + kTagWidth + kMargin));

  scope->mFreqMin = 10.0;
  scope->mFreqMax = 4000.0;
  scope->mEvent.mMouseX = kR - 1;  // B7
  DrawScope();
  EXPECT_EQ(BoxColumns(), std::make_pair(kR - kMargin - kTagWidth - kMargin, kR));
}

TEST_F(NoteTag, NoTagOffTheKeysOrForOtherSets) {
  scope->mEvent.mMouseX = kL + 2;  // 10 Hz: below C0's key
  scope->mEvent.mMouseY = 300;
  DrawScope();
  EXPECT_EQ(BoxColumns().first, -1);
  // The ranges' lines cross the tag's row: look only where the tag would be.
  scope->mCheatSheet = kGeneral1;
  scope->mEvent.mMouseX = XTrunc(440.0);
  DrawScope();
  const int y = kT + scope->mGuideLabelW + 1;
  EXPECT_EQ(PaintedIn(XTrunc(440.0) - 20, y, XTrunc(440.0) + 20, y + 1), 0);
}

}  // namespace
