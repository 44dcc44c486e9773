#pragma once

#include <algorithm>

#include "editor/display/LineRuns.h"
#include "editor/display/PlotMapping.h"

// A response curve's line through rows[c], the row of plot column c at
// m.L + c, for c = 0, step, 2 step, ... below m.W: a straight piece from
// each sample to the next, thickness pixels thick (copies one to
// thickness - 1 pixels up, right, down and left). A piece off the plot on
// one side at both ends is cut, not drawn along the edge; the others are
// held to the plot. The pieces go to pen, whose columns should reach
// thickness pixels past m.L + 1 and m.R + 1.
inline void DrawCurveLine(LineRuns* pen, const PlotMapping& m, const int* rows, int thickness, int step) {
  step = std::max(step, 1);
  int prevX = m.L;
  int prevY = rows[0];
  for (int c = step; c < m.W; c += step) {
    const int x = m.L + c;
    const int y = rows[c];
    const bool bothAbove = prevY < m.T + 1 && y < m.T + 1;
    const bool bothBelow = prevY > m.B - 1 && y > m.B - 1;
    if (!bothAbove && !bothBelow && (x != prevX || y != prevY)) {
      const int x0 = std::clamp(prevX, m.L + 1, m.R + 1);
      const int x1 = std::clamp(x, m.L + 1, m.R + 1);
      const int y0 = std::clamp(prevY, m.T, m.B);
      const int y1 = std::clamp(y, m.T, m.B);
      pen->Line(x0, y0, x1, y1);
      for (int d = 1; d < thickness; ++d) {
        pen->Line(x0, y0 + d, x1, y1 + d);
        pen->Line(x0 + d, y0, x1 + d, y1);
        pen->Line(x0, y0 - d, x1, y1 - d);
        pen->Line(x0 - d, y0, x1 - d, y1);
      }
    }
    prevX = x;
    prevY = y;
  }
}
