#pragma once

// Transformations of one glyph's coverage image (width * height bytes, rows
// without padding, 0 empty to 255 full) before it is cached.

// A quarter turn into out (which must not overlap image). Clockwise, the
// new pixel (row r, column c) is the old (height - 1 - c, r); counter-
// clockwise, the old (c, width - 1 - r). The result is height wide and
// width high.
void RotateCoverage(const unsigned char* image, int width, int height, bool counterClockwise,
                    unsigned char* out);

// Above 130 becomes 255, the rest 0.
void ThresholdCoverage(unsigned char* image, int count);

// Thresholds, then marks with 128 each empty pixel next to a full one: for
// a shadow, its left, upper-left or upper neighbour; for an outline, any of
// its four direct neighbours. Marks do not spread further.
void AddShadow(unsigned char* image, int width, int height);
void AddOutline(unsigned char* image, int width, int height);

constexpr unsigned char kEffectCoverage = 128;
