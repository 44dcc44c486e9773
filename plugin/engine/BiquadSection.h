#pragma once

// One second-order section of a band, H(z) = (b0 + b1 z^-1 + b2 z^-2) /
// (a0 + a1 z^-1 + a2 z^-2), run in direct form I.
//
// The raw coefficients are kept beside the normalised ones because the
// display computes magnitudes from the raw set; processing uses only the
// normalised set (a0n is 1).

// Section kinds: which formula designed the coefficients.
enum ESectionKind {
  kSectionHighShelf = 3,       // RBJ high shelf
  kSectionLowShelf = 4,        // RBJ low shelf
  kSectionNotch = 11,          // notch with prescribed Nyquist gain
  kSectionHighPass1 = 13,      // first-order high-pass, bilinear
  kSectionLowPass1Twice = 15,  // first-order low-pass designed at twice the rate, stepped twice
  // Matched second-order sections: poles at the analogue prototype's
  // damping and frequency, numerator fitted to the analogue magnitude.
  kSectionMatchedPeak = 17,
  kSectionMatchedHighPass = 18,
  kSectionMatchedLowPass = 19,
  kSectionMatchedBandPass = 20,
  kSectionGain = 21  // a plain gain
};

// Added to every section's input and output on each step: with silent input
// the recursion would otherwise decay into denormal numbers, which are slow.
constexpr double kDenormalOffset = 1e-24;

struct BiquadSection {
  // x0 and y0 repeat the latest input and output (equal to x1 and y1 after a step).
  double x1 = 0.0, x2 = 0.0, x0 = 0.0;
  double y1 = 0.0, y2 = 0.0, y0 = 0.0;
  double a0 = 0.0, a1 = 0.0, a2 = 0.0, b0 = 0.0, b1 = 0.0, b2 = 0.0;
  double a0n = 0.0, a1n = 0.0, a2n = 0.0, b0n = 0.0, b1n = 0.0, b2n = 0.0;
  int kind = 0;
};

namespace BiquadDetail {

inline double Step(BiquadSection& s, double x) {
  const double y = ((s.b1n * s.x1 + s.b0n * x) + s.b2n * s.x2) - s.a1n * s.y1 - s.a2n * s.y2 + kDenormalOffset;
  s.x0 = x;
  s.x2 = s.x1;
  s.x1 = x;
  s.y2 = s.y1;
  s.y1 = y;
  s.y0 = y;
  return y;
}

}  // namespace BiquadDetail

// One sample through the section. A kLowPass1Twice section runs at twice the
// rate on a held input: it is stepped twice with the same sample and the
// second output is the result.
inline double ProcessBiquadSample(BiquadSection& section, double input) {
  const double x = input + kDenormalOffset;
  double y = BiquadDetail::Step(section, x);
  if (section.kind == kSectionLowPass1Twice) y = BiquadDetail::Step(section, x);
  return y;
}

// Clears the filter state; the coefficients stay.
void ClearBiquadState(BiquadSection& section);

// Copies the designed coefficients and the kind, not the state, so a stage
// cascade made of copies keeps running smoothly through a redesign.
void CopyBiquadDesign(const BiquadSection& from, BiquadSection& to);

// Magnitude in dB at a frequency in Hz, from the raw coefficients. A
// kLowPass1Twice section is measured at half the frequency, the point of its
// design-rate response that corresponds to the frequency at the run rate.
// Levels below -240 dB in numerator or denominator are floored there.
double GetBiquadResponseDB(const BiquadSection& section, double frequency, double sampleRate);
