#pragma once

// The shared windowed-sinc table of the fractional interpolator: for 2834
// phases from 1.0 down to 0.0, 30 taps, each stored as (c0, c1, c2) so that
// the tap at row position k + f (0 <= f < 1) is c0 + c1 f + c2 f^2.
// Row k belongs to the phase 1 - k/2833.
namespace FracDelay {
constexpr int kPhaseSteps = 2833;       // rows 0..2833
constexpr int kRows = kPhaseSteps + 1;  // 2834
constexpr int kTaps = 30;
constexpr int kRowStride = kTaps * 3;
// Seven rows beyond the last serve the eight-row stencils while building.
constexpr int kStorageRows = kRows + 7;
constexpr int kStorageDoubles = kStorageRows * kRowStride;
}  // namespace FracDelay

// Window parameters for a half-width of 15 taps.
struct FracDelayWindowParams {
  double beta;
  double exponent;
};

// Fills kStorageDoubles doubles; null params take the built-in window.
void BuildFracDelayTable(double* storage, const FracDelayWindowParams* params);

class FracDelayTable {
 public:
  // The process-wide table, built by the first caller (the set-up of the
  // first converter whose ratio is not a power of two: the exact 2x and 4x
  // chains never need it, so a program that only runs those never builds
  // it) and never freed, so an interpolator that runs in another object's
  // static destructor still finds it.
  static const double* Shared();
};
