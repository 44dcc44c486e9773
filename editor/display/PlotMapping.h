#pragma once

#include <cmath>

#include "graphics/IRECT.h"

// Pixels from a double: truncated (or floored) toward a whole pixel, with
// values far off the plot (0 Hz is -infinity on a log axis, a silent bin
// -360 dB) saturating a long way outside it instead of overflowing the
// conversion; NaN lands on 0.
inline int TruncPixel(double v) {
  if (std::isnan(v)) return 0;
  if (v > 1e9) return 1000000000;
  if (v < -1e9) return -1000000000;
  return static_cast<int>(v);
}

inline int FloorPixel(double v) { return TruncPixel(std::floor(v)); }

// The display's axes over the plot rectangle: frequency on a log scale
// between the shown limits, levels linear, y growing downwards.
struct PlotMapping {
  int L, T, R, B, W, H;
  double logMin;   // log10 of the lowest shown frequency
  double logSpan;  // decades shown

  PlotMapping(const IRECT& plot, double freqMinHz, double freqMaxHz)
      : L(plot.L),
        T(plot.T),
        R(plot.R),
        B(plot.B),
        W(plot.W()),
        H(plot.H()),
        logMin(std::log10(freqMinHz)),
        logSpan(std::log10(freqMaxHz) - std::log10(freqMinHz)) {}

  // The fraction of the width at which a frequency lies.
  double Pos(double hz) const { return (std::log10(hz) - logMin) / logSpan; }
  // The frequency of plot column c (0 at the left edge).
  double ColumnHz(double c) const { return std::pow(10.0, logMin + c / W * logSpan); }
  // L + trunc(W * pos(f)), the product taken before the division as the
  // handles take it, so both truncate alike at a column's exact frequency.
  int XOf(double hz) const { return L + TruncPixel(W * (std::log10(hz) - logMin) / logSpan); }
  // B - trunc(H * p) for a fraction p of the height.
  int YOfFraction(double p) const { return B - TruncPixel(H * p); }

  bool Contains(int x, int y) const { return x >= L && x < R && y >= T && y < B; }
};
