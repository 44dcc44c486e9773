#pragma once

#include <algorithm>

// An integer rectangle in editor pixels; right and bottom are exclusive.
// All four values 0 is the one and only empty rectangle: a rectangle of
// zero width elsewhere on the editor is not "empty" to these tests.
struct IRECT {
  int L = 0, T = 0, R = 0, B = 0;

  IRECT() = default;
  IRECT(int l, int t, int r, int b) : L(l), T(t), R(r), B(b) {}

  bool Empty() const { return L == 0 && T == 0 && R == 0 && B == 0; }
  int W() const { return R - L; }
  int H() const { return B - T; }
  bool Contains(int x, int y) const { return !Empty() && x >= L && x < R && y >= T && y < B; }

  // The redraw test: right and bottom compare inclusively, so a control
  // that only touches the area on its left or top edge is drawn as well.
  bool Intersects(const IRECT& b) const {
    if (Empty() || b.Empty()) return false;
    return R >= b.L && L < b.R && B >= b.T && T < b.B;
  }

  // Empty whenever Intersects says no.
  IRECT Intersection(const IRECT& b) const {
    if (!Intersects(b)) return IRECT();
    return IRECT(std::max(L, b.L), std::max(T, b.T), std::min(R, b.R), std::min(B, b.B));
  }

  IRECT Union(const IRECT& b) const {
    if (Empty()) return b;
    if (b.Empty()) return *this;
    return IRECT(std::min(L, b.L), std::min(T, b.T), std::max(R, b.R), std::max(B, b.B));
  }

  bool operator==(const IRECT& b) const { return L == b.L && T == b.T && R == b.R && B == b.B; }
  bool operator!=(const IRECT& b) const { return !(*this == b); }
};
