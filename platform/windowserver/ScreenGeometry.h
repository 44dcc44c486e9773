#pragma once

// Screen coordinates of the window server: points, origin at the top left
// of the main display, y growing downwards. A window's device pixels are
// its points times its device scale.
namespace platform {

struct ScreenPoint {
  double x = 0.0, y = 0.0;
};

struct ScreenRect {
  double x = 0.0, y = 0.0, width = 0.0, height = 0.0;
};

// Whole device pixels; right and bottom exclusive.
struct DeviceRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool IsEmpty() const { return right <= left || bottom <= top; }
};

// A device coordinate as an edge of a clip in a window `limit` pixels
// across, kept within [0, limit] before it becomes an integer: a view of
// any size (or NaN) clips to the window's pixels.
inline int ClipEdge(double v, int limit) {
  if (!(v > 0.0)) return 0;
  return v < limit ? static_cast<int>(v) : limit;
}

}  // namespace platform
