#include <algorithm>
#include <cmath>

#include "platform/quickdraw/GrafPort.h"

namespace {

int16_t Narrow(int v) { return static_cast<int16_t>(std::clamp(v, -32768, 32767)); }

// Offsets wrap at 16 bits, as QuickDraw's do, so an offset is always undone
// exactly by the opposite one.
int16_t Wrap(int v) { return static_cast<int16_t>(static_cast<uint16_t>(v)); }

}  // namespace

void SetRect(Rect* r, int16_t left, int16_t top, int16_t right, int16_t bottom) {
  if (!r) return;
  *r = Rect{top, left, bottom, right};
}

void OffsetRect(Rect* r, int16_t dh, int16_t dv) {
  if (!r) return;
  r->left = Wrap(r->left + dh);
  r->right = Wrap(r->right + dh);
  r->top = Wrap(r->top + dv);
  r->bottom = Wrap(r->bottom + dv);
}

void InsetRect(Rect* r, int16_t dh, int16_t dv) {
  if (!r) return;
  r->left = Narrow(r->left + dh);
  r->right = Narrow(r->right - dh);
  r->top = Narrow(r->top + dv);
  r->bottom = Narrow(r->bottom - dv);
  if (EmptyRect(r)) *r = Rect{0, 0, 0, 0};
}

bool SectRect(const Rect* a, const Rect* b, Rect* dst) {
  const Rect s{std::max(a->top, b->top), std::max(a->left, b->left), std::min(a->bottom, b->bottom),
               std::min(a->right, b->right)};
  const bool meet = s.left < s.right && s.top < s.bottom;
  if (dst) *dst = meet ? s : Rect{0, 0, 0, 0};
  return meet;
}

void UnionRect(const Rect* a, const Rect* b, Rect* dst) {
  if (!dst) return;
  if (EmptyRect(a)) { *dst = *b; return; }
  if (EmptyRect(b)) { *dst = *a; return; }
  *dst = Rect{std::min(a->top, b->top), std::min(a->left, b->left), std::max(a->bottom, b->bottom),
              std::max(a->right, b->right)};
}

bool PtInRect(Point pt, const Rect* r) {
  return pt.h >= r->left && pt.h < r->right && pt.v >= r->top && pt.v < r->bottom;
}

bool EqualRect(const Rect* a, const Rect* b) { return *a == *b; }

bool EmptyRect(const Rect* r) { return !r || r->left >= r->right || r->top >= r->bottom; }

void PtToAngle(const Rect* r, Point pt, int16_t* angle) {
  if (!r || !angle) return;
  const double width = std::max(1, r->right - r->left);
  const double height = std::max(1, r->bottom - r->top);
  const double dx = (pt.h - (r->left + r->right) / 2.0) * height / width;
  const double dy = pt.v - (r->top + r->bottom) / 2.0;
  if (dx == 0 && dy == 0) {
    *angle = 0;
    return;
  }
  // atan2 with the axes swapped gives 0 at the top, growing clockwise.
  double degrees = std::atan2(dx, -dy) * 180.0 / M_PI;
  if (degrees < 0) degrees += 360.0;
  *angle = static_cast<int16_t>(static_cast<int>(std::lround(degrees)) % 360);
}

namespace platform {

std::vector<Rect> SubtractRect(const std::vector<Rect>& from, const Rect& r) {
  std::vector<Rect> out;
  for (const Rect& a : from) {
    Rect s;
    if (!SectRect(&a, &r, &s)) {
      out.push_back(a);
      continue;
    }
    // What is left of a: full-width bands above and below s, and the parts
    // beside s within its band.
    if (a.top < s.top) out.push_back(Rect{a.top, a.left, s.top, a.right});
    if (s.bottom < a.bottom) out.push_back(Rect{s.bottom, a.left, a.bottom, a.right});
    if (a.left < s.left) out.push_back(Rect{s.top, a.left, s.bottom, s.left});
    if (s.right < a.right) out.push_back(Rect{s.top, s.right, s.bottom, a.right});
  }
  return out;
}

std::vector<Rect> UniteRects(const std::vector<Rect>& a, const std::vector<Rect>& b) {
  std::vector<Rect> out = a;
  for (const Rect& r : b) {
    if (EmptyRect(&r)) continue;
    std::vector<Rect> rest{r};
    for (const Rect& existing : a) rest = SubtractRect(rest, existing);
    out.insert(out.end(), rest.begin(), rest.end());
  }
  return out;
}

std::vector<Rect> IntersectRects(const std::vector<Rect>& a, const std::vector<Rect>& b) {
  std::vector<Rect> out;
  for (const Rect& x : a) {
    for (const Rect& y : b) {
      Rect s;
      if (SectRect(&x, &y, &s)) out.push_back(s);
    }
  }
  return out;
}

std::vector<Rect> RegionRects(RgnHandle rgn) { return rgn ? rgn->rects : std::vector<Rect>(); }

long RectListArea(const std::vector<Rect>& rects) {
  long area = 0;
  for (const Rect& r : rects) area += static_cast<long>(r.right - r.left) * (r.bottom - r.top);
  return area;
}

long RegionArea(RgnHandle rgn) { return rgn ? RectListArea(rgn->rects) : 0; }

}  // namespace platform

RgnHandle NewRgn() { return new OpaqueRgnHandle; }

void DisposeRgn(RgnHandle rgn) { delete rgn; }

void CopyRgn(RgnHandle src, RgnHandle dst) {
  if (src && dst) dst->rects = src->rects;
}

void SetEmptyRgn(RgnHandle rgn) {
  if (rgn) rgn->rects.clear();
}

void RectRgn(RgnHandle rgn, const Rect* r) {
  if (!rgn) return;
  rgn->rects.clear();
  if (!EmptyRect(r)) rgn->rects.push_back(*r);
}

void SetRectRgn(RgnHandle rgn, int16_t left, int16_t top, int16_t right, int16_t bottom) {
  const Rect r{top, left, bottom, right};
  RectRgn(rgn, &r);
}

void OffsetRgn(RgnHandle rgn, int16_t dh, int16_t dv) {
  if (!rgn) return;
  for (Rect& r : rgn->rects) OffsetRect(&r, dh, dv);
}

// The operands may be the destination, so each result is built apart first.
void SectRgn(RgnHandle a, RgnHandle b, RgnHandle dst) {
  if (a && b && dst) dst->rects = platform::IntersectRects(a->rects, b->rects);
}

void UnionRgn(RgnHandle a, RgnHandle b, RgnHandle dst) {
  if (a && b && dst) dst->rects = platform::UniteRects(a->rects, b->rects);
}

void DiffRgn(RgnHandle a, RgnHandle b, RgnHandle dst) {
  if (!a || !b || !dst) return;
  std::vector<Rect> out = a->rects;
  for (const Rect& r : b->rects) out = platform::SubtractRect(out, r);
  dst->rects = out;
}

bool EmptyRgn(RgnHandle rgn) { return !rgn || rgn->rects.empty(); }

bool PtInRgn(Point pt, RgnHandle rgn) {
  if (!rgn) return false;
  for (const Rect& r : rgn->rects) {
    if (PtInRect(pt, &r)) return true;
  }
  return false;
}

Rect* GetRegionBounds(RgnHandle rgn, Rect* bounds) {
  if (!bounds) return bounds;
  *bounds = Rect{0, 0, 0, 0};
  if (!rgn) return bounds;
  for (const Rect& r : rgn->rects) UnionRect(bounds, &r, bounds);
  return bounds;
}
