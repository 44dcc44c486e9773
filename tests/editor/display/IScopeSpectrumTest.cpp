#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "editor/display/ScopePalettes.h"
#include "editor/display/SpectrumPlot.h"
#include "tests/editor/display/ScopeDrawFixture.h"

namespace {

// One analyser source of flat spectra: every band and bin of a variant at
// one level, so each variant draws one row.
struct FlatSource {
  std::vector<double> bandHz{10.0, 100.0, 1000.0, 10000.0, 22050.0};
  std::vector<double> bands[3];
  std::vector<double> bins[3];

  // Levels in dB of the max-hold, running and average variants.
  void Fill(SpectrumView* view, double maxDb, double runningDb, double averageDb, int binCount = 1025) {
    const double levels[3] = {maxDb, runningDb, averageDb};
    for (int v = 0; v < 3; ++v) {
      const double a = std::pow(10.0, levels[v] / 20.0);
      bands[v].assign(bandHz.size(), a);
      bins[v].assign(binCount, a);
    }
    view->bandCount = static_cast<int>(bandHz.size());
    view->bandFrequencies = bandHz.data();
    view->bandMax = bands[0].data();
    view->bandRunning = bands[1].data();
    view->bandAverage = bands[2].data();
    view->binCount = binCount;
    view->binMax = bins[0].data();
    view->binRunning = bins[1].data();
    view->binAverage = bins[2].data();
  }
};

bool Near(const Rgb& a, const Rgb& b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

class Spectra : public ScopeDrawTest {
 protected:
  Spectra() {
    scope->mShowGrid = 0;
    scope->mBorderLines = 0;
    scope->mShowPre = scope->mShowPost = 1;
    // Each set lower than the ones drawn before it, so no fill covers an
    // earlier line.
    reference.Fill(&scope->mSpectrumViews[IScope::kReferenceView], -10.0, -10.0, -10.0);
    pre.Fill(&scope->mSpectrumViews[IScope::kPreView], -20.0, -30.0, -40.0);
    post.Fill(&scope->mSpectrumViews[IScope::kPostView], -50.0, -60.0, -70.0);
  }
  int Row(double db) const { return YTrunc(db, scope->mSpecDbLo, scope->mSpecDbHi); }
  Rgb Slot(int i) const { return RgbOf(scope->mColors[i]); }
  // Whether a set's line shows in its row at column 400. Its own fill
  // goes over it in the same colour, which the raster library's quarter-
  // weight shortcut may leave a step or two off.
  bool Shows(double db, int slot) const { return Near(At(400, Row(db)), Slot(slot), 3); }

  FlatSource reference, pre, post;
};

TEST_F(Spectra, TheSetsShownAndTheirColours) {
  DrawScope();
  EXPECT_TRUE(Shows(-30.0, 26));  // pre, running
  EXPECT_TRUE(Shows(-60.0, 30));  // post, running
  const struct {
    double db;
    int slot;
  } hidden[] = {{-10.0, 28}, {-20.0, 27}, {-40.0, 26}, {-50.0, 31}, {-70.0, 30}};
  for (const auto& h : hidden) EXPECT_FALSE(Shows(h.db, h.slot)) << h.db;

  scope->mShowMax = true;
  scope->mShowAverage = true;
  scope->mShowReference = 1;
  DrawScope();
  EXPECT_TRUE(Shows(-10.0, 28));  // reference
  EXPECT_TRUE(Shows(-20.0, 27));  // pre, max hold
  EXPECT_TRUE(Shows(-40.0, 26));  // pre, average
  EXPECT_TRUE(Shows(-50.0, 31));  // post, max hold
  EXPECT_TRUE(Shows(-70.0, 30));  // post, average
  // The max-hold curves are not filled: above the running one, below
  // their own line, lies nothing but the reference's fill.
  scope->mShowReference = 0;
  DrawScope();
  EXPECT_FALSE(Painted(400, (Row(-20.0) + Row(-30.0)) / 2));
  EXPECT_TRUE(Painted(400, (Row(-30.0) + Row(-40.0)) / 2));
}

TEST_F(Spectra, APredictedPostIsThePreSpectrumThroughTheEq) {
  scope->mPredictivePost = 1;
  response = [](double, int channel, int band) { return channel == 2 && band == -1 ? 6.0 : -99.0; };
  scope->mAnalyzerChannel = 2;
  DrawScope();
  EXPECT_TRUE(Shows(-24.0, 30));  // pre running + 6 dB in the post colour
  EXPECT_FALSE(Shows(-60.0, 30));  // the post analyser is not drawn

  // With "AB" off the prediction is the pre spectrum itself, drawn over it.
  scope->mAB = 0;
  DrawScope();
  EXPECT_TRUE(Shows(-30.0, 30));

  // While the mouse column is up, the analyser's own post is drawn.
  scope->mAB = 1;
  scope->mMouseColumn = 1;
  scope->mEvent.mMouseX = kL + 20;
  scope->mEvent.mMouseY = kT;
  DrawScope();
  EXPECT_TRUE(Shows(-60.0, 30));
}

TEST_F(Spectra, BarStylesFillBarsAndCapTheMaxHold) {
  scope->mSmoothMode = kStyleIsoBar6;
  scope->mShowPost = 0;
  // 681 / 18 = 37 columns per bar, half-width trunc(9 x 37 / 20) = 16.
  const int x = kL + 5 * 37, top = Row(-30.0);
  DrawScope();
  EXPECT_TRUE(Painted(x - 16, top + 5));
  EXPECT_TRUE(Painted(x + 15, top + 5));
  EXPECT_FALSE(Painted(x + 18, top + 5));  // the gap to the next bar
  EXPECT_FALSE(Painted(x, top - 1));
  EXPECT_TRUE(Painted(x, kB - 1));

  scope->mShowMax = true;
  scope->mShowRunning = false;
  DrawScope();
  const int capTop = Row(-20.0);
  EXPECT_TRUE(Painted(x, capTop));
  EXPECT_TRUE(Painted(x, capTop + 1));
  EXPECT_FALSE(Painted(x, capTop + 2));
  EXPECT_FALSE(Painted(x, capTop - 1));
}

TEST_F(Spectra, TheDeltaViewShowsPostMinusReferenceOnTheGainScale) {
  scope->mShowDelta = 1;
  scope->mRefGain = 5.0;
  DrawScope();
  // -60 - (-10 + 5) = -55 dB on the equaliser's -60..36 dB.
  const int row = YTrunc(-55.0, scope->mEqDbLo, scope->mEqDbHi);
  const Rgb c = At(400, row);
  EXPECT_GT(c.b, c.r);
  EXPECT_GT(c.g, c.r);
  EXPECT_FALSE(Shows(-60.0, 30));
}

// The strip pass alone over the background: one ramp colour per column.
class Strips : public Spectra {
 protected:
  // The ramp colour at t, copied with its alpha over the background as
  // the raster library blends: c + (d - c)(256 - a) / 256 (its half-weight
  // shortcut may round a step the other way).
  Rgb OverBackground(double t) const {
    const IColor c = SpectrogramRampColor(t);
    const int a = static_cast<int>(c.A / 255.0f * 256.0f);
    const auto ch = [&](int v) { return v + ((16 - v) * (256 - a)) / 256; };
    return {ch(c.R), ch(c.G), ch(c.B)};
  }
  int PreRow() const { return kB - 67 + 8; }
  int PostRow() const { return kB - 48 + 8; }
};

TEST_F(Strips, EachSideHasItsStripColouredByLevel) {
  Clear();
  scope->DrawSpectrumLayers(graphics, 1);
  // Standard: the place in -96..0 dB. The last set drawn for a side wins.
  EXPECT_PRED3(Near, At(400, PreRow()), OverBackground((-30.0 + 96.0) / 96.0), 1);
  EXPECT_PRED3(Near, At(400, PostRow()), OverBackground((-60.0 + 96.0) / 96.0), 1);
  EXPECT_EQ(At(400, kB - 67 - 1), kBackgroundRgb);
  EXPECT_NE(At(400, kB - 67 + 15), kBackgroundRgb);
  EXPECT_EQ(At(400, kB - 67 + 17), kBackgroundRgb);
  // Nothing past half the sample rate.
  EXPECT_EQ(At(XTrunc(24500.0), PreRow()), kBackgroundRgb);
}

TEST_F(Strips, AHeatMapIsRelativeToThePeakAboveMinus90Decibels) {
  Clear();
  scope->DrawSpectrumLayers(graphics, 2);
  // A flat set is all peak: the top of the ramp.
  EXPECT_PRED3(Near, At(400, PreRow()), OverBackground(1.0), 1);
  EXPECT_PRED3(Near, At(400, PostRow()), OverBackground(1.0), 1);

  // At or below -90 dB there is no peak to speak of: the absolute scale.
  pre.Fill(&scope->mSpectrumViews[IScope::kPreView], -95.0, -95.0, -95.0);
  post.Fill(&scope->mSpectrumViews[IScope::kPostView], -90.0, -90.0, -90.0);
  Clear();
  scope->DrawSpectrumLayers(graphics, 2);
  EXPECT_PRED3(Near, At(400, PreRow()), OverBackground(1.0 / 96.0), 1);
  EXPECT_PRED3(Near, At(400, PostRow()), OverBackground(6.0 / 96.0), 1);
}

TEST_F(Strips, NoStripForASetOfFewerThanTwoPointsOrForTheReference) {
  scope->mShowReference = 1;
  scope->mShowPost = 0;
  scope->mSampleRate = 16.0;  // every column lies above half the rate
  Clear();
  scope->DrawSpectrumLayers(graphics, 1);
  EXPECT_EQ(PaintedAnywhere(), 0);
  // The whole draw copes as well.
  scope->mSpectrogramMode = 2;
  DrawScope();
  EXPECT_EQ(PaintedIn(kL + 40, kB - 70, kR - 40, kB - 40), 0);
}

TEST_F(Spectra, ThePeakMarkerFollowsTheLoudestPointOfTheTrackedSide) {
  scope->mSmoothMode = kStyleRaw;
  scope->mShowPost = 0;
  pre.Fill(&scope->mSpectrumViews[IScope::kPreView], -100.0, -100.0, -100.0);
  const int loud = 43;  // 1 kHz at 48 kHz with 1025 bins
  pre.bins[1][loud] = 0.1;  // -20 dB
  const double hz = loud * 24000.0 / 1024.0;
  const Rgb red{255, 0, 0};
  const Rgb white{255, 255, 255};
  const struct {
    int tracking;
    bool marker;
  } rows[] = {{0, false}, {1, true}, {2, false}};
  for (const auto& r : rows) {
    scope->mFreqTracking = r.tracking;
    DrawScope();
    EXPECT_EQ(At(XTrunc(hz), Row(-20.0)) == red, r.marker) << r.tracking;
    // The boxes at the top right: frequency, then the note left of it.
    EXPECT_EQ(PaintedIn(kR - 32 - 7 * 10, kT, kR - 32, kT + 20) > 0, r.marker) << r.tracking;
    bool text = false;
    for (int x = kR - 200; x < kR; ++x) text = text || At(x, kT + 10) == white;
    EXPECT_EQ(text, r.marker) << r.tracking;
  }
  EXPECT_NEAR(scope->mPeakPre.frequencyHz, hz, 1e-9);
  EXPECT_NEAR(scope->mPeakPre.levelDb, -20.0, 1e-9);

  // A peak at -90 dB or below shows nothing.
  pre.bins[1][loud] = std::pow(10.0, -90.0 / 20.0);
  scope->mFreqTracking = 1;
  DrawScope();
  EXPECT_EQ(PaintedIn(kL + 40, kT, kR, kT + 20), 0);
}

}  // namespace
