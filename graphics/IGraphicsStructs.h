#pragma once

// An integer rectangle in editor pixels; right and bottom are exclusive.
// All four values 0 is the one and only empty rectangle.
struct IRECT {
  int L = 0, T = 0, R = 0, B = 0;

  IRECT() = default;
  IRECT(int l, int t, int r, int b) : L(l), T(t), R(r), B(b) {}

  bool Empty() const { return L == 0 && T == 0 && R == 0 && B == 0; }
  int W() const { return R - L; }
  int H() const { return B - T; }
  bool Contains(int x, int y) const { return !Empty() && x >= L && x < R && y >= T && y < B; }
};

// The buttons and modifier keys of one mouse event.
struct IMouseMod {
  bool L = false;  // left button
  bool R = false;  // right button (or Command-click)
  bool S = false;  // Shift
  bool C = false;  // Control
  bool A = false;  // Option
  bool W = false;  // set by the graphics core on wheel events

  IMouseMod() = default;
  IMouseMod(bool l, bool r = false, bool s = false, bool c = false, bool a = false, bool w = false)
      : L(l), R(r), S(s), C(c), A(a), W(w) {}
};
