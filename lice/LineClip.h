#pragma once

// Cohen-Sutherland clippers for the line drawers. Both write the clipped end
// points back whether or not anything is left, and answer true when a part
// of the line lies inside.

// Against 0 <= x < width, 0 <= y < height. A point clipped at the bottom or
// right edge takes its crossing with y = height or x = width but is placed
// on the last row or column.
bool ClipLine(int* x1, int* y1, int* x2, int* y2, int width, int height);

// In single precision, against 0 <= x < width - 1, 0 <= y < height - 1: one
// pixel narrower, so that the second pixel of each antialiased pair stays
// inside. A point clipped at the right or bottom lands at width - 2 or
// height - 2. Non-finite end points are refused.
bool ClipLineFloat(float* x1, float* y1, float* x2, float* y2, int width, int height);
