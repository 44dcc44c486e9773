// Gathered fills must leave every pixel as the same fills drawn one by one,
// in their places among the lines drawn between them.

#include "editor/display/ColumnFill.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "editor/display/SpectrumDrawing.h"
#include "graphics/IChannelBlend.h"
#include "graphics/IGraphics.h"
#include "lice/lice.h"
#include "tests/graphics/FakeGraphics.h"

namespace {

constexpr int kWidth = 160, kHeight = 120;

class FillPlug : public GraphicsTestPlug {
 public:
  void Attach(IGraphics* g) { AttachGraphics(g); }
};

class ColumnFillTest : public ::testing::Test {
 protected:
  ColumnFillTest() {
    graphics = new FakeGraphics(&plug, kWidth, kHeight);
    plug.Attach(graphics);
  }

  // A busy picture under the drawing, so that every blend shows.
  void Paint(unsigned seed) {
    std::mt19937 rng(seed);
    LICE_IBitmap* s = graphics->GetDrawBitmap();
    for (int y = 0; y < s->getHeight(); ++y) {
      LICE_pixel* row = s->getBits() + y * s->getRowSpan();
      for (int x = 0; x < s->getWidth(); ++x) row[x] = static_cast<LICE_pixel>(rng());
    }
  }
  std::vector<LICE_pixel> Pixels() const {
    LICE_IBitmap* s = graphics->GetDrawBitmap();
    std::vector<LICE_pixel> out;
    for (int y = 0; y < s->getHeight(); ++y) {
      const LICE_pixel* row = s->getBits() + y * s->getRowSpan();
      out.insert(out.end(), row, row + s->getWidth());
    }
    return out;
  }

  FillPlug plug;
  FakeGraphics* graphics = nullptr;  // owned by the plug-in
};

struct Op {
  bool isLine;
  int x0, y0, x1, y1;  // a fill: (x0, y0, x1, y1) as FillIRect takes it
};

// Mostly narrow columns reaching the common bottom, some wide, overlapping,
// off the gathered columns or short of the bottom; lines anywhere.
std::vector<Op> RandomOps(std::mt19937& rng, int left, int right, int bottom) {
  std::uniform_int_distribution<int> x(left - 6, right + 6), y(-4, kHeight + 4), width(-1, 3), kind(0, 9);
  std::vector<Op> ops;
  for (int i = 0; i < 300; ++i) {
    const int k = kind(rng);
    const int x0 = x(rng);
    if (k < 3) {
      ops.push_back({true, x0, y(rng), x0 + width(rng) * 3, y(rng)});
    } else if (k < 4) {
      ops.push_back({true, x(rng), y(rng), x(rng), y(rng)});
    } else {
      const int w = k == 4 ? width(rng) * 9 : width(rng);
      const int b = k == 5 ? y(rng) : bottom;
      ops.push_back({false, x0, y(rng), x0 + w, b});
    }
  }
  return ops;
}

TEST_F(ColumnFillTest, GatheredFillsLeaveThePixelsOfFillsDrawnOneByOne) {
  struct Case {
    IColor fill;
    IChannelBlend blend;
  };
  // The quarter shortcut of the analyser's fill, a general alpha, and the
  // additive mode.
  const Case cases[] = {
      {IColor(64, 40, 200, 120), IChannelBlend(IChannelBlend::kBlendNone)},
      {IColor(255, 90, 30, 220), IChannelBlend(IChannelBlend::kBlendNone, 0.37f)},
      {IColor(200, 60, 60, 10), IChannelBlend(IChannelBlend::kBlendAdd, 0.5f)},
  };
  const IColor line(170, 250, 240, 20);
  const IChannelBlend lineBlend(IChannelBlend::kBlendNone);
  const int left = 20, right = 140, bottom = 100;
  for (const Case& c : cases) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
      std::mt19937 rng(seed);
      const std::vector<Op> ops = RandomOps(rng, left, right, bottom);
      const auto drawLine = [&](const Op& o) {
        graphics->DrawLineColorAlpha(&line, static_cast<float>(o.x0), static_cast<float>(o.y0),
                                     static_cast<float>(o.x1), static_cast<float>(o.y1), &lineBlend, true);
      };

      Paint(seed);
      for (const Op& o : ops) {
        if (o.isLine) {
          drawLine(o);
        } else {
          const IRECT r(o.x0, o.y0, o.x1, o.y1);
          graphics->FillIRect(&c.fill, &r, &c.blend);
        }
      }
      const std::vector<LICE_pixel> oneByOne = Pixels();

      Paint(seed);
      {
        ColumnFill fills(graphics, c.fill, &c.blend, left, right, bottom);
        for (const Op& o : ops) {
          if (o.isLine) {
            fills.Touch(o.x0, o.y0, o.x1, o.y1);
            drawLine(o);
          } else {
            fills.Add(o.x0, o.y0, o.x1, o.y1);
          }
        }
      }
      ASSERT_TRUE(Pixels() == oneByOne) << "seed " << seed;
    }
  }
}

// The analyser's filled curves, through the gathered fills, against the
// same segments drawn one by one in the polyline's order.
TEST_F(ColumnFillTest, AFilledSpectrumCurveDrawsWhatItsSegmentsDrawOneByOne) {
  const IRECT plot(10, 8, 150, 110);
  const SpectrumPen pen{graphics, nullptr, PlotMapping(plot, 10.0, 30000.0)};
  const PlotMapping& m = pen.map;
  const IColor line(255, 200, 220, 255), fill(64, 90, 120, 255);
  for (unsigned seed = 1; seed <= 30; ++seed) {
    std::mt19937 rng(seed);
    // Points rising in x in steps of 0 to 12 columns, now and then a step
    // back (the smoothed curve then doubles back over its fill), some off
    // the plot above or below.
    std::uniform_int_distribution<int> step(-2, 12), y(plot.T - 10, plot.B + 10);
    std::vector<SpectrumPoint> points;
    for (double x = plot.L - 5; x < plot.R + 5; x += step(rng)) {
      SpectrumPoint p{};
      p.x = x + 0.25;
      p.y = y(rng) + 0.5;
      p.frequencyHz = 100.0;
      points.push_back(p);
      if (points.size() > 200) break;
    }
    for (bool smooth : {true, false}) {
      SpectrumCurveStyle style;
      style.drawFill = true;
      style.smooth = smooth;
      Paint(seed);
      DrawSpectrumPolyline(pen, line, fill, points.data(), static_cast<int>(points.size()), 10.0, 30000.0, style);
      const std::vector<LICE_pixel> drawn = Pixels();

      // The segments as the polyline takes them, each fill drawn at once.
      Paint(seed);
      const int last = static_cast<int>(points.size()) - 1;
      const auto px = [&](const SpectrumPoint& s) {
        return PlotPoint{static_cast<double>(std::clamp(static_cast<int>(s.x), m.L, m.R)),
                         static_cast<double>(std::clamp(static_cast<int>(s.y), m.T, m.B))};
      };
      for (int k = 0; k < last; ++k) {
        const PlotPoint p = px(points[std::max(k - 1, 0)]), a = px(points[k]), b = px(points[k + 1]),
                        q = px(points[std::min(k + 2, last)]);
        const int steps = std::min(std::max(std::abs(int(a.x - b.x)), std::abs(int(a.y - b.y))), 10);
        if (smooth) {
          DrawSpectrumSegment(pen, line, fill, p, a, b, q, m.B, steps, 0.5, true, false);
          if (a.x != b.x) DrawSpectrumSegment(pen, line, fill, p, a, b, q, m.B, steps, 0.5, false, true);
        } else {
          graphics->DrawLineColorAlpha(&line, float(a.x), float(a.y), float(b.x), float(b.y), nullptr, true);
          if (a.x != b.x) {
            const int x0 = int(std::min(a.x, b.x)), x1 = int(std::max(a.x, b.x));
            for (int x = x0; x < x1; ++x) {
              // The straight piece's row at column x, truncated.
              const int top = static_cast<int>(a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x));
              const IRECT column(x, top, x + 1, m.B);
              graphics->FillIRect(&fill, &column, nullptr);
            }
          }
        }
      }
      ASSERT_TRUE(Pixels() == drawn) << "seed " << seed << (smooth ? " smooth" : " straight");
    }
  }
}

}  // namespace
