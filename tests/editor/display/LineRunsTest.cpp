// Gathered lines must leave every pixel, and the drawn extent, as the same
// lines drawn one by one in their order.

#include "editor/display/LineRuns.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "graphics/IChannelBlend.h"
#include "tests/editor/display/LinePixelsFixture.h"

namespace {

using LineRunsTest = LinePixelsFixture;

struct Segment {
  int x0, y0, x1, y1;
};

// Mostly horizontal lines over a dozen rows (more than are gathered at
// once), overlapping, reversed, single pixels, some past the gathered
// columns or off the surface; between them vertical, diagonal and sloped
// lines through the same pixels.
std::vector<Segment> RandomSegments(std::mt19937& rng) {
  std::uniform_int_distribution<int> kind(0, 9), x(-6, LinePixelsFixture::kWidth + 6), row(40, 52),
      y(-4, LinePixelsFixture::kHeight + 4), length(-12, 40), d(-6, 6);
  std::vector<Segment> out;
  for (int i = 0; i < 400; ++i) {
    const int k = kind(rng);
    const int x0 = x(rng);
    if (k < 6) {
      const int r = k == 5 ? y(rng) : row(rng);
      out.push_back({x0, r, x0 + (k == 4 ? 0 : length(rng)), r});
    } else if (k == 6) {
      const int y0 = row(rng);
      out.push_back({x0, y0, x0, y0 + d(rng)});
    } else if (k == 7) {
      const int y0 = row(rng), n = d(rng);
      out.push_back({x0, y0, x0 + n, y0 + n});
    } else {
      const int y0 = row(rng);
      out.push_back({x0, y0, x0 + length(rng), y0 + d(rng)});
    }
  }
  return out;
}

TEST_F(LineRunsTest, GatheredLinesLeaveThePixelsAndExtentOfLinesDrawnOneByOne) {
  struct Style {
    IColor line;
    IChannelBlend blend;
  };
  const Style styles[] = {
      {IColor(128, 250, 120, 40), IChannelBlend(IChannelBlend::kBlendNone)},
      {IColor(255, 40, 200, 220), IChannelBlend(IChannelBlend::kBlendNone)},
      {IColor(77, 200, 30, 90), IChannelBlend(IChannelBlend::kBlendAdd)},
  };
  const IRECT areas[] = {IRECT(), IRECT(30, 20, 90, 47)};
  // The counts' scratch shared by all, as the scope shares it between
  // curves and frames, over gathered columns of changing width.
  std::vector<int> scratch;
  unsigned seed = 100;
  for (const Style& s : styles) {
    for (const IRECT& area : areas) {
      ++seed;
      const int left = 10, right = 130 - 30 * static_cast<int>(seed % 3);
      std::mt19937 rng(seed);
      const std::vector<Segment> segments = RandomSegments(rng);
      const auto oneByOne = Drawn(seed, area, [&](IGraphics* g) {
        for (const Segment& l : segments) {
          g->DrawLineColorAlpha(&s.line, static_cast<float>(l.x0), static_cast<float>(l.y0),
                                static_cast<float>(l.x1), static_cast<float>(l.y1), &s.blend, true);
        }
      });
      const auto gathered = Drawn(seed, area, [&](IGraphics* g) {
        LineRuns pen(g, s.line, &s.blend, left, right, seed % 2 ? &scratch : nullptr);
        for (const Segment& l : segments) pen.Line(l.x0, l.y0, l.x1, l.y1);
      });
      ASSERT_TRUE(gathered.first == oneByOne.first) << "seed " << seed;
      ASSERT_EQ(gathered.second, oneByOne.second) << "seed " << seed;
    }
  }
}

}  // namespace
