// A response curve drawn with its horizontal pieces gathered must leave
// every pixel, and the drawn extent, as the pieces drawn one by one.

#include "editor/display/CurveLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "graphics/IChannelBlend.h"
#include "tests/editor/display/LinePixelsFixture.h"

namespace {

using CurveLineTest = LinePixelsFixture;

// The curve's pieces each drawn by its own call, as the scope drew them
// before they were gathered.
void DrawPieceByPiece(IGraphics* g, const IColor* line, const IChannelBlend* blend, const PlotMapping& m,
                      const int* rows, int thickness, int step) {
  const auto drawPiece = [&](float x0, float y0, float x1, float y1) {
    g->DrawLineColorAlpha(line, x0, y0, x1, y1, blend, true);
  };
  int prevX = m.L;
  int prevY = rows[0];
  for (int c = step; c < m.W; c += step) {
    const int x = m.L + c;
    const int y = rows[c];
    const bool bothAbove = prevY < m.T + 1 && y < m.T + 1;
    const bool bothBelow = prevY > m.B - 1 && y > m.B - 1;
    if (!bothAbove && !bothBelow && (x != prevX || y != prevY)) {
      const float x0 = static_cast<float>(std::clamp(prevX, m.L + 1, m.R + 1));
      const float x1 = static_cast<float>(std::clamp(x, m.L + 1, m.R + 1));
      const float y0 = static_cast<float>(std::clamp(prevY, m.T, m.B));
      const float y1 = static_cast<float>(std::clamp(y, m.T, m.B));
      drawPiece(x0, y0, x1, y1);
      for (int i = 1; i < thickness; ++i) {
        const float d = static_cast<float>(i);
        drawPiece(x0, y0 + d, x1, y1 + d);
        drawPiece(x0 + d, y0, x1 + d, y1);
        drawPiece(x0, y0 - d, x1, y1 - d);
        drawPiece(x0 - d, y0, x1 - d, y1);
      }
    }
    prevX = x;
    prevY = y;
  }
}

// Flat stretches (the default preset's curves), steps of one row, jumps,
// slopes of a few rows a column, and stretches above and below the plot.
std::vector<int> RandomRows(std::mt19937& rng, const IRECT& plot) {
  std::uniform_int_distribution<int> kind(0, 6), length(1, 30), slope(-3, 3), row(plot.T - 8, plot.B + 8);
  std::vector<int> rows;
  int y = row(rng);
  while (static_cast<int>(rows.size()) < plot.W()) {
    const int k = kind(rng);
    const int n = length(rng);
    if (k == 0) {
      y += rng() % 2 ? 1 : -1;
    } else if (k == 1) {
      y = row(rng);
    } else if (k == 2) {
      y = rng() % 2 ? plot.T - 1 - static_cast<int>(rng() % 4) : plot.B + 1 + static_cast<int>(rng() % 4);
    }
    const int s = k == 3 ? slope(rng) : 0;
    for (int i = 0; i < n; ++i) {
      rows.push_back(y);
      y += s;
    }
  }
  rows.resize(static_cast<size_t>(plot.W()));
  return rows;
}

TEST_F(CurveLineTest, GatheredCurvesLeaveThePixelsAndExtentOfTheirPiecesDrawnOneByOne) {
  struct Style {
    IColor line;
    IChannelBlend blend;
  };
  // A band's half alpha, an opaque sum, other alphas, and the additive mode.
  const Style styles[] = {
      {IColor(128, 250, 120, 40), IChannelBlend(IChannelBlend::kBlendNone)},
      {IColor(255, 40, 200, 220), IChannelBlend(IChannelBlend::kBlendNone)},
      {IColor(64, 200, 30, 90), IChannelBlend(IChannelBlend::kBlendNone)},
      {IColor(191, 90, 90, 250), IChannelBlend(IChannelBlend::kBlendAdd)},
  };
  // Inside the surface, and reaching its edges so that the pieces past the
  // plot's sides are cut by the surface.
  const IRECT plots[] = {IRECT(20, 15, 140, 105), IRECT(0, 0, kWidth, kHeight)};
  // Drawn outside a Draw, in a Draw of everything, and of an area cutting
  // through the plot.
  const IRECT areas[] = {IRECT(), IRECT(0, 0, kWidth, kHeight), IRECT(37, 30, 101, 80)};
  unsigned seed = 0;
  for (const Style& s : styles) {
    for (const IRECT& plot : plots) {
      const PlotMapping m(plot, 20.0, 20000.0);
      for (int thickness = 1; thickness <= 3; ++thickness) {
        for (int step : {1, 2}) {
          for (const IRECT& area : areas) {
            ++seed;
            std::mt19937 rng(seed);
            const std::vector<int> rows = RandomRows(rng, plot);
            const auto oneByOne = Drawn(seed, area, [&](IGraphics* g) {
              DrawPieceByPiece(g, &s.line, &s.blend, m, rows.data(), thickness, step);
            });
            const auto gathered = Drawn(seed, area, [&](IGraphics* g) {
              LineRuns pen(g, s.line, &s.blend, m.L + 1 - thickness, m.R + 1 + thickness);
              DrawCurveLine(&pen, m, rows.data(), thickness, step);
            });
            ASSERT_TRUE(gathered.first == oneByOne.first)
                << "seed " << seed << " thickness " << thickness << " step " << step;
            ASSERT_EQ(gathered.second, oneByOne.second) << "seed " << seed;
          }
        }
      }
    }
  }
}

}  // namespace
