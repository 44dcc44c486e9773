#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/quickdraw/QuickDraw.h"

// What tests and command-line hosts see of the QuickDraw stand-in: ports
// made without a window system, the commands drawn into them, and region
// contents. Coordinates in a command are the port's local coordinates at
// the time of the call; `origin` says where the port's top-left pixel was.
namespace platform {

enum class DrawOp {
  kEraseRect,
  kPaintRect,
  kFrameRect,
  kInvertRect,
  kEraseOval,
  kPaintOval,
  kFrameOval,
  kLine,        // from `from` to `to`
  kText,        // `text` drawn with its baseline starting at `from`
  kTextBox,     // `text` wrapped in `rect` with `justification`
  kScrollRect,  // `rect` moved by (`dh`, `dv`)
  kPaintPoly,   // `points`
  kPicture,     // `handle` drawn into `rect`
  kIcon,        // `handle` plotted into `rect`
};

struct DrawCommand {
  DrawOp op;
  Rect rect{0, 0, 0, 0};
  Point from{0, 0};
  Point to{0, 0};
  std::string text;
  int16_t justification = 0;
  int16_t dh = 0;
  int16_t dv = 0;
  std::vector<Point> points;
  const void* handle = nullptr;
  // The port's state when the command ran.
  RGBColor fore{0, 0, 0};
  RGBColor back{0, 0, 0};
  Point penSize{1, 1};
  int16_t penMode = patCopy;
  int16_t textFont = 0;
  int16_t textSize = 0;
  Style textFace = normal;
  int16_t textMode = srcOr;
  // The back pattern's bytes: 8 for an old-style pattern (all 0 for white),
  // the pattern's data for a pixel pattern.
  bool backIsPixPat = false;
  std::string backPattern;
  std::vector<Rect> clip;
  Point origin{0, 0};
};

// A port whose pixels span `size` (its local coordinates start at (0, 0))
// and whose top-left pixel sits at `globalTopLeft` on the screen. The clip
// starts wide open, colours black on white, font 0 size 12.
GrafPtr NewStandInPort(int16_t width, int16_t height, Point globalTopLeft = Point{0, 0});
void DisposeStandInPort(GrafPtr port);

const std::vector<DrawCommand>& PortLog(GrafPtr port);
void ClearPortLog(GrafPtr port);
std::vector<Rect> ClipRects(GrafPtr port);

// The disjoint rectangles a region is made of, in no particular order.
std::vector<Rect> RegionRects(RgnHandle rgn);
// Number of pixels in the region.
long RegionArea(RgnHandle rgn);
long RectListArea(const std::vector<Rect>& rects);

}  // namespace platform
