#include "editor/display/ScopePalettes.h"

#include <algorithm>
#include <cmath>

namespace {

struct Rgb {
  int r, g, b;
};

// The ninth entry repeats the first, so the top of the last blend has a
// partner to blend with.
constexpr Rgb kFrequencyAnchors[9] = {{231, 33, 75},  {241, 111, 50}, {253, 199, 50},
                                      {126, 188, 111}, {20, 146, 104}, {19, 124, 168},
                                      {48, 57, 142},   {135, 45, 138}, {231, 33, 75}};
constexpr double kLn10 = 2.302585092994046;
constexpr double kLn22000 = 9.998797732340453;
constexpr double kLn2200 = 7.696212639346407;  // the span from 10 Hz to 22 kHz

constexpr Rgb kRampAnchors[5] = {{0, 0, 0}, {0, 0, 255}, {255, 255, 0}, {0, 255, 0}, {255, 0, 0}};

// from (1 - u) + to u, truncated; written so that equal neighbours give
// their own value and not one less.
int Mix(int from, int to, double u) { return static_cast<int>(from + (to - from) * u); }

}  // namespace

IColor FrequencyPaletteColor(double frequencyHz, int alpha) {
  const double c = std::min(std::log(frequencyHz), kLn22000);
  // 0 Hz, negative and NaN frequencies take the first anchor like any
  // frequency below 10 Hz.
  double q = 0.0;
  if (c >= kLn22000) {
    q = 7.0;  // exactly: the quotient may round just below the last anchor
  } else if (c >= kLn10) {
    q = 7.0 * (c - kLn10) / kLn2200;
  }
  const int k = std::clamp(static_cast<int>(std::floor(q)), 0, 7);
  const double u = q - k;
  const Rgb& a = kFrequencyAnchors[k];
  const Rgb& b = kFrequencyAnchors[k + 1];
  return IColor(alpha, Mix(a.r, b.r, u), Mix(a.g, b.g, u), Mix(a.b, b.b, u));
}

IColor SpectrogramRampColor(double t) {
  t = std::isnan(t) ? 0.0 : std::clamp(t, 0.0, 1.0);
  // Each part's upper end belongs to it: 0.25 is still the first part's blue.
  const int k = t <= 0.25 ? 0 : t <= 0.5 ? 1 : t <= 0.75 ? 2 : 3;
  const double u = 4.0 * (t - 0.25 * k);
  const Rgb& a = kRampAnchors[k];
  const Rgb& b = kRampAnchors[k + 1];
  const int alpha = k == 0 ? static_cast<int>(128.0 * u) : 128;
  return IColor(alpha, Mix(a.r, b.r, u), Mix(a.g, b.g, u), Mix(a.b, b.b, u));
}
