// The display inside the whole plug-in: the real EQ response and analysers
// behind it, audio through the host path, and pictures a person can look at.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "editor/EditorLayout.h"
#include "editor/display/IScope.h"
#include "editor/display/PlotMapping.h"
#include "graphics/IGraphics.h"
#include "lice/lice.h"
#include "platform/coretext/Font.h"
#include "plugin/controller/Brimlow.h"
#include "plugin/engine/BandTypes.h"
#include "plugin/engine/ParamIndex.h"
#include "tests/editor/display/ScopePicture.h"
#include "tests/plugin/controller/PlugHost.h"
#include "tests/plugin/controller/TempDataHome.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

class ScopeSession : public TempDataHomeTest {
 protected:
  void SetUp() override {
    TempDataHomeTest::SetUp();
    platform::SetTestFontEnabled(true);
    mPlug.reset(MakePlug());
    ASSERT_NE(mPlug, nullptr);
    mScope = mPlug->GetScope();
    ASSERT_NE(mScope, nullptr);
  }
  void TearDown() override {
    mPlug.reset();
    platform::SetTestFontEnabled(false);
    TempDataHomeTest::TearDown();
  }

  void Set(int idx, double value) { PlugHost::SetParam(*mPlug, idx, value, false); }
  void SetBand(int band, int field, double value) { Set(BandParamIndex(band, field), value); }

  // Stereo blocks of the signal through the host's render path.
  static constexpr int kBlock = 512;
  template <typename Signal>
  void Play(int frames, Signal signal) {
    std::vector<float> l(kBlock), r(kBlock), ol(kBlock), orr(kBlock);
    float* in[2] = {l.data(), r.data()};
    float* out[2] = {ol.data(), orr.data()};
    for (int done = 0; done < frames; done += kBlock) {
      for (int i = 0; i < kBlock; ++i) l[i] = r[i] = signal(done + i);
      PlugHost::Render(*mPlug, in, out, 2, kBlock, false);
    }
  }

  // The editor's whole surface, drawn as the window's timer draws it.
  void DrawEditor() {
    IGraphics* g = mPlug->GetGUI();
    IRECT all(0, 0, g->Width(), g->Height());
    g->Draw(&all);
  }

  // The drawn surface's pixels.
  std::vector<LICE_pixel> Surface() {
    LICE_IBitmap* s = mPlug->GetGUI()->GetDrawBitmap();
    std::vector<LICE_pixel> pixels;
    for (int y = 0; y < s->getHeight(); ++y) {
      const LICE_pixel* row = s->getBits() + y * s->getRowSpan();
      pixels.insert(pixels.end(), row, row + s->getWidth());
    }
    return pixels;
  }

  std::unique_ptr<Brimlow> mPlug;
  IScope* mScope = nullptr;
};

// The display keeps its EQ curves between frames; after any change of a
// setting they are drawn from, the editor must look as it does when the
// display samples them afresh.
TEST_F(ScopeSession, KeptEQCurvesDrawWhatAFreshSamplingDrawsAfterEveryChange) {
  // The curves alone move; the analysers stay off so frames compare.
  Set(kParamPreFilterSpectrum, 0.0);
  Set(kParamPostFilterSpectrum, 0.0);
  Set(kParamShowAddEQCurves, 1.0);
  for (int p = kParamShowCurveAll; p <= kParamShowCurveSide; ++p) Set(p, 1.0);
  Set(kParamLinkEQ, 0.0);
  const int types[4] = {kTypeAPeak, kTypeALowShelf, kTypeDLowCut, kTypeAPeak};
  const double hz[4] = {180.0, 700.0, 60.0, 9000.0};
  for (int b = 0; b < 4; ++b) {
    SetBand(b, kBandActive, 1.0);
    SetBand(b, kBandType, types[b]);
    SetBand(b, kBandFreq, hz[b]);
    SetBand(b, kBandGain, 6.0 - 3.0 * b);
    SetBand(b, kBandChMode, b);
  }
  const auto frame = [&] {
    DrawEditor();
    return Surface();
  };
  const auto fresh = [&] {
    mScope->mCurveCache.Clear();
    return frame();
  };
  ASSERT_TRUE(frame() == fresh());

  struct Change {
    const char* name;
    std::function<void()> apply;
    bool moves;  // the picture must change, or the case tests nothing
  };
  const Change changes[] = {
      {"Freq", [&] { SetBand(1, kBandFreq, 1500.0); }, true},
      {"Gain", [&] { SetBand(1, kBandGain, -9.0); }, true},
      {"Q", [&] { SetBand(1, kBandQ, 3.0); }, true},
      {"Type", [&] { SetBand(1, kBandType, kTypeAPeak); }, true},
      {"Slope", [&] { SetBand(2, kBandSlope, 3.0); }, true},
      {"Active", [&] { SetBand(3, kBandActive, 0.0); }, true},
      {"Solo", [&] { SetBand(0, kBandSolo, 1.0); }, true},
      {"ChMode", [&] { SetBand(0, kBandChMode, 4.0); }, true},
      {"FScale", [&] { Set(kParamFScale, 40.0); }, true},
      {"FOffset", [&] { Set(kParamFOffset, 60.0); }, true},
      {"GScale", [&] { Set(kParamGScale, 50.0); }, true},
      {"EQ Scale", [&] { Set(kParamEQScale, 30.0); }, true},
      {"OS Mode", [&] { Set(kParamOSMode, 2.0); }, false},
      {"Filter Mode", [&] { Set(kParamFilterMode, 2.0); }, false},
      {"sample rate",
       [&] {
         mPlug->SetSampleRate(96000.0);
         mPlug->Reset();
       },
       true},
      {"Large Scope", [&] { Set(kParamLargeScope, 1.0); }, true},
  };
  for (const Change& c : changes) {
    const std::vector<LICE_pixel> before = frame();
    c.apply();
    const std::vector<LICE_pixel> kept = frame();
    EXPECT_TRUE(kept == fresh()) << c.name;
    if (c.moves) {
      EXPECT_FALSE(kept == before) << c.name << " changed nothing";
    }
  }
}

TEST_F(ScopeSession, APeakBandsSumCurvePassesTheRowOfItsGainAtItsColumn) {
  SetBand(0, kBandActive, 1);
  SetBand(0, kBandType, kTypeAPeak);
  SetBand(0, kBandFreq, 1000.0);
  SetBand(0, kBandGain, 12.0);
  DrawEditor();
  WriteSurfacePNG(mPlug->GetGUI()->GetDrawBitmap(), "scope_peak_band.png");

  // The band's handle covers its curve's top: the curves alone.
  IGraphics* g = mPlug->GetGUI();
  LICE_IBitmap* s = g->GetDrawBitmap();
  LICE_FillRect(s, 0, 0, s->getWidth(), s->getHeight(), LICE_RGBA(0, 0, 0, 255), 1.0f, LICE_BLIT_MODE_COPY);
  mScope->DrawEQCurves(g);

  // 1 kHz: 100 + trunc(681 * 2 / log10(3000)) = 491; +12 dB on -60..36:
  // 423 - floor(72 * 334 / 96 + 0.5).
  const IRECT& p = mScope->mPlotRect;
  ASSERT_EQ(p.L, 100);
  const int x = p.L + static_cast<int>(p.W() * 2.0 / (std::log10(30000.0) - 1.0));
  ASSERT_EQ(x, 491);
  const double lo = mScope->mEqDbLo, hi = mScope->mEqDbHi;
  const int row = p.B - static_cast<int>(std::floor((12.0 - lo) * p.H() / (hi - lo) + 0.5));
  const IColor all = mScope->mColors[8];
  const auto isCurve = [&](int px, int py) {
    const LICE_pixel v = s->getBits()[py * s->getRowSpan() + px];
    return LICE_GETR(v) == all.R && LICE_GETG(v) == all.G && LICE_GETB(v) == all.B;
  };
  EXPECT_TRUE(isCurve(x, row)) << row;
  // The sum is the tallest thing in that column: nothing of its colour
  // a few rows higher.
  for (int y = p.T; y < row - 3; ++y) EXPECT_FALSE(isCurve(x, y)) << y;
}

TEST_F(ScopeSession, ASteadySineGivesThePreFilterSpectrumItsPeakInTheSinesColumn) {
  Set(kParamSmoothSpectrumCurve, kStyleRaw);
  Set(kParamPostFilterSpectrum, 0);
  Set(kParamAnalyzerShowGrid, 0);
  const double rate = mPlug->DspSampleRate();
  Play(static_cast<int>(rate),
       [&](int i) { return static_cast<float>(0.5 * std::sin(2.0 * kPi * 1000.0 * i / rate)); });
  DrawEditor();
  WriteSurfacePNG(mPlug->GetGUI()->GetDrawBitmap(), "scope_sine.png");

  // The spectrum's top: the first row from the plot's top with anything
  // drawn between the scales, and where in it.
  const IRECT& p = mScope->mPlotRect;
  LICE_IBitmap* s = mPlug->GetGUI()->GetDrawBitmap();
  const auto brightness = [&](int x, int y) {
    const LICE_pixel v = s->getBits()[y * s->getRowSpan() + x];
    return LICE_GETR(v) + LICE_GETG(v) + LICE_GETB(v);
  };
  int top = -1, column = -1;
  for (int y = p.T + 1; y < p.B && top < 0; ++y) {
    int best = 0;
    for (int x = p.L + 40; x < p.R - 40; ++x) {
      if (brightness(x, y) > best) {
        best = brightness(x, y);
        column = x;
      }
    }
    if (best > 0) top = y;
  }
  ASSERT_GE(top, 0);
  EXPECT_EQ(column, p.L + static_cast<int>(p.W() * 2.0 / (std::log10(30000.0) - 1.0)));
  EXPECT_NEAR(mScope->mPeakPre.frequencyHz, 1000.0, rate / 8192.0);
}

// The frequency tracker over a pure tone reads the tone within one analyser
// bin, whatever the rate, the tone and the analyser's resolution, in the
// default smoothed style that averages many bins into each plotted point.
TEST_F(ScopeSession, TheTrackerReadsAPureToneWithinOneBin) {
  Set(kParamPostFilterSpectrum, 0);
  Set(kParamFrequencyTracking, 1);
  Set(kParamShowMax, 0);
  for (const double rate : {44100.0, 48000.0, 96000.0}) {
    for (const int hiRes : {0, 1}) {
      Set(kParamHiResAnalyzer, hiRes);
      for (const double tone : {50.0, 440.0, 1000.0, 5000.0, 15000.0}) {
        {
          // Each tone from silence: the spectra keep what they heard.
          WDL_MutexLock lock(mPlug->GetMutex());
          mPlug->SetSampleRate(rate);
          mPlug->Reset();
        }
        // Two seconds (the high-resolution analyser looks far back), drawn
        // about as often as the editor's timer draws.
        constexpr int kFrameBlocks = 3;
        for (int start = 0; start < 2 * rate; start += kFrameBlocks * kBlock) {
          Play(kFrameBlocks * kBlock, [&](int i) {
            return static_cast<float>(0.5 * std::sin(2.0 * kPi * tone * (start + i) / rate));
          });
          DrawEditor();
        }
        const SpectrumView& pre = mScope->mSpectrumViews[IScope::kPreView];
        ASSERT_GT(pre.binCount, 1);
        const double binHz = rate / 2.0 / (pre.binCount - 1);
        const double found = mScope->mPeakPre.frequencyHz;
        EXPECT_NEAR(found, tone, binHz) << rate << " Hz, HiRes " << hiRes << ", tone " << tone << " bins " << pre.binCount;

        // The marker sits in the column of the tone.
        const IRECT& p = mScope->mPlotRect;
        const PlotMapping m(p, mScope->mFreqMin, mScope->mFreqMax);
        EXPECT_NEAR(m.XOf(found), m.XOf(tone), 1) << rate << " Hz, tone " << tone;
      }
    }
  }
}

// A drag on a handle, then the pointer away from the graph: on to the band
// panel, or off the editor where no control lies. The graph's hover readouts
// go with the pointer: the next frame is the one the display draws with the
// mouse out.
class ScopeSessionLeave : public ScopeSession, public ::testing::WithParamInterface<bool> {};

TEST_P(ScopeSessionLeave, LeavingTheGraphAfterADragClearsItsReadouts) {
  const bool offTheEditor = GetParam();
  SetBand(0, kBandActive, 1);
  SetBand(0, kBandType, kTypeAPeak);
  SetBand(0, kBandFreq, 1000.0);
  SetBand(0, kBandGain, 6.0);
  IGraphics* g = mPlug->GetGUI();
  DrawEditor();
  const IScope::Point handle = mScope->mHandleCentre[0];
  IMouseMod none, left(true);
  g->OnMouseOver(handle.x - 30, handle.y, &none);
  g->OnMouseOver(handle.x, handle.y, &none);
  g->OnMouseDown(handle.x, handle.y, &left);
  for (int step = 1; step <= 10; ++step) g->OnMouseDrag(handle.x + 5 * step, handle.y - 3 * step, &left);
  g->OnMouseUp(handle.x + 50, handle.y - 30, &left);
  DrawEditor();
  ASSERT_EQ(mScope->mEvent.mMouseX, handle.x + 50);  // the readouts are up

  const IRECT& p = mScope->mPlotRect;
  if (offTheEditor) {
    g->OnMouseOver(-1, -1, &none);
  } else {
    g->OnMouseOver(p.L + p.W() / 2, p.B + (g->Height() - p.B) / 2, &none);
  }
  EXPECT_NE(g->GetMouseOver(), mPlug->ScopeControlIndex());
  EXPECT_EQ(mScope->mEvent.mMouseX, -1);
  DrawEditor();
  const std::vector<LICE_pixel> after = Surface();
  // What the display draws once told the mouse is out.
  mScope->OnMouseOut();
  DrawEditor();
  EXPECT_EQ(after, Surface());
}

INSTANTIATE_TEST_SUITE_P(Where, ScopeSessionLeave, ::testing::Values(false, true));

// A session with a few bands over pink-ish noise, at each editor size.
class ScopeSessionPicture : public ScopeSession, public ::testing::WithParamInterface<int> {};

TEST_P(ScopeSessionPicture, DrawsGridSpectraCurvesAndHandles) {
  const int scaleIndex = GetParam();
  const struct {
    int type;
    double hz, db, q;
  } bands[] = {{kTypeALowCut, 40.0, 0.0, 1.0},
               {kTypeALowShelf, 120.0, 4.0, 0.7},
               {kTypeAPeak, 800.0, -6.0, 2.0},
               {kTypeAPeak, 3000.0, 5.0, 1.0},
               {kTypeAHighShelf, 10000.0, -3.0, 0.7}};
  for (int b = 0; b < 5; ++b) {
    SetBand(b, kBandActive, 1);
    SetBand(b, kBandType, bands[b].type);
    SetBand(b, kBandFreq, bands[b].hz);
    SetBand(b, kBandGain, bands[b].db);
    SetBand(b, kBandQ, bands[b].q);
  }
  SetBand(3, kBandChMode, kChannelLeft);
  Set(kParamEQCheatSheet, 2);

  Set(kParamGUIScale, scaleIndex);
  IGraphics* g = mPlug->GetGUI();
  g->Resize(static_cast<int>(Brimlow::kEditorWidth * mPlug->GuiScaleX()),
            static_cast<int>(Brimlow::kEditorHeight * mPlug->GuiScaleY()), true);
  EditorLayout::LayoutGUI(mPlug.get(), g, EditorLayout::kRescale);

  std::mt19937 noise(7);
  std::normal_distribution<double> white(0.0, 0.1);
  double brown = 0.0;
  Play(static_cast<int>(mPlug->DspSampleRate()), [&](int) {
    const double w = white(noise);
    brown = 0.98 * brown + w;
    return static_cast<float>(0.3 * w + 0.05 * brown);
  });
  // The mouse over the plot: the readouts and the hover guide.
  const IRECT& p = mScope->mPlotRect;
  IMouseMod none;
  mScope->OnMouseOver(p.L + p.W() / 3, p.T + p.H() / 2, &none);
  DrawEditor();

  const int percent = static_cast<int>(100 * mPlug->GuiScaleX() + 0.5);
  EXPECT_EQ(p.W(), static_cast<int>(697 * mPlug->GuiScaleX()) - 2 * static_cast<int>(8 * mPlug->GuiScaleX()));
  EXPECT_TRUE(WriteSurfacePNG(g->GetDrawBitmap(), "scope_session_" + std::to_string(percent) + ".png"));
}

INSTANTIATE_TEST_SUITE_P(Scales, ScopeSessionPicture, ::testing::Values(0, 2, 6));

}  // namespace
