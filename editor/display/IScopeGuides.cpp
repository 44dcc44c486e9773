#include <algorithm>
#include <cmath>

#include "editor/display/IScope.h"
#include "editor/display/NoteName.h"
#include "editor/display/PlotMapping.h"
#include "editor/display/ScopePalettes.h"
#include "editor/display/ScopeText.h"
#include "graphics/IGraphics.h"

// The frequency guides of "EQ Cheat Sheet": coloured bars along the plot's
// top, the entry under the mouse drawn again in the hover colours, and over
// the piano keys a tag with the note under the mouse.

namespace {

constexpr IColor kKeyHoverColor(128, 255, 0, 0);
constexpr IColor kBlackKeyColor(192, 0, 0, 0);
constexpr IColor kWhiteKeyColor(192, 255, 255, 255);
constexpr int kRangeAlpha = 128;

}  // namespace

bool IScope::DrawGuideOverlay(IGraphics* g, bool hoverOnly, double freq) {
  // A choice past the sets (a value the parameter should never hold)
  // shows nothing rather than reading past the list.
  if (mCheatSheet <= 0 || mCheatSheet > mGuideSets.GetSize()) return false;
  const CheatSheetSet* set = mGuideSets.Get(mCheatSheet - 1);
  if (!set) return false;

  const PlotMapping m(mPlotRect, mFreqMin, mFreqMax);
  IText labelText = ScopeText(mGuideTextSize, mColLabel, IText::kAlignNear);
  IText hoverText = ScopeText(mGuideTextSize, mColHoverText, IText::kAlignNear);
  // The column of a frequency, in double: a range that starts at 0 Hz lies
  // at -infinity, which only the clamp below may turn into a pixel.
  const auto column = [&](double hz) { return m.L + std::floor(m.W * m.Pos(hz) + 0.5); };

  bool matched = false;
  for (int i = 0; i < set->GetSize(); ++i) {
    const CheatSheetEntry* e = set->Get(i);
    if (!e || !e->visible) continue;
    if (hoverOnly) {
      if (!(freq >= e->lowHz && freq <= e->highHz)) continue;
      matched = true;
    }
    double left, right;
    if (e->isKey) {
      // Neighbouring keys keep a gap; black keys a wider one.
      const int inset = e->isBlackKey ? 2 : 1;
      left = column(e->keyLowHz) + inset;
      right = column(e->keyHighHz) - inset;
    } else {
      left = column(e->lowHz);
      right = column(e->highHz);
    }
    if ((left < m.L && right < m.L) || (left > m.R && right > m.R)) continue;
    const int l = static_cast<int>(std::clamp(left, static_cast<double>(m.L), static_cast<double>(m.R)));
    const int r = static_cast<int>(std::clamp(right, static_cast<double>(m.L), static_cast<double>(m.R)));
    const IRECT bar(l, m.T, r, m.T + (e->isBlackKey ? mBlackKeyBarH : mGuideBarH));

    if (e->isKey) {
      const IColor& c = hoverOnly ? kKeyHoverColor : e->isBlackKey ? kBlackKeyColor : kWhiteKeyColor;
      g->FillIRect(&c, &bar, &mBlend);
      continue;
    }
    const IColor c = FrequencyPaletteColor(e->lowHz, kRangeAlpha);
    g->DrawLineColorAlpha(&c, static_cast<float>(l), static_cast<float>(m.T), static_cast<float>(l),
                          static_cast<float>(m.B), &mBlend, true);
    g->DrawLineColorAlpha(&c, static_cast<float>(r), static_cast<float>(m.T), static_cast<float>(r),
                          static_cast<float>(m.B), &mBlend, true);
    g->FillIRect(&c, &bar, &mBlend);

    // The long name where it fits, else the short one where two characters
    // of the guide size fit, else none.
    IText* text = hoverOnly ? &hoverText : &labelText;
    IRECT label(l + 2, m.T, l + mGuideLabelW, m.T + mGuideLabelH);
    g->DrawIText(&labelText, e->name.Get(), &label, true);
    if (l + 2 + label.W() < r) {
      g->DrawIText(text, e->name.Get(), &label);
    } else if (l + 2 + 2 * mGuideTextSize < r) {
      g->DrawIText(text, e->shortName.Get(), &label);
    }
  }
  return matched;
}

void IScope::DrawHoverGuide(IGraphics* g) {
  if (mCheatSheet == 0 || !MouseInPlot()) return;
  const PlotMapping m(mPlotRect, mFreqMin, mFreqMax);
  const int hit = ShownHitBand();
  const double f = hit >= 0 ? mBandFreq[hit] : m.ColumnHz(mEvent.mMouseX - m.L);
  const bool matched = DrawGuideOverlay(g, true, f);
  if (mCheatSheet != 1 || !matched) return;

  char note[kNoteNameSize], cents[kNoteNameSize];
  int octave = 0;
  FrequencyToNoteName(note, cents, &octave, f);
  IText text = ScopeText(mLabelTextSize, mColHoverText, IText::kAlignFar);
  IRECT probe(0, 0, 50, 12);
  g->DrawIText(&text, octave >= 10 ? "A#10" : "A#9", &probe, true);
  const int w = probe.W();

  // Centred on the frequency, kept mTagMargin inside the plot.
  const int margin = mTagMargin;
  int x0 = m.XOf(f) - w / 2;
  if (x0 < m.L + margin) {
    x0 = m.L + margin;
  } else {
    x0 = std::min(x0, m.R - w - margin);
  }
  const int y0 = m.T + mGuideLabelW;
  const IRECT box(x0 - margin, y0, x0 + w + margin, y0 + mLabelTextSize);
  g->FillIRect(&mColBorder, &box, &mBlend);
  IRECT r(x0, y0, x0 + w, y0 + mLabelTextSize);
  g->DrawIText(&text, note, &r);
}
