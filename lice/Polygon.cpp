// Convex polygons: cut into bands between consecutive vertex rows, each a
// trapezoid with horizontal top and bottom whose sides step in 16.16 fixed
// point. Bands share no row, so no pixel is written twice.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "lice/LICE_DrawSupport.h"
#include "lice/lice.h"

namespace {

struct Point {
  int x, y;
};

constexpr int kFixedPoints = 512;
constexpr int64_t kMaxStep = 536870912;  // 2^29: 8192 pixels a row

int ComparePointsYX(const void* a, const void* b) {
  const Point* p = static_cast<const Point*>(a);
  const Point* q = static_cast<const Point*>(b);
  if (p->y != q->y) return p->y < q->y ? -1 : 1;
  if (p->x != q->x) return p->x < q->x ? -1 : 1;
  return 0;
}

// The next vertex below pts[start] on the left chain (dir -1: the smallest
// slope) or the right one (dir +1: the largest). Equal slopes go to the
// later point, so collinear vertices are stepped over.
int NextChainVertex(const Point* pts, int start, int n, int dir) {
  if (start + 1 >= n) return start;
  int best = -1;
  float bestSlope = 0.0f;
  for (int i = start + 1; i < n; ++i) {
    if (pts[i].y == pts[start].y) continue;
    const float s = static_cast<float>(static_cast<int64_t>(pts[i].x) - pts[start].x) /
                    static_cast<float>(static_cast<int64_t>(pts[i].y) - pts[start].y);
    if (best < 0 || s == bestSlope || (dir < 0 && s < bestSlope) || (dir > 0 && s > bestSlope)) {
      best = i;
      bestSlope = s;
    }
  }
  return best < 0 ? start : best;
}

// x of the edge from p to q at row v, held at the end points.
int EdgeX(const Point& p, const Point& q, int v) {
  const Point& top = p.y <= q.y ? p : q;
  const Point& bottom = p.y <= q.y ? q : p;
  if (v <= top.y) return top.x;
  if (v >= bottom.y) return bottom.x;
  const float t = static_cast<float>(static_cast<int64_t>(v) - top.y) *
                  (static_cast<float>(static_cast<int64_t>(bottom.x) - top.x) /
                   static_cast<float>(static_cast<int64_t>(bottom.y) - top.y));
  return LICE_SaturateInt(static_cast<int64_t>(top.x) + static_cast<int64_t>(t));
}

// One side of a band as its rows walk it. The position is 64-bit: a steep
// edge that starts far above the bitmap is advanced by its step times the
// skipped rows, which overflows 32 bits long before the band is reached.
struct BandSide {
  int64_t x;
  int64_t step;  // magnitude, 0..2^29
  int64_t frac;  // 0..65535
  int dir;       // +1 or -1
  void Advance() {
    frac += step;
    if (frac >= 65536) {
      x += dir * (frac >> 16);
      frac &= 0xffff;
    }
  }
};

template <class Op>
void FillBandRows(int width, int rowSpan, LICE_pixel* row, int rowCount, BandSide left, BandSide right,
                  LICE_pixel color, int alpha) {
  for (int r = 0; r < rowCount; ++r, row += rowSpan) {
    const int64_t xs = left.x > 0 ? left.x : 0;
    const int64_t xe = right.x < width ? right.x : width;
    for (int64_t x = xs; x < xe; ++x) Op::Apply(row + x, color, alpha);
    left.Advance();
    right.Advance();
  }
}

// Both sides vertical: the same run on every row, already clipped.
template <class Op>
void FillBandColumns(int rowSpan, LICE_pixel* row, int rowCount, int count, LICE_pixel color, int alpha) {
  for (int r = 0; r < rowCount; ++r, row += rowSpan) {
    for (int x = 0; x < count; ++x) Op::Apply(row + x, color, alpha);
  }
}

// Rows y1 to y2 inclusive (memory rows) between the edge joining the
// smaller x of each row and the one joining the larger.
void FillTrapezoidBand(LICE_IBitmap* dest, int xa1, int xb1, int y1, int xa2, int xb2, int y2, LICE_pixel color,
                       float alpha, int mode) {
  if (!dest) return;
  if (y1 > y2) {
    std::swap(y1, y2);
    std::swap(xa1, xa2);
    std::swap(xb1, xb2);
  }
  int64_t lt = xa1 < xb1 ? xa1 : xb1, rt = xa1 < xb1 ? xb1 : xa1;
  int64_t lb = xa2 < xb2 ? xa2 : xb2, rb = xa2 < xb2 ? xb2 : xa2;
  int64_t yt = y1, yb = y2;
  const int w = dest->getWidth();
  const int h = dest->getHeight();
  if ((rt < 0 && rb < 0) || (lt >= w && lb >= w)) return;
  if (lt <= 0 && lb <= 0) lt = lb = 0;
  if (rt >= w - 1 && rb >= w - 1) rt = rb = w - 1;
  if (yb < 0 || yt >= h) return;
  LICE_pixel* bits = dest->getBits();
  if (!bits) return;

  float weight = alpha;
  if (mode & LICE_BLIT_USE_ALPHA) weight *= static_cast<float>(LICE_GETA(color)) / 255.0f;

  const int64_t dy = yb - yt;
  const double k = dy != 0 ? 65536.0 / static_cast<double>(dy) : 0.0;
  auto stepOf = [k](int64_t dx) {
    double s = static_cast<double>(dx) * k;
    if (s > kMaxStep) s = static_cast<double>(kMaxStep);
    if (s < -kMaxStep) s = -static_cast<double>(kMaxStep);
    return static_cast<int64_t>(s);
  };
  const int64_t stepLeft = stepOf(lb - lt);
  const int64_t stepRight = stepOf(rb - rt);
  BandSide left = {lt, stepLeft < 0 ? -stepLeft : stepLeft, 0, stepLeft < 0 ? -1 : 1};
  BandSide right = {rt, stepRight < 0 ? -stepRight : stepRight, 0, stepRight < 0 ? -1 : 1};
  if (yt < 0) {
    const int64_t skipped = -yt;
    for (BandSide* side : {&left, &right}) {
      const int64_t acc = side->step * skipped;  // up to 2^29 * 2^31
      side->x += side->dir * (acc >> 16);
      side->frac = acc & 0xffff;
    }
    yt = 0;
  }
  if (yb > h - 1) yb = h - 1;
  const int rowCount = static_cast<int>(yb - yt + 1);
  const int span = dest->getRowSpan();
  LICE_pixel* row = LICE_MemoryPixel(bits, span, 0, static_cast<int>(yt));
  right.x += 1;  // carried exclusive

  const bool vertical = left.step == 0 && right.step == 0;
  int count = 0;
  if (vertical) {
    const int64_t xs = left.x > 0 ? left.x : 0;
    const int64_t xe = right.x < w ? right.x : w;
    if (xe - xs <= 0) return;
    count = static_cast<int>(xe - xs);
    row += xs;
  }

  const int ia = LICE_IntegerAlphaSingle(weight);
  auto run = [&](auto op) {
    using Op = typename decltype(op)::type;
    if (vertical) {
      FillBandColumns<Op>(span, row, rowCount, count, color, ia);
    } else {
      FillBandRows<Op>(w, span, row, rowCount, left, right, color, ia);
    }
  };
  const int modeByte = mode & LICE_BLIT_MODE_MASK;
  if (modeByte == LICE_BLIT_MODE_COPY) {
    switch (ia) {
      case 256: run(LICE_OpTag<LICE_StoreWord>()); return;
      case 128: run(LICE_OpTag<LICE_HalfWord>()); return;
      case 64: run(LICE_OpTag<LICE_QuarterWord>()); return;
      case 192: run(LICE_OpTag<LICE_ThreeQuarterWord>()); return;
      default: break;
    }
  }
  if (ia == 0) return;
  if (modeByte == LICE_BLIT_MODE_COPY) {
    if (ia >= 1) run(LICE_OpTag<LICE_CopyCombiner>());
    return;
  }
  LICE_WithBlendCombiner(modeByte, run);
}

}  // namespace

void LICE_FillConvexPolygon(LICE_IBitmap* dest, const int* x, const int* y, int n, LICE_pixel color, float alpha,
                            int mode) {
  if (!dest || !x || !y || n < 3) return;
  Point fixed[kFixedPoints];
  Point* heap = nullptr;
  if (n > kFixedPoints) {
    heap = static_cast<Point*>(std::malloc(static_cast<size_t>(n) * sizeof(Point)));
    if (!heap) return;
  }
  Point* pts = heap ? heap : fixed;
  const bool flipped = dest->isFlipped();
  const int h = dest->getHeight();
  int minX = x[0], maxX = x[0];
  for (int i = 0; i < n; ++i) {
    pts[i].x = x[i];
    pts[i].y = flipped ? LICE_SaturateInt(static_cast<int64_t>(h) - 1 - y[i]) : y[i];
    if (x[i] < minX) minX = x[i];
    if (x[i] > maxX) maxX = x[i];
  }
  std::qsort(pts, static_cast<size_t>(n), sizeof(Point), ComparePointsYX);

  if (pts[0].y == pts[n - 1].y) {
    if (pts[0].y >= 0 && pts[0].y < h) {
      FillTrapezoidBand(dest, minX, maxX, pts[0].y, minX, maxX, pts[0].y, color, alpha, mode);
    }
    std::free(heap);
    return;
  }

  // The top-left and top-right vertices, duplicates of the top-left one
  // passed over; then each chain walks down to the bottom row.
  int a = 0;
  while (a + 1 < n && pts[a + 1].y == pts[0].y && pts[a + 1].x == pts[0].x) ++a;
  int b = 0;
  while (b + 1 < n && pts[b + 1].y == pts[0].y) ++b;
  int a1 = NextChainVertex(pts, a, n, -1);
  int b1 = NextChainVertex(pts, b, n, +1);
  int64_t row = pts[0].y;
  do {
    const int ynext = pts[a1].y < pts[b1].y ? pts[a1].y : pts[b1].y;
    const int yFirst = static_cast<int>(row);
    FillTrapezoidBand(dest, EdgeX(pts[a], pts[a1], yFirst), EdgeX(pts[b], pts[b1], yFirst), yFirst,
                      EdgeX(pts[a], pts[a1], ynext), EdgeX(pts[b], pts[b1], ynext), ynext, color, alpha, mode);
    if (pts[a1].y == ynext) {
      a = a1;
      a1 = NextChainVertex(pts, a1, n, -1);
    }
    if (pts[b1].y == ynext) {
      b = b1;
      b1 = NextChainVertex(pts, b1, n, +1);
    }
    row = static_cast<int64_t>(ynext) + 1;
  } while ((a != a1 || b != b1) && row <= INT32_MAX);
  std::free(heap);
}

void LICE_FillTriangle(LICE_IBitmap* dest, int x1, int y1, int x2, int y2, int x3, int y3, LICE_pixel color,
                       float alpha, int mode) {
  const int x[3] = {x1, x2, x3};
  const int y[3] = {y1, y2, y3};
  LICE_FillConvexPolygon(dest, x, y, 3, color, alpha, mode);
}
