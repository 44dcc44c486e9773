#include <algorithm>
#include <cmath>

#include "editor/display/IScope.h"

// The display edits nothing itself: each handler records what was hit in
// mEvent, tells the plug-in (which reads the record and the graphics
// core's last modifiers during the call) and clears its one-shot fields.

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

const IMouseMod& ModOrNone(const IMouseMod* mod) {
  static const IMouseMod kNone;
  return mod ? *mod : kNone;
}

}  // namespace

void IScope::BandHitTest(int x, int y) {
  GraphEventRecord& e = mEvent;
  e.mHitBand = -1;
  const int n = ReadableBands();
  // No early exit: of overlapping handles the last band drawn wins, and an
  // active band's handle wins over an inactive one under it.
  for (int i = 0; i < n; ++i) {
    if (mBandActive[i] && mHandleRect[i].Contains(x, y)) e.mHitBand = i;
  }
  if (e.mHitBand >= 0) return;
  for (int i = 0; i < n; ++i) {
    if (!mBandActive[i] && mHandleRect[i].Contains(x, y)) e.mHitBand = i;
  }
}

void IScope::StripTest(int x, int y) {
  GraphEventRecord& e = mEvent;
  e.mOnFreqScale = e.mOnAnalyzerScale = e.mOnEQScale = 0;
  if (mFreqScaleStrip.Contains(x, y)) e.mOnFreqScale = 1;
  else if (mAnalyzerScaleStrip.Contains(x, y)) e.mOnAnalyzerScale = 1;
  else if (mEQScaleStrip.Contains(x, y)) e.mOnEQScale = 1;
}

// Unclamped: outside the plot the values lie outside the shown ranges.
void IScope::MouseToPlot(int x, int y) {
  mEvent.mHzAtMouse = XToFrequency(x);
  mEvent.mDBAtMouse = YToGain(y);
}

void IScope::UpdateHover(int x, int y) {
  const int n = ReadableBands();
  const double fade = 2.0 * mHoverRadius;
  for (int i = 0; i < n; ++i) {
    if (mHoverRect[i].Contains(x, y)) {
      const double d = std::hypot(mHandleCentre[i].x - x, mHandleCentre[i].y - y);
      mHandleHover[i] = 1;
      mHoverAmount[i] = 1.0 - std::min(d, fade) / fade;
    } else {
      mHandleHover[i] = 0;
      mHoverAmount[i] = 0.0;
    }
  }
}

void IScope::OnMouseDown(int x, int y, IMouseMod* modPtr) {
  const IMouseMod& mod = ModOrNone(modPtr);
  GraphEventRecord& e = mEvent;
  e.mPlotHit = 0;
  BandHitTest(x, y);
  if (mod.R || (mod.L && mod.S && mod.C)) {
    // Off the handles this click does nothing at all.
    e.mEvMenu = mod.R;
    e.mEvDown = mod.L;
    if (e.mHitBand >= 0) ShowBandMenu();
  } else {
    e.mEvDown = true;
    if (e.mHitBand >= 0) {
      NotifyPlug();
    } else if (mPlotRect.Contains(x, y)) {
      StripTest(x, y);
      e.mPlotHit = 1;
      NotifyPlug();
    }
  }
  e.mEvDown = e.mEvMenu = false;
}

void IScope::OnMouseUp(int, int, IMouseMod*) {
  // The hit state stays: the plug-in only needs to know the button is up.
  mEvent.mEvUp = true;
  NotifyPlug();
  mEvent.mEvUp = false;
}

void IScope::OnMouseDrag(int x, int y, int dx, int dy, IMouseMod*) {
  GraphEventRecord& e = mEvent;
  e.mMouseX = x;
  e.mMouseY = y;
  MouseToPlot(x, y);
  e.mEvDrag = true;
  e.mDragDX = dx;
  e.mDragDY = dy;
  if (e.mHitBand < 0) {
    // Off the handles only a strip moves, and only along its own axis.
    e.mOnFreqScale = e.mOnAnalyzerScale = e.mOnEQScale = 0;
    e.mPlotHit = 1;
    e.mStep = 0;
    if (mFreqScaleStrip.Contains(x, y)) {
      e.mOnFreqScale = 1;
      e.mDragDY = 0.0;
      e.mStep = Sign(dx);
    } else if (mAnalyzerScaleStrip.Contains(x, y) || mEQScaleStrip.Contains(x, y)) {
      if (mAnalyzerScaleStrip.Contains(x, y)) e.mOnAnalyzerScale = 1;
      else e.mOnEQScale = 1;
      e.mDragDX = 0.0;
      e.mStep = Sign(dy);
    } else {
      e.mDragDX = e.mDragDY = 0.0;
    }
    NotifyPlug();
    e.mStep = 0;
    e.mPlotHit = 0;
    e.mOnFreqScale = e.mOnAnalyzerScale = e.mOnEQScale = 0;
  } else {
    // The handle stays grabbed even where the mouse has left it.
    NotifyPlug();
  }
  e.mEvDrag = false;
  e.mDragDX = e.mDragDY = 0.0;
  // After the plug-in moved the handle.
  UpdateHover(x, y);
}

void IScope::OnMouseDblClick(int x, int y, IMouseMod*) {
  GraphEventRecord& e = mEvent;
  e.mEvDblClick = true;
  e.mPlotHit = 0;
  BandHitTest(x, y);
  if (e.mHitBand >= 0) {
    NotifyPlug();
  } else if (mPlotRect.Contains(x, y)) {
    e.mPlotHit = 1;
    NotifyPlug();
  }
  e.mEvDblClick = false;
}

void IScope::OnMouseWheel(int x, int y, IMouseMod*, int d) {
  GraphEventRecord& e = mEvent;
  e.mEvWheel = true;
  e.mStep = -d;
  e.mPlotHit = 0;
  BandHitTest(x, y);
  if (e.mHitBand >= 0) {
    NotifyPlug();
  } else if (mPlotRect.Contains(x, y)) {
    StripTest(x, y);
    e.mPlotHit = 1;
    NotifyPlug();
  }
  e.mStep = 0;
  e.mEvWheel = false;
}

void IScope::OnMouseOver(int x, int y, IMouseMod*) {
  GraphEventRecord& e = mEvent;
  e.mMouseX = x;
  e.mMouseY = y;
  MouseToPlot(x, y);
  e.mEvHover = true;
  e.mPlotHit = 0;
  BandHitTest(x, y);
  UpdateHover(x, y);
  NotifyPlug();
  e.mEvHover = false;
}

void IScope::OnMouseOut() {
  GraphEventRecord& e = mEvent;
  e.mMouseX = e.mMouseY = -1;
  e.mDBAtMouse = 0.0;
  e.mHzAtMouse = 1.0;
  e.mEvHover = true;
  e.mHitBand = -1;
  NotifyPlug();
  e.mEvHover = false;
}
