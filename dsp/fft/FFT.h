#pragma once

// The radix-2 transforms under the analysers and the impulse windowing. They
// keep no state and allocate nothing: twiddles come from a recurrence.
//
// Both use the positive exponent for sign +1: X[k] = sum x[j] e^(+2 pi i jk/n),
// unscaled. Sign -1 is the inverse and scales so that a round trip returns
// the input.

// n complex points, re and im interleaved (2n doubles), in place, natural
// order in and out. Returns false and leaves the data untouched unless n is
// a power of two.
bool ComplexFFT(double* data, int n, int sign);

// n real samples (n a power of two, at least 4) in a buffer of n + 2
// doubles. Forward leaves bins 0..n/2 at (data[2k], data[2k+1]); the inverse
// takes that layout back to n samples. Returns false for any other n.
bool RealFFT(double* data, int n, int sign);
