#include "dsp/fft/Window.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Cosine sum a0 + a1 cos(p) + a2 cos(2p) + ... with the signs folded into a.
double CosineSum(const double* a, int terms, double phase) {
  double v = a[0];
  for (int k = 1; k < terms; ++k) v += a[k] * std::cos(k * phase);
  return v;
}

double Kaiser(double beta, double r, double i0Beta) {
  return BesselI0Series(beta * std::sqrt(1.0 - r * r)) / i0Beta;
}

}  // namespace

double BesselI0Series(double x) {
  const double a = 0.5 * x;
  double sum = 1.0;
  double term = 1.0;
  for (int k = 1;; ++k) {
    const double q = a / k;
    term *= q * q;
    sum += term;
    // A NaN argument, or a sum past the double range, never meets the test
    // below: the loop would run for ever.
    if (!(sum < HUGE_VAL)) return sum;
    if (term < 1e-21 * sum) break;
  }
  return sum;
}

double* MakeWindow(int n, int kind, bool normalise) {
  if (n < 1) return nullptr;
  double* w = new double[n];
  FillWindow(w, n, kind, normalise);
  return w;
}

void FillWindow(double* w, int n, int kind, bool normalise) {
  if (!w || n < 1) return;
  static const double kHamming[] = {0.53836, -0.46164};
  static const double kBlackman[] = {0.42, -0.5, 0.08};
  static const double kHann[] = {0.5, -0.5};
  static const double kBlackmanHarris4[] = {0.358750287312166, -0.4882901074726, 0.141279712970519,
                                            -0.011679892244715};
  static const double kFlatTop[] = {1.0, -1.93, 1.29, -0.388, 0.028};
  static const double kBlackmanHarris7[] = {
      0.2712203605850388,    -0.4334446123274422,  0.2180041228929303,    -0.06578534329560609,
      0.01076186730534183,   -0.0007700127105808265, 1.368088305992921e-5};

  // The Kaiser kinds centre on floor(n/2) and span only half the textbook
  // range, so their ends stay well above zero; the designs rely on that.
  const int centre = n / 2;
  const double span = n > 1 ? n - 1.0 : 1.0;
  const double d = 2.0 * kPi / span;
  double beta = 0.0;
  switch (kind) {
    case kWindowKaiser4: beta = 4.0; break;
    case kWindowKaiser5: beta = 5.0; break;
    case kWindowKaiser6: beta = 6.0; break;
    case kWindowKaiser8: beta = 8.0; break;
    default: break;
  }
  const double i0Beta = beta > 0.0 ? BesselI0Series(beta) : 1.0;

  for (int i = 0; i < n; ++i) {
    // One point sits at the centre of every cosine window (phase pi).
    const double phase = n > 1 ? d * i : kPi;
    double v;
    switch (kind) {
      case kWindowBlackman: v = CosineSum(kBlackman, 3, phase); break;
      case kWindowKaiser4:
      case kWindowKaiser5:
      case kWindowKaiser6:
      case kWindowKaiser8: v = Kaiser(beta, (i - centre) / span, i0Beta); break;
      case kWindowRectangular: v = 1.0; break;
      case kWindowHann: v = CosineSum(kHann, 2, phase); break;
      case kWindowTriangular: v = n > 1 ? 1.0 - 2.0 * std::fabs(i - 0.5 * (n - 1)) / span : 1.0; break;
      case kWindowBlackmanHarris4: v = CosineSum(kBlackmanHarris4, 4, phase); break;
      case kWindowFlatTop: v = CosineSum(kFlatTop, 5, phase); break;
      case kWindowHannSquared: {
        const double h = CosineSum(kHann, 2, phase);
        v = h * h;
        break;
      }
      case kWindowSinc: {
        const double x = ((i - n * 0.5) / kPi) * 0.25;
        v = std::fabs(x) < 1e-14 ? 1.0 : std::sin(x) / x;
        break;
      }
      case kWindowBlackmanHarris7: v = CosineSum(kBlackmanHarris7, 7, phase); break;
      default: v = CosineSum(kHamming, 2, phase); break;
    }
    w[i] = v;
  }

  if (normalise) {
    double sum = 0.0;
    for (int i = 0; i < n; ++i) sum += w[i];
    // A window that sums to zero (Hann of two points) has no scale to take.
    if (sum != 0.0) {
      const double scale = 1.0 / sum;
      for (int i = 0; i < n; ++i) w[i] *= scale;
    }
  }
}
