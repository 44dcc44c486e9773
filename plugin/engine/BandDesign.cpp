#include "plugin/engine/BandDesign.h"

#include <algorithm>
#include <cmath>

#include "dsp/Levels.h"
#include "plugin/engine/BandTypes.h"

namespace {

constexpr double kPi = 3.141592653589793;
// Below this fraction of Nyquist (a thousandth of the rate) the matched
// band-pass forms its numerator from the exact poles.
constexpr double kBandPassExactBelow = 2e-3;

struct Raw {
  double a0 = 0.0, a1 = 0.0, a2 = 0.0, b0 = 0.0, b1 = 0.0, b2 = 0.0;
};

// RBJ cookbook shelves (Bristow-Johnson, "Cookbook formulae for audio EQ
// biquad filter coefficients"): A = 10^(g/40), half the gain in dB at f.
Raw RbjShelf(bool high, double frequency, double gain, double q, double sampleRate) {
  const double a = std::pow(10.0, gain / 40.0);
  const double w = 2.0 * kPi * frequency / sampleRate;
  const double cw = std::cos(w);
  const double alpha = std::sin(w) / (2.0 * q);
  const double ra = 2.0 * std::sqrt(a) * alpha;
  Raw r;
  if (high) {
    r.b0 = a * ((a + 1) + (a - 1) * cw + ra);
    r.b1 = -2 * a * ((a - 1) + (a + 1) * cw);
    r.b2 = a * ((a + 1) + (a - 1) * cw - ra);
    r.a0 = (a + 1) - (a - 1) * cw + ra;
    r.a1 = 2 * ((a - 1) - (a + 1) * cw);
    r.a2 = (a + 1) - (a - 1) * cw - ra;
  } else {
    r.b0 = a * ((a + 1) - (a - 1) * cw + ra);
    r.b1 = 2 * a * ((a - 1) - (a + 1) * cw);
    r.b2 = a * ((a + 1) - (a - 1) * cw - ra);
    r.a0 = (a + 1) + (a - 1) * cw + ra;
    r.a1 = -2 * ((a - 1) + (a + 1) * cw);
    r.a2 = (a + 1) + (a - 1) * cw - ra;
  }
  return r;
}

// Notch with prescribed Nyquist gain (Orfanidis, "Digital parametric
// equalizer design with prescribed Nyquist-frequency gain", JAES 1997):
// reference gain 1, centre gain 0, bandwidth gain GB = 1/sqrt(2), so the
// half-power points lie dw apart. The Q is first scaled by a factor from the
// correction table, which grows with frequency and narrows the notch
// towards Nyquist.
Raw Notch(double frequency, double q, double sampleRate) {
  // GB^2 and 1 - GB^2 as the double arithmetic of (1/sqrt 2)^2 gives them.
  constexpr double kGB2 = 0.5000000000000001;
  constexpr double kOneMinusGB2 = 0.4999999999999999;
  constexpr double kPi2OneMinusGB2 = 4.934802200544678;  // pi^2 (1 - GB^2)

  // Row of the correction table: the frequency scaled to 44100 Hz, less
  // 10 Hz, truncated. Clamped as a double first: a cast of an out-of-range
  // value to int is undefined.
  double row = std::trunc(frequency / sampleRate * 44100.0 - 10.0);
  if (!(row >= 0.0)) row = 0.0;
  if (row > 22040.0) row = 22040.0;
  const double qc = NotchQCorrection(static_cast<int>(row)) * q;

  const double w = 2.0 * kPi * frequency / sampleRate;
  const double dw = 2.0 * std::atan(std::sin(w / 2.0) / qc);
  const double wp = (w * w - kPi * kPi) * (w * w - kPi * kPi);
  const double g1 = std::sqrt(wp / (wp + dw * dw * kPi2OneMinusGB2 / kGB2));  // gain at Nyquist
  const double f11 = std::fabs(kGB2 - g1 * g1);
  const double f01 = std::fabs(kGB2 - g1);
  const double f00 = kOneMinusGB2;
  const double tw = std::tan(w / 2.0);
  const double w2 = g1 * tw * tw;
  const double t = (1.0 + std::sqrt(f00 / f11) * w2) * std::tan(dw / 2.0);
  const double c = f11 * t * t - 2.0 * w2 * (f01 - std::sqrt(f00 * f11));
  const double a = std::sqrt(c / kGB2);
  const double n = 1.0 + w2 + a;
  Raw r;
  r.b0 = (g1 + w2) / n;
  r.b1 = -2.0 * (g1 - w2) / n;
  r.b2 = (g1 + w2) / n;
  r.a0 = 1.0;
  r.a1 = -2.0 * (1.0 - w2) / n;
  r.a2 = (1.0 + w2 - a) / n;
  return r;
}

// Matched second-order sections (Vicanek, "Matched Second Order Digital
// Filters", 2016): poles from the analogue prototype's damping and
// frequency by the impulse-invariant map, numerators fitted to the analogue
// magnitude at up to three points (DC, the centre, Nyquist). Unlike the
// bilinear designs they are not cramped near Nyquist.
Raw Matched(int kind, double frequency, double gain, double q, double sampleRate) {
  const double w = frequency / (0.5 * sampleRate);  // fraction of Nyquist
  const double g = std::pow(10.0, gain / 20.0);
  const double qp = kind == kSectionMatchedPeak ? std::sqrt(std::max(0.0, g)) * q : q;
  const double e = std::exp(-(kPi / 2.0) * w / qp);
  const double t = 1.0 / (4.0 * qp * qp);
  const bool underdamped = kind == kSectionMatchedPeak ? 4.0 * qp * qp > 1.0 : 2.0 * q > 1.0;
  const double theta = std::sqrt(std::max(0.0, underdamped ? 1.0 - t : t - 1.0)) * kPi * w;
  const double c = underdamped ? std::cos(theta) : std::cosh(theta);
  Raw r;
  r.a0 = 1.0;
  r.a1 = -2.0 * e * c;
  r.a2 = e * e;

  const double sn = std::sin(w * kPi / 2.0);
  const double phi1 = sn * sn;
  const double phi0 = 1.0 - phi1;
  const double sumA = 1.0 + r.a1 + r.a2;  // the denominator at DC
  const double a0 = sumA * sumA;
  const double a1 = (1.0 - r.a1 + r.a2) * (1.0 - r.a1 + r.a2);
  const double a2 = -4.0 * r.a2;
  const double s = a0 * phi0 + a1 * phi1 + a2 * 4.0 * phi0 * phi1;

  switch (kind) {
    case kSectionMatchedPeak: {
      const double r1 = s * g * g;
      const double r2 = (-a0 + a1 + 4.0 * (phi0 - phi1) * a2) * g * g;
      const double bb2 = (r1 - r2 * phi1 - a0) / (4.0 * phi1 * phi1);
      const double bb1 = r2 + a0 + 4.0 * (phi1 - phi0) * bb2;
      r.b1 = (sumA - std::sqrt(std::max(0.0, bb1))) / 2.0;
      const double ww = sumA - r.b1;
      r.b0 = (std::sqrt(std::max(0.0, ww * ww + bb2)) + ww) / 2.0;
      r.b2 = -bb2 / (4.0 * r.b0);
      break;
    }
    case kSectionMatchedHighPass:
      r.b0 = std::sqrt(std::max(0.0, s)) * q / (4.0 * phi1);
      r.b1 = -2.0 * r.b0;
      r.b2 = r.b0;
      break;
    case kSectionMatchedLowPass: {
      const double bb1 = (q * q * s - a0 * phi0) / phi1;
      r.b0 = (std::sqrt(std::max(0.0, bb1)) + sumA) / 2.0;
      r.b1 = sumA - r.b0;
      r.b2 = 0.0;
      break;
    }
    default: {  // band-pass
      double bb2, bb1;
      if (w < kBandPassExactBelow) {
        // Far below the rate both poles lie close to z = 1: 1 + a1 + a2 is
        // a small difference of the rounded coefficients, and the
        // numerator's terms, themselves small differences of numbers near
        // 4 and 16, follow the rounding of the poles so closely that they
        // can go wrong by tens of dB. Formed from the poles' exact
        // description instead (the same quantities, rearranged so that
        // nothing cancels but what must): e^-x, 1 - cos and their sums.
        const double oneMinusE = -std::expm1(-(kPi / 2.0) * w / qp);
        const double halfSine = underdamped ? std::sin(0.5 * theta) : std::sinh(0.5 * theta);
        const double oneMinusC = (underdamped ? 2.0 : -2.0) * halfSine * halfSine;
        const double exactSum = oneMinusE * oneMinusE + 2.0 * e * oneMinusC;  // 1 + a1 + a2
        const double exactA0 = exactSum * exactSum;
        // (1 - a1 + a2)^2 - 16 a2 as a product of its two factors.
        const double a1Less16a2 =
            (oneMinusE * oneMinusE - 2.0 * e * oneMinusC) * ((1.0 + e) * (1.0 + e) + 2.0 * e * (1.0 + c));
        bb2 = exactA0 / (4.0 * phi1 * phi1) - 4.0 * e * e;
        bb1 = a1Less16a2 - exactA0 + 2.0 * exactA0 / phi1 - 4.0 * bb2;
      } else {
        const double r2 = -a0 + a1 + 4.0 * (phi0 - phi1) * a2;
        bb2 = (s - r2 * phi1) / (4.0 * phi1 * phi1);
        bb1 = r2 + 4.0 * (phi1 - phi0) * bb2;
      }
      r.b1 = -std::sqrt(std::max(0.0, bb1)) / 2.0;
      r.b0 = (std::sqrt(std::max(0.0, r.b1 * r.b1 + bb2)) - r.b1) / 2.0;
      r.b2 = -r.b0 - r.b1;
      break;
    }
  }
  return r;
}

// First-order bilinear sections. The low-pass is designed for twice the
// rate because it is stepped twice per sample.
Raw FirstOrder(bool highPass, double frequency, double sampleRate) {
  Raw r;
  r.a0 = 1.0;
  if (highPass) {
    const double k = 1.0 / std::tan(kPi * frequency / sampleRate);
    r.a1 = (1.0 - k) / (1.0 + k);
    r.b0 = k / (1.0 + k);
    r.b1 = -k / (1.0 + k);
  } else {
    const double k = 1.0 / std::tan(kPi * frequency / (2.0 * sampleRate));
    r.a1 = (1.0 - k) / (1.0 + k);
    r.b0 = 1.0 / (1.0 + k);
    r.b1 = 1.0 / (1.0 + k);
  }
  return r;
}

}  // namespace

double NotchQCorrection(int row) {
  // The factor rises with frequency; these rows (Hz at 44100 Hz, factor)
  // fix it, and the rows between them are interpolated linearly, which
  // stays within 0.01 of the measured table.
  struct Point {
    double hz, k;
  };
  static constexpr Point kPoints[] = {
      {10, 0.951},    {503, 0.951},   {1000, 0.953},  {2000, 0.959},  {3000, 0.966},  {4000, 0.974},
      {5000, 0.984},  {6000, 0.996},  {7000, 1.009},  {8000, 1.023},  {9000, 1.039},  {10000, 1.056},
      {11000, 1.076}, {12000, 1.099}, {13000, 1.126}, {14000, 1.156}, {15000, 1.191}, {16000, 1.234},
      {17000, 1.287}, {18000, 1.351}, {19000, 1.434}, {20000, 1.539}, {21000, 1.679}, {22000, 1.874},
      {22050, 1.886}};
  constexpr int kLast = static_cast<int>(sizeof kPoints / sizeof kPoints[0]) - 1;
  const double hz = 10.0 + std::clamp(row, 0, 22040);
  int i = 0;
  while (i < kLast - 1 && hz > kPoints[i + 1].hz) ++i;
  const Point& lo = kPoints[i];
  const Point& hi = kPoints[i + 1];
  const double k = lo.k + (hi.k - lo.k) * (hz - lo.hz) / (hi.hz - lo.hz);
  return std::floor(k * 1000.0 + 0.5) / 1000.0;  // the table holds three decimals
}

void DesignBiquad(BiquadSection& s, int kind, double frequency, double gain, double q, double sampleRate) {
  s.kind = kind;
  s.a0 = s.a1 = s.a2 = s.b0 = s.b1 = s.b2 = 0.0;
  s.a1n = s.a2n = s.b0n = s.b1n = s.b2n = 0.0;
  s.a0n = 1.0;

  Raw r;
  switch (kind) {
    case kSectionHighShelf:
    case kSectionLowShelf: r = RbjShelf(kind == kSectionHighShelf, frequency, gain, q, sampleRate); break;
    case kSectionNotch: r = Notch(frequency, q, sampleRate); break;
    case kSectionHighPass1:
    case kSectionLowPass1Twice: r = FirstOrder(kind == kSectionHighPass1, frequency, sampleRate); break;
    case kSectionMatchedPeak:
    case kSectionMatchedHighPass:
    case kSectionMatchedLowPass:
    case kSectionMatchedBandPass: r = Matched(kind, frequency, gain, q, sampleRate); break;
    case kSectionGain:
      r.a0 = 1.0;
      r.b0 = gain > Levels::kSilenceDb ? Levels::DbToAmp(gain) : 0.0;
      break;
    default: break;  // an unknown kind stays cleared
  }
  s.a0 = r.a0;
  s.a1 = r.a1;
  s.a2 = r.a2;
  s.b0 = r.b0;
  s.b1 = r.b1;
  s.b2 = r.b2;

  // The first-order and gain kinds always have a0 = 1; for the others a
  // degenerate design (a0 of 0 or NaN) would turn every output into NaN.
  if (r.a0 == 0.0 || std::isnan(r.a0)) return;
  s.a0n = r.a0 / r.a0;
  s.a1n = r.a1 / r.a0;
  s.a2n = r.a2 / r.a0;
  s.b0n = r.b0 / r.a0;
  s.b1n = r.b1 / r.a0;
  s.b2n = r.b2 / r.a0;
}

void DesignBand(BandFilter& band, int type, double frequency, double gain, double q, int slope, double sampleRate,
                bool noCorrection) {
  if (type < 0 || type > kBandGainStage) type = kTypeAPeak;
  band.mType = type;
  band.mGain = gain;
  band.mQ = q;
  band.mSlope = slope;
  band.mSampleRate = sampleRate;
  // 10 Hz .. 0.495 x rate; a NaN frequency ends at 10 Hz.
  const double f = std::max(10.0, std::min(frequency, 0.99 * (0.5 * sampleRate)));
  band.mFrequency = f;
  band.mCorrectionOn = false;

  if (type == kTypeAPeak && !noCorrection) {
    // At 1x a wide peak near the top of the band loses level towards
    // Nyquist. The same peak designed at four times the rate stands for the
    // intended shape; c, half the shortfall at 0.495 x rate, is taken off
    // the peak and a gentle high shelf (c at f, 2c at the top) adds it back,
    // so the level at f stays the requested gain.
    BiquadSection p1, p4;
    DesignBiquad(p1, kSectionMatchedPeak, f, gain, q, sampleRate);
    DesignBiquad(p4, kSectionMatchedPeak, f, gain, q, 4.0 * sampleRate);
    const double r1 = GetBiquadResponseDB(p1, 0.495 * sampleRate, sampleRate);
    const double r4 = GetBiquadResponseDB(p4, 0.495 * sampleRate, 4.0 * sampleRate);
    const double c = (r4 - r1) * 0.5;
    band.mGain = gain - c;
    DesignBiquad(band.mCorrection, kSectionHighShelf, f, 2.0 * c, 0.3, sampleRate);
    band.mCorrectionOn = true;
  }

  band.SetBandFilterType(type, f, band.mGain, q, slope, sampleRate);
}
