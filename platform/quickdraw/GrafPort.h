#pragma once

#include <string>
#include <vector>

#include "platform/hitoolbox/MacWindows.h"
#include "platform/quickdraw/DrawLog.h"
#include "platform/quickdraw/QuickDraw.h"

// The records behind the QuickDraw stand-in's opaque types; only the
// stand-in's own sources include this.

struct OpaqueRgnHandle {
  std::vector<Rect> rects;  // disjoint, none empty
};

struct OpaquePolyHandle {
  std::vector<Point> points;
};

struct OpaqueGrafPtr {
  Rect bounds{0, 0, 0, 0};  // top-left is the origin
  Point globalTopLeft{0, 0};
  OpaqueRgnHandle clip;
  Point pen{0, 0};
  Point penSize{1, 1};
  int16_t penMode = patCopy;
  int16_t textFont = 0;
  int16_t textSize = 12;
  Style textFace = normal;
  int16_t textMode = srcOr;
  RGBColor fore{0, 0, 0};
  RGBColor back{0xFFFF, 0xFFFF, 0xFFFF};
  Pattern backPattern{};
  bool hasBackPixPat = false;
  std::string backPixPat;
  WindowRef window = nullptr;
  OpaquePolyHandle* openPoly = nullptr;
  std::vector<platform::DrawCommand> log;
};

namespace platform {

// Region arithmetic on rectangle lists, shared with the window's invalid
// region.
std::vector<Rect> SubtractRect(const std::vector<Rect>& from, const Rect& r);
std::vector<Rect> UniteRects(const std::vector<Rect>& a, const std::vector<Rect>& b);
std::vector<Rect> IntersectRects(const std::vector<Rect>& a, const std::vector<Rect>& b);

// Appends a command carrying the port's present state.
DrawCommand& LogCommand(GrafPtr port, DrawOp op);

}  // namespace platform
