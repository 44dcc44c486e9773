#include "editor/display/ColumnFill.h"

#include <algorithm>

#include "graphics/IGraphics.h"

ColumnFill::ColumnFill(IGraphics* g, const IColor& color, const IChannelBlend* blend, int left, int right,
                       int bottom)
    : mGraphics(g),
      mColor(color),
      mBlend(blend),
      mLeft(left),
      mBottom(bottom),
      mTop(static_cast<size_t>(std::max(right - left, 0)), kNone) {}

void ColumnFill::Fill(int x0, int top, int x1, int bottom) {
  const IRECT r(x0, top, x1, bottom);
  mGraphics->FillIRect(&mColor, &r, mBlend);
}

void ColumnFill::Add(int x0, int top, int x1, int bottom) {
  // What FillIRect would leave untouched.
  if (x1 <= x0 || top >= bottom) return;
  const int n = static_cast<int>(mTop.size());
  const int c0 = x0 - mLeft, c1 = x1 - mLeft;
  if (c0 < 0 || c1 > n || bottom != mBottom) {
    // Fills of one colour commute, so this one may go before the rest.
    Fill(x0, top, x1, bottom);
    return;
  }
  for (int c = c0; c < c1; ++c) {
    if (mTop[c] == kNone) {
      mTop[c] = top;
    } else {
      mExtra.push_back({c, top});
    }
  }
  mPending = true;
}

void ColumnFill::Touch(int x0, int y0, int x1, int y1) {
  if (!mPending || std::min(y0, y1) >= mBottom) return;
  const int n = static_cast<int>(mTop.size());
  const int c0 = std::max(std::min(x0, x1) - mLeft, 0);
  const int c1 = std::min(std::max(x0, x1) - mLeft, n - 1);
  const int yMax = std::max(y0, y1);
  bool hit = false;
  for (int c = c0; c <= c1 && !hit; ++c) hit = mTop[c] <= yMax;
  for (const Extra& e : mExtra) hit = hit || (e.x >= c0 && e.x <= c1 && e.top <= yMax);
  if (hit) Flush();
}

void ColumnFill::Flush() {
  if (!mPending) return;
  mPending = false;
  // The pending area is a histogram standing on the bottom row: cut into
  // rectangles, each as wide as the columns it spans reach, with a stack
  // of the rising column tops met so far.
  struct Step {
    int c, top;
  };
  std::vector<Step> stack;
  const int n = static_cast<int>(mTop.size());
  for (int c = 0; c <= n; ++c) {
    const int top = c < n ? mTop[c] : kNone;
    int start = c;
    while (!stack.empty() && stack.back().top < top) {
      const Step s = stack.back();
      stack.pop_back();
      // Down to the higher of this column's top and the next step's.
      const int below = std::min(top, stack.empty() ? kNone : stack.back().top);
      Fill(mLeft + s.c, s.top, mLeft + c, std::min(below, mBottom));
      start = s.c;
    }
    if (top != kNone && (stack.empty() || top < stack.back().top)) stack.push_back({start, top});
    if (c < n) mTop[c] = kNone;
  }
  for (const Extra& e : mExtra) Fill(mLeft + e.x, e.top, mLeft + e.x + 1, mBottom);
  mExtra.clear();
}
