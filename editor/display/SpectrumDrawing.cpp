#include "editor/display/SpectrumDrawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "editor/display/ColumnFill.h"
#include "editor/display/ScopePalettes.h"
#include "graphics/IGraphics.h"

namespace {

constexpr int kBarAlpha = 192;
constexpr int kMaxSegmentSteps = 10;
constexpr double kSegmentTension = 0.5;
// Below this peak a heat map has nothing to be relative to (the peak
// marker hides there as well): the strip falls back to the absolute scale.
constexpr double kHeatMapFloorDb = -90.0;

struct Pixel {
  int x, y;
  bool operator!=(const Pixel& o) const { return x != o.x || y != o.y; }
};

Pixel ClampToPlot(const PlotMapping& m, double x, double y) {
  return {std::clamp(TruncPixel(x), m.L, m.R), std::clamp(TruncPixel(y), m.T, m.B)};
}

void Line(const SpectrumPen& pen, const IColor& c, Pixel a, Pixel b, ColumnFill* fills) {
  if (fills) fills->Touch(a.x, a.y, b.x, b.y);
  pen.g->DrawLineColorAlpha(&c, static_cast<float>(a.x), static_cast<float>(a.y), static_cast<float>(b.x),
                            static_cast<float>(b.y), pen.blend, true);
}

void DrawBars(const SpectrumPen& pen, const IColor& fill, const SpectrumPoint* points, int count, double fminHz,
              double fmaxHz, const SpectrumCurveStyle& style) {
  const PlotMapping& m = pen.map;
  const int u = style.barUnit;
  const int half = 9 * u >= 20 ? 9 * u / 20 : 1;
  IColor c = fill;
  c.A = kBarAlpha;
  for (int k = 0; k < count; ++k) {
    const SpectrumPoint& pt = points[k];
    if (pt.frequencyHz < fminHz || pt.frequencyHz > fmaxHz) continue;
    const int x = TruncPixel(pt.x);
    const int left = std::clamp(x - half, m.L, m.R);
    const int right = std::clamp(x + half, m.L, m.R);
    const int top = std::clamp(TruncPixel(pt.y), m.T, m.B);
    if (style.isMax) {
      // A cap two pixels thick where the bar's top would be.
      for (int dy = 0; dy < 2; ++dy) {
        const float y = static_cast<float>(top + dy);
        pen.g->DrawLineFloat(&c, static_cast<float>(left), y, static_cast<float>(right), y, pen.blend, true);
      }
    } else if (style.drawFill) {
      const IRECT bar(left, top, right, std::max(m.B, m.T));
      pen.g->FillIRect(&c, &bar, pen.blend);
    }
  }
}

// DrawSpectrumSegment, its fills gathered in fills when given.
void DrawSegment(const SpectrumPen& pen, const IColor& line, const IColor& fill, PlotPoint p, PlotPoint a,
                 PlotPoint b, PlotPoint q, int bottom, int steps, double tension, bool drawLine, bool drawFill,
                 ColumnFill* fills);

}  // namespace

void DrawSpectrumPolyline(const SpectrumPen& pen, const IColor& line, const IColor& fill, const SpectrumPoint* points,
                          int count, double fminHz, double fmaxHz, const SpectrumCurveStyle& style) {
  if (style.barUnit > 0) {
    DrawBars(pen, fill, points, count, fminHz, fmaxHz, style);
    return;
  }
  const PlotMapping& m = pen.map;
  const int last = count - 1;
  std::unique_ptr<ColumnFill> fills;
  if (style.drawFill) fills = std::make_unique<ColumnFill>(pen.g, fill, pen.blend, m.L, m.R, m.B);
  for (int k = 0; k + 1 < count; ++k) {
    const SpectrumPoint& a = points[k];
    const SpectrumPoint& b = points[k + 1];
    if ((a.frequencyHz < fminHz && b.frequencyHz < fminHz) || (a.frequencyHz > fmaxHz && b.frequencyHz > fmaxHz)) {
      continue;
    }
    const SpectrumPoint& p = points[std::max(k - 1, 0)];
    const SpectrumPoint& q = points[std::min(k + 2, last)];
    const Pixel pp = ClampToPlot(m, p.x, p.y);
    const Pixel pa = ClampToPlot(m, a.x, a.y);
    const Pixel pb = ClampToPlot(m, b.x, b.y);
    const Pixel pq = ClampToPlot(m, q.x, q.y);
    const int steps = std::min(std::max(std::abs(pa.x - pb.x), std::abs(pa.y - pb.y)), kMaxSegmentSteps);
    const auto segment = [&](bool drawLine, bool drawFill) {
      DrawSegment(pen, line, fill, {double(pp.x), double(pp.y)}, {double(pa.x), double(pa.y)},
                  {double(pb.x), double(pb.y)}, {double(pq.x), double(pq.y)}, m.B, steps, kSegmentTension, drawLine,
                  drawFill, fills.get());
    };
    if (style.drawLine) {
      if (style.smooth) {
        segment(true, false);
      } else {
        Line(pen, line, pa, pb, fills.get());
      }
    }
    if (style.drawFill && pa.x != pb.x) {
      if (style.smooth) {
        segment(false, true);
      } else {
        const int x0 = std::min(pa.x, pb.x);
        const int x1 = std::max(pa.x, pb.x);
        for (int x = x0; x < x1; ++x) {
          const int y = TruncPixel(pa.y + static_cast<double>(pb.y - pa.y) * (x - pa.x) / (pb.x - pa.x));
          fills->Add(x, y, x + 1, m.B);
        }
      }
    }
  }
  if (fills) fills->Flush();
}

void DrawSpectrumSegment(const SpectrumPen& pen, const IColor& line, const IColor& fill, PlotPoint p, PlotPoint a,
                         PlotPoint b, PlotPoint q, int bottom, int steps, double tension, bool drawLine,
                         bool drawFill) {
  DrawSegment(pen, line, fill, p, a, b, q, bottom, steps, tension, drawLine, drawFill, nullptr);
}

namespace {

void DrawSegment(const SpectrumPen& pen, const IColor& line, const IColor& fill, PlotPoint p, PlotPoint a,
                 PlotPoint b, PlotPoint q, int bottom, int steps, double tension, bool drawLine, bool drawFill,
                 ColumnFill* fills) {
  const PlotMapping& m = pen.map;
  // Control points along the neighbours' chords (a Catmull-Rom tangent
  // scaled by the tension).
  const double k = tension / 2.0;
  const PlotPoint c1{a.x + k * (b.x - p.x), a.y + k * (b.y - p.y)};
  const PlotPoint c2{b.x - k * (q.x - a.x), b.y - k * (q.y - a.y)};
  const auto at = [&](double s) {
    const double r = 1.0 - s;
    const double w0 = r * r * r, w1 = 3.0 * r * r * s, w2 = 3.0 * r * s * s, w3 = s * s * s;
    return Pixel{TruncPixel(w0 * a.x + w1 * c1.x + w2 * c2.x + w3 * b.x + 0.5),
                 TruncPixel(w0 * a.y + w1 * c1.y + w2 * c2.y + w3 * b.y + 0.5)};
  };
  const Pixel end{TruncPixel(b.x), TruncPixel(b.y)};
  const int pieces = std::max(steps, 1);

  bool joined = false;  // the last piece was drawn: the next starts at its end
  Pixel previousEnd{0, 0};
  for (int j = 0; j < pieces; ++j) {
    const bool lastPiece = j == pieces - 1;
    Pixel s0 = pieces == 1 ? Pixel{TruncPixel(a.x), TruncPixel(a.y)} : at(static_cast<double>(j) / pieces);
    Pixel s1 = lastPiece ? end : at(static_cast<double>(j + 1) / pieces);
    if (!m.Contains(s0.x, s0.y) && !m.Contains(s1.x, s1.y)) {
      joined = false;
      continue;
    }
    s0 = ClampToPlot(m, s0.x, s0.y);
    s1 = ClampToPlot(m, s1.x, s1.y);
    if (drawFill) {
      const IRECT r(std::min(s0.x, s1.x), s0.y, std::max(s0.x, s1.x), std::clamp(bottom, m.T, m.B));
      if (fills) {
        fills->Add(r.L, r.T, r.R, r.B);
      } else {
        pen.g->FillIRect(&fill, &r, pen.blend);
      }
    }
    if (drawLine) {
      const Pixel from = joined ? previousEnd : s0;
      if (from != s1) {
        const float x0 = static_cast<float>(from.x), y0 = static_cast<float>(from.y);
        const float x1 = static_cast<float>(s1.x), y1 = static_cast<float>(s1.y);
        if (fills) fills->Touch(from.x, from.y, s1.x, s1.y);
        if (lastPiece) {
          pen.g->DrawLine(&line, x0, y0, x1, y1, pen.blend, true);
        } else {
          pen.g->DrawLineColorAlpha(&line, x0, y0, x1, y1, pen.blend, true);
        }
      }
    }
    previousEnd = s1;
    joined = true;
  }
}

}  // namespace

void DrawSpectrogramColumns(const SpectrumPen& pen, const SpectrumPoint* points, int count,
                            const SpectrogramStrip& strip) {
  const PlotMapping& m = pen.map;
  const double range = strip.dbHi - strip.dbLo;
  if (count < 2 || strip.binCount <= 0 || !strip.binMap || !(range > 0.0)) return;
  const bool relative = strip.heatMap && strip.peakDb > kHeatMapFloorDb;
  const int last = count - 1;
  for (int c = 0; c < m.W; ++c) {
    const double f = m.ColumnHz(c);
    if (f > strip.nyquistHz) break;
    const int bin = std::clamp(TruncPixel(f * strip.binsPerHz), 0, strip.binCount - 1);
    // Between the point at or below f and the next one; past the last
    // point along the line through the last two.
    const int k = std::clamp(strip.binMap[bin], 0, last);
    const SpectrumPoint& a = points[k < last ? k : k - 1];
    const SpectrumPoint& b = points[k < last ? k + 1 : k];
    const double va = a.levelDb + a.tiltDb;
    const double vb = b.levelDb + b.tiltDb;
    const double span = b.frequencyHz - a.frequencyHz;
    const double v = span > 0.0 ? va + (vb - va) * (f - a.frequencyHz) / span : va;
    double t;
    if (relative) {
      t = (std::clamp(v - strip.peakDb, -range, 0.0) + range) / range;
    } else {
      t = (std::clamp(v, strip.dbLo, strip.dbHi) - strip.dbLo) / range;
    }
    const IColor colour = SpectrogramRampColor(t);
    const float x = static_cast<float>(m.L + c);
    pen.g->DrawLineColorAlpha(&colour, x, static_cast<float>(strip.top), x,
                              static_cast<float>(strip.top + strip.height), pen.blend, true);
  }
}
