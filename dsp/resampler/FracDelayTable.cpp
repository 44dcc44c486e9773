#include "dsp/resampler/FracDelayTable.h"

#include "dsp/resampler/KaiserWindow.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kHalfWidth = 15.0;
constexpr FracDelayWindowParams kBuiltInWindow = {10.42657217, 2.29183875};

void BuildRow(double* row, double phi, const FracDelayWindowParams& params) {
  KaiserWindowState window = {kHalfWidth, -15, phi / kHalfWidth, params.beta,
                              BesselI0Polynomial(params.beta)};
  const double sinPiPhi = std::sin(kPi * phi);
  // The sinc's peak falls on j = -1 at phase 1 and on j = 0 at phase 0.
  const int peak = (phi >= 0.9999999999999 && phi <= 1.0000000000001) ? -1 : 0;
  double sum = 0.0;
  for (int j = -15; j <= 14; ++j) {
    const double u = j + phi;
    const double wv = std::pow(KaiserWindow(&window), params.exponent);
    double v;
    if ((j == -15 && phi < 0.0) || (j == 14 && 14.0 + phi > 15.0)) {
      // Outside the window; its value was still taken to keep the counter.
      v = 0.0;
    } else if (std::fabs(u) <= 1e-13 && j == peak) {
      v = wv;
    } else {
      // sin(pi (j + phi)) = +-sin(pi phi): exact zeros at integer phases.
      const double s = (j & 1) ? -sinPiPhi : sinPiPhi;
      v = wv * s / (kPi * u);
    }
    row[3 * (j + 15)] = v;
    sum += v;
  }
  const double scale = 1.0 / sum;
  for (int t = 0; t < FracDelay::kTaps; ++t) row[3 * t] *= scale;
}

}  // namespace

void BuildFracDelayTable(double* storage, const FracDelayWindowParams* params) {
  const FracDelayWindowParams& p = params ? *params : kBuiltInWindow;
  // Row r holds phase (2833 - (r - 3)) / 2833: three rows above 1.0 and four
  // below 0.0 give the stencils below their neighbours at both ends.
  for (int r = 0; r < FracDelay::kStorageRows; ++r) {
    const int i = r - 3;
    const double phi = static_cast<double>(FracDelay::kPhaseSteps - i) / FracDelay::kPhaseSteps;
    BuildRow(storage + r * FracDelay::kRowStride, phi, p);
  }
  // Rows are rewritten in place in increasing order; row k's stencil reads
  // the c0 values of rows k..k+7, none of which has been rewritten yet.
  for (int k = 0; k < FracDelay::kRows; ++k) {
    double* row = storage + k * FracDelay::kRowStride;
    for (int t = 0; t < FracDelay::kTaps; ++t) {
      double y[8];
      for (int m = 0; m < 8; ++m) y[m] = storage[(k + m) * FracDelay::kRowStride + 3 * t];
      const double c1 = (61.0 * (y[4] - y[2]) + 16.0 * (y[1] - y[5]) + 3.0 * (y[6] - y[0])) / 76.0;
      // Not mirror-symmetric about y3; the fit was made with these weights.
      const double c2 = (6.0 * y[0] - 29.0 * y[1] + 106.0 * y[2] - 167.0 * y[3] + 106.0 * y[4] -
                         29.0 * y[5] + 10.0 * y[6] - 3.0 * y[7]) /
                        76.0;
      row[3 * t] = y[3];
      row[3 * t + 1] = c1;
      row[3 * t + 2] = c2;
    }
  }
}

const double* FracDelayTable::Shared() {
  static const double* const table = [] {
    double* storage = new double[FracDelay::kStorageDoubles]();
    BuildFracDelayTable(storage, nullptr);
    return storage;
  }();
  return table;
}
