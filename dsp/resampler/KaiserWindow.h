#pragma once

// Modified Bessel function of order 0 by the polynomial approximations of
// Abramowitz and Stegun 9.8.1 (|x| < 3.75) and 9.8.2 (otherwise); relative
// error below about 2e-7, which the converter's kernels were fitted with.
double BesselI0Polynomial(double x);

// A Kaiser window read one value at a time: value j is
// I0(beta sqrt(1 - t^2)) / I0(beta) with t = j / halfWidth + offset, and 0
// where |t| > 1. The counter starts where the caller sets it.
struct KaiserWindowState {
  double halfWidth;
  int counter;
  double offset;
  double beta;
  double i0Beta;
};

// The next window value; advances the counter.
double KaiserWindow(KaiserWindowState* state);
