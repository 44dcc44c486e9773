#include "lice/LineClip.h"

#include <cmath>
#include <cstdint>

namespace {

int Outcode(int64_t x, int64_t y, int width, int height) {
  int code = x < 0 ? 1 : (x >= width ? 2 : 0);
  code |= y < 0 ? 4 : (y >= height ? 8 : 0);
  return code;
}

int OutcodeFloat(float x, float y, float w, float h) {
  int code = x < 0.0f ? 1 : (x >= w ? 2 : 0);
  code |= y < 0.0f ? 4 : (y >= h ? 8 : 0);
  return code;
}

}  // namespace

bool ClipLine(int* x1, int* y1, int* x2, int* y2, int width, int height) {
  // Differences in 64 bits: end points far apart must not wrap. The crossing
  // always lies between the two points, so it fits an int again.
  int64_t ax = *x1, ay = *y1, bx = *x2, by = *y2;
  int codeA = Outcode(ax, ay, width, height);
  int codeB = Outcode(bx, by, width, height);
  bool accepted = false;
  for (;;) {
    if (!(codeA | codeB)) {
      accepted = true;
      break;
    }
    if (codeA & codeB) break;
    const int c = codeA ? codeA : codeB;
    const double dx = static_cast<double>(bx - ax);
    const double dy = static_cast<double>(by - ay);
    int64_t x, y;
    if (c & 8) {
      x = ax + static_cast<int64_t>(static_cast<double>(height - ay) * dx / dy);
      y = height - 1;
    } else if (c & 4) {
      x = ax + static_cast<int64_t>(static_cast<double>(0 - ay) * dx / dy);
      y = 0;
    } else if (c & 2) {
      y = ay + static_cast<int64_t>(static_cast<double>(width - ax) * dy / dx);
      x = width - 1;
    } else {
      y = ay + static_cast<int64_t>(static_cast<double>(0 - ax) * dy / dx);
      x = 0;
    }
    if (c == codeA) {
      ax = x;
      ay = y;
      codeA = Outcode(ax, ay, width, height);
    } else {
      bx = x;
      by = y;
      codeB = Outcode(bx, by, width, height);
    }
  }
  *x1 = static_cast<int>(ax);
  *y1 = static_cast<int>(ay);
  *x2 = static_cast<int>(bx);
  *y2 = static_cast<int>(by);
  return accepted;
}

bool ClipLineFloat(float* x1, float* y1, float* x2, float* y2, int width, int height) {
  if (!std::isfinite(*x1) || !std::isfinite(*y1) || !std::isfinite(*x2) || !std::isfinite(*y2)) return false;
  const float w = static_cast<float>(width - 1);
  const float h = static_cast<float>(height - 1);
  float ax = *x1, ay = *y1, bx = *x2, by = *y2;
  int codeA = OutcodeFloat(ax, ay, w, h);
  int codeB = OutcodeFloat(bx, by, w, h);
  bool accepted = false;
  // Each pass clears a bit of one point's outcode; a few passes always do.
  // The bound only guards against rounding that would keep it circling.
  for (int pass = 0; pass < 16; ++pass) {
    if (!(codeA | codeB)) {
      accepted = true;
      break;
    }
    if (codeA & codeB) break;
    const int c = codeA ? codeA : codeB;
    float x, y;
    if (c & 8) {
      x = (h - ay) * (bx - ax) / (by - ay) + ax;
      y = h - 1.0f;
    } else if (c & 4) {
      x = (bx - ax) * ay / (ay - by) + ax;
      y = 0.0f;
    } else if (c & 2) {
      y = (by - ay) * (w - ax) / (bx - ax) + ay;
      x = w - 1.0f;
    } else {
      y = (by - ay) * ax / (ax - bx) + ay;
      x = 0.0f;
    }
    if (c == codeA) {
      ax = x;
      ay = y;
      codeA = OutcodeFloat(ax, ay, w, h);
    } else {
      bx = x;
      by = y;
      codeB = OutcodeFloat(bx, by, w, h);
    }
  }
  *x1 = ax;
  *y1 = ay;
  *x2 = bx;
  *y2 = by;
  // Far-off end points can overflow the products to infinity or NaN, which
  // the outcodes would let through; what is accepted must lie inside.
  auto inside = [w, h](float x, float y) { return x >= 0.0f && x < w && y >= 0.0f && y < h; };
  return accepted && inside(ax, ay) && inside(bx, by);
}
