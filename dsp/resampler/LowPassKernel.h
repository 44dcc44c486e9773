#pragma once

#include "dsp/resampler/KaiserWindow.h"

#include <cstdint>

// A linear-phase low-pass kernel and its spectrum, shared through the
// LowPassKernelCache by every converter stage that uses it.
struct LowPassKernel {
  // Key.
  double cutoff;             // fraction of the Nyquist frequency of the filter's rate
  double transitionPercent;  // transition band, percent of the cut-off
  double attenuationDb;      // stop-band attenuation
  int32_t variant;           // part of the key only
  LowPassKernel* next;
  int32_t refCount;
  int32_t halfLength;  // h: the kernel has 2h + 1 taps, centred on tap h
  double delay;        // added to the delay carried through a stage (0)
  int32_t length;      // 2h + 1
  int32_t log2Block;   // bit length of 2h: block B = 2^log2Block, FFT N = 2B
  // N doubles: the real FFT of the taps (packed layout), scaled by 2/N so
  // that the unscaled inverse needs no further scaling.
  double* spectrum;
  // L doubles: the taps themselves at unit DC gain, for the stages that
  // apply them directly or split them into phases.
  double* taps;
};

// Designs the kernel for its key. correction: an optional 265-entry table
// of trims in dB; null takes the built-in tables. Allocates `spectrum` and
// `taps`.
// Takes and gives back a work area of the FFT pool.
void DesignLowPassKernel(LowPassKernel* kernel, const double* correction);

// Frees a kernel made with new and designed by DesignLowPassKernel.
void DeleteLowPassKernel(LowPassKernel* kernel);

// Writes 2h + 1 taps of the windowed sinc with cut-off wc (radians per
// sample), centred on taps[h]: tap(+-k) = sin(k wc) / (k pi) W(k)^|exponent|
// and tap(0) = wc / pi W(0)^|exponent|, W read from `window` for k = 0..h.
void GenerateWindowedSinc(double* taps, int32_t halfLength, double wc, KaiserWindowState* window,
                          double exponent);

// The length factor and the cut-off pull-in of the kernel fit, exposed for
// the tests of the fit's reading.
struct LowPassKernelFit {
  double exponent;     // window exponent p
  double lengthFactor; // m
  double pullIn;       // r
  double halfWidth;    // H = m 0.25 / cutoff
};
LowPassKernelFit FitLowPassKernel(double cutoff, double transitionPercent, double attenuationDb,
                                  const double* correction);
