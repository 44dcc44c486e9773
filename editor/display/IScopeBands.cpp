#include <algorithm>
#include <cmath>
#include <cstdio>

#include "editor/display/BandHandleLevel.h"
#include "editor/display/IScope.h"
#include "editor/display/NoteName.h"
#include "editor/display/PlotMapping.h"
#include "editor/display/ScopePalettes.h"
#include "editor/display/ScopeText.h"
#include "graphics/IGraphics.h"
#include "plugin/engine/BandTypes.h"

// The top layers: the readouts at the mouse and the band handles.

namespace {

constexpr int kReadoutMargin = 5;  // pixels, at every editor scale
constexpr int kHandleMinAlpha = 128;
constexpr int kArrowMinAlpha = 64;
constexpr int kInactiveOuterSlot = 25;
constexpr int kInactiveInnerSlot = 24;
constexpr int kActiveOuterSlot = 23;
constexpr int kGainReadoutSlot = 20;
// The channel sums' colours, by channel mode; "All" has no arrow.
constexpr int kArrowSlots[5] = {-1, 15, 14, 17, 16};

}  // namespace

void IScope::DrawBandHandles(IGraphics* g, int hidden) {
  const int n = ReadableBands();
  if (!mAB || n == 0 || hidden) return;
  const PlotMapping m(mPlotRect, mFreqMin, mFreqMax);
  const int r = mHandleRadius;
  const int inner = r - 2;
  const int e = 4 * inner;  // where a channel arrow's tip lies
  const int d = static_cast<int>(7.0 * mScaleX);
  // By the mappings the handles' mouse rectangles are placed with, so a
  // disc never sits a row off the spot that takes its clicks.
  const auto centre = [&](int b, int* x, int* y) {
    *x = FrequencyToX(mBandFreq[b]);
    *y = GainToY(HandleLevelDb(mBandType[b], mBandGain[b], mBandQ[b]));
  };
  // Inside means every edge on the plot: L <= edge < R, T <= edge < B.
  const auto inside = [&](int x, int y, int halfW, int halfH) {
    return m.Contains(x - halfW, y - halfH) && m.Contains(x + halfW, y + halfH);
  };
  const float radius = static_cast<float>(r);
  const float innerRadius = static_cast<float>(inner);

  // Inactive bands first, so the active ones lie on top.
  for (int b = 0; b < n; ++b) {
    if (mBandActive[b]) continue;
    int x, y;
    centre(b, &x, &y);
    if (!inside(x, y, r, r)) continue;
    g->FillCircle(&mColors[kInactiveOuterSlot], x, y, radius, &mBlend, true);
    g->FillCircle(&mColors[kInactiveInnerSlot], x, y, innerRadius, &mBlend, true);
  }
  for (int b = 0; b < n; ++b) {
    if (!mBandActive[b]) continue;
    int x, y;
    centre(b, &x, &y);
    // Room for the arrows on both sides.
    if (!inside(x, y, e, r)) continue;
    const int hover = static_cast<int>(255.0 * mHoverAmount[b]);
    const int alpha = std::max(hover, kHandleMinAlpha);
    IColor outer = mColors[kActiveOuterSlot];
    outer.A = alpha;
    g->FillCircle(&outer, x, y, radius, &mBlend, true);
    const IColor core = FrequencyPaletteColor(mBandFreq[b], alpha);
    g->FillCircle(&core, x, y, innerRadius, &mBlend, true);

    const int mode = mBandChMode[b];
    if (mode <= kChannelAll || mode > kChannelSide) continue;
    IColor arrow = mColors[kArrowSlots[mode]];
    arrow.A = std::max(hover, kArrowMinAlpha);
    const auto leftArrow = [&] { g->FillTriangle(&arrow, x - e, y, x - e + d, y - d, x - e + d, y + d, &mBlend); };
    const auto rightArrow = [&] { g->FillTriangle(&arrow, x + e, y, x + e - d, y - d, x + e - d, y + d, &mBlend); };
    if (mode == kChannelLeft) {
      leftArrow();
    } else if (mode == kChannelRight) {
      rightArrow();
    } else if (mode == kChannelMid) {
      g->FillTriangle(&arrow, x - d, y + e - d, x + d, y + e - d, x, y + e, &mBlend);
    } else {
      rightArrow();
      leftArrow();
    }
  }
}

void IScope::DrawBandReadouts(IGraphics* g) {
  if (!MouseInPlot()) return;
  const PlotMapping m(mPlotRect, mFreqMin, mFreqMax);
  const int s = mLabelTextSize;
  IText text = ScopeText(s, mColHoverText, IText::kAlignFar);
  const auto widthOf = [&](const char* probe) {
    IRECT r(0, 0, 50, 12);
    g->DrawIText(&text, probe, &r, true);
    return r.W();
  };
  // A box of the text's width, filled, then the text in it.
  const auto readout = [&](IText* style, const IRECT& r, int widen, const char* str) {
    const IRECT back(r.L - widen, r.T, r.R + widen, r.B);
    g->FillIRect(&mColBorder, &back, &mBlend);
    IRECT place = r;
    g->DrawIText(style, str, &place);
  };

  const int hit = ShownHitBand();
  const double f = hit >= 0 ? mBandFreq[hit] : m.ColumnHz(mEvent.mMouseX - m.L);
  char note[kNoteNameSize], cents[kNoteNameSize];
  int octave = 0;
  FrequencyToNoteName(note, cents, &octave, f);
  const double p = static_cast<double>(m.B - mEvent.mMouseY) / m.H;
  double gain = mEqDbLo + p * (mEqDbHi - mEqDbLo);
  if (hit >= 0 && BandTypeUsesGain(mBandType[hit])) gain = mBandGain[hit];
  const double level = mSpecDbLo + p * (mSpecDbHi - mSpecDbLo);

  // Centred under the frequency, kept inside the plot.
  const auto leftFor = [&](int w) {
    return std::min(std::max(m.XOf(f) - w / 2, m.L + kReadoutMargin), m.R - w - kReadoutMargin);
  };

  char str[64];
  const char* probe;
  const char* format;
  if (f > 9999.0) {
    probe = "99999", format = "%.0lf";
  } else if (f > 999.0) {
    probe = "9999.9", format = "%.1lf";
  } else if (f > 99.0) {
    probe = "999.99", format = "%.2lf";
  } else {
    probe = "99.999", format = "%.3lf";
  }
  int w = widthOf(probe);
  int x = leftFor(w);
  std::snprintf(str, sizeof str, format, f);
  readout(&text, IRECT(x, m.B - s, x + w, m.B), kReadoutMargin, str);

  if (mShowNote) {
    // Over a band the note carries its deviation as well.
    if (hit >= 0) {
      w = widthOf(octave >= 10 ? "A#10 +99C" : "A#9 +99C");
      std::snprintf(str, sizeof str, "%s %s", note, cents);
    } else {
      w = widthOf(octave >= 10 ? "A#10" : "A#9");
      std::snprintf(str, sizeof str, "%s", note);
    }
    x = leftFor(w);
    const int y = m.B - 2 * s - s / 3;
    readout(&text, IRECT(x, y, x + w, y + s), kReadoutMargin, str);
  }

  const auto rowFor = [&](double v, double lo, double hi) {
    // The top wins should the plot be lower than the text.
    return std::max(std::min(m.YOfFraction((v - lo) / (hi - lo)) - s / 2, m.B - s), m.T);
  };
  int y = rowFor(level, mSpecDbLo, mSpecDbHi);
  std::snprintf(str, sizeof str, "%.0lf", level);
  readout(&text, IRECT(m.L + 2, y, m.L + 2 + mSpecLabelW, y + s), 0, str);

  IText gainText = ScopeText(s, mColors[kGainReadoutSlot], IText::kAlignFar);
  y = rowFor(gain, mEqDbLo, mEqDbHi);
  std::snprintf(str, sizeof str, "%.1lf", gain);
  readout(&gainText, IRECT(m.R - mGainReadoutW, y, m.R, y + s), 0, str);
}
