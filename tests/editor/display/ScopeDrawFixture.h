#pragma once

// A graph attached to a windowless editor of the plug-in's size, drawing
// with the deterministic test font, over band arrays and an EQ response of
// the test's own. The mappings the tests compute pixels with are written
// out here from the display's definitions, not taken from the code.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "editor/display/IScope.h"
#include "lice/lice.h"
#include "platform/coretext/Font.h"
#include "tests/editor/display/ScopeFixture.h"
#include "tests/graphics/FakeGraphics.h"

class ScopeDrawPlug : public ScopeTestPlug {
 public:
  // In place of the plug-in's own editor, which is deleted first (its
  // idle thread would outlive the plug-in otherwise).
  void ReplaceGraphics(IGraphics* graphics) {
    DeleteGraphics();
    AttachGraphics(graphics);
  }
  // Before this object's type unwinds under the idle thread's calls.
  ~ScopeDrawPlug() override { DeleteGraphics(); }
};

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
  bool operator!=(const Rgb& o) const { return !(*this == o); }
};
inline std::ostream& operator<<(std::ostream& os, const Rgb& c) {
  return os << "(" << c.r << "," << c.g << "," << c.b << ")";
}
inline Rgb RgbOf(const IColor& c) { return {c.R, c.G, c.B}; }

class ScopeDrawTest : public ::testing::Test {
 protected:
  // The editor's graph at 100 %: plot 100,89 - 781,423.
  static constexpr int kL = 100, kT = 89, kR = 781, kB = 423;
  static constexpr int kW = kR - kL, kH = kB - kT;
  static constexpr uint32_t kBackground = LICE_RGBA(16, 16, 16, 255);
  static constexpr Rgb kBackgroundRgb{16, 16, 16};

  ScopeDrawTest() {
    platform::SetTestFontEnabled(true);
    // The core's fake in place of the plug-in's own, so that text is
    // measured in the test font it is drawn with; room for 200 %.
    graphics = new FakeGraphics(&plug, 2 * 872, 2 * 632);
    plug.ReplaceGraphics(graphics);
    // Made once the editor exists, so the label widths are measured.
    scope = new IScope(&plug, IRECT(92, 84, 789, 428), 141, 10.0, 30000.0, 48000.0);
    graphics->AttachControl(scope);
    plug.mScope = scope;
    for (int i = 0; i < IScope::kMaxBands; ++i) {
      freq[i] = 1000.0;
      q[i] = 0.7;
    }
    scope->mBandActive = active;
    scope->mBandType = type;
    scope->mBandChMode = chMode;
    scope->mBandSlope = slope;
    scope->mBandSolo = solo;
    scope->mBandGain = gain;
    scope->mBandFreq = freq;
    scope->mBandQ = q;
    scope->mEvaluator = &ScopeDrawTest::Evaluate;
    scope->mEvaluatorContext = this;
    scope->RecomputeRanges();
    // Layers the tests switch on one at a time; the bands too (WireBands).
    scope->mShowPre = scope->mShowPost = 0;
    scope->mShowCurve[0] = 0;
    scope->mShowAddCurves = 0;
  }
  ~ScopeDrawTest() override { platform::SetTestFontEnabled(false); }

  // Twelve bands, inactive at 1 kHz and 0 dB until a test moves them.
  void WireBands() {
    scope->mNumBands = IScope::kMaxBands;
    scope->UpdateBandHandles();
  }
  void PlaceBand(int b, double hz, double db, int bandType = 0, int isActive = 1) {
    active[b] = isActive;
    freq[b] = hz;
    gain[b] = db;
    type[b] = bandType;
    scope->UpdateBandHandles();
  }

  static double Evaluate(void* context, double hz, int channel, int band) {
    auto* self = static_cast<ScopeDrawTest*>(context);
    ++self->evaluations;
    return self->response ? self->response(hz, channel, band) : 0.0;
  }

  void Clear() {
    LICE_IBitmap* s = graphics->GetDrawBitmap();
    LICE_FillRect(s, 0, 0, s->getWidth(), s->getHeight(), kBackground, 1.0f, LICE_BLIT_MODE_COPY);
  }
  // The graph alone, over the plain background.
  void DrawScope() {
    Clear();
    scope->Draw(graphics);
  }

  uint32_t Pixel(int x, int y) const {
    LICE_IBitmap* s = graphics->GetDrawBitmap();
    return s->getBits()[y * s->getRowSpan() + x];
  }
  Rgb At(int x, int y) const {
    const uint32_t p = Pixel(x, y);
    return {LICE_GETR(p), LICE_GETG(p), LICE_GETB(p)};
  }
  bool Painted(int x, int y) const { return !(At(x, y) == kBackgroundRgb); }
  // Pixels that differ from the background inside the rectangle.
  int PaintedIn(int l, int t, int r, int b) const {
    int n = 0;
    for (int y = t; y < b; ++y) {
      for (int x = l; x < r; ++x) n += Painted(x, y);
    }
    return n;
  }
  int PaintedAnywhere() const { return PaintedIn(0, 0, graphics->Width(), graphics->Height()); }

  // Log-frequency and gain mappings over the plot.
  static double Pos(double hz, double fmin = 10.0, double fmax = 30000.0) {
    return (std::log10(hz) - std::log10(fmin)) / (std::log10(fmax) - std::log10(fmin));
  }
  static int XTrunc(double hz) { return kL + static_cast<int>(kW * Pos(hz)); }
  static int YTrunc(double db, double lo, double hi) { return kB - static_cast<int>(kH * (db - lo) / (hi - lo)); }
  // The EQ curves round instead.
  static int YRound(double db, double lo, double hi) {
    return kB - static_cast<int>(std::floor((db - lo) * kH / (hi - lo) + 0.5));
  }

  ScopeDrawPlug plug;
  FakeGraphics* graphics = nullptr;  // owned by the plug-in
  IScope* scope = nullptr;           // owned by the editor
  std::function<double(double, int, int)> response;
  int evaluations = 0;
  int active[IScope::kMaxBands] = {};
  int type[IScope::kMaxBands] = {};
  int chMode[IScope::kMaxBands] = {};
  int slope[IScope::kMaxBands] = {};
  int solo[IScope::kMaxBands] = {};
  double gain[IScope::kMaxBands] = {};
  double freq[IScope::kMaxBands] = {};
  double q[IScope::kMaxBands] = {};
};
