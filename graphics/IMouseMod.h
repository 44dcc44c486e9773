#pragma once

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
