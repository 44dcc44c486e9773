#pragma once

// Analysis and design windows. Kinds outside 1..13 give the Hamming window.
enum WindowKind {
  kWindowHamming = 0,
  kWindowBlackman = 1,
  kWindowKaiser4 = 2,
  kWindowKaiser5 = 3,
  kWindowKaiser6 = 4,
  kWindowKaiser8 = 5,
  kWindowRectangular = 6,
  kWindowHann = 7,
  kWindowTriangular = 8,
  kWindowBlackmanHarris4 = 9,
  kWindowFlatTop = 10,
  kWindowHannSquared = 11,
  kWindowSinc = 12,
  kWindowBlackmanHarris7 = 13,
};

// A new array of n values (release with delete[]); null when n < 1.
// With normalise the values are scaled to sum to 1.0. A single point takes
// the window's centre value, so a one-sample window never divides by n - 1.
double* MakeWindow(int n, int kind, bool normalise);
// The same values into n doubles the caller holds; nothing is allocated.
void FillWindow(double* w, int n, int kind, bool normalise);

// Modified Bessel function of order 0 by its power series, stopped after the
// first term below 1e-21 of the running sum.
double BesselI0Series(double x);
