#pragma once

// In-place real FFT whose twiddle tables live in a caller-supplied work area,
// so that converters sharing a pooled area of one size build them only once.
//
// n: a power of two, at least 4 (other sizes leave the data untouched).
// direction >= 0 forward, < 0 inverse.
// a: n doubles. Packed spectrum: a[0] = R[0], a[1] = R[n/2], and for
//    0 < k < n/2 a[2k] = R[k], a[2k+1] = I[k], with
//    R[k] + i I[k] = sum a[j] e^(+2 pi i jk/n).
// ip: at least RealFFTWorkAreaIpSize(n) ints, zeroed before first use;
//    ip[0] and ip[1] record the table sizes already built.
// w: at least n/2 doubles: n/8 twiddles (cos, sin) in bit-reversed order,
//    then n/4 values of the real-split table.
//
// The inverse is unscaled: forward then inverse returns n/2 times the input.
void RealFFTWithTables(int n, int direction, double* a, int* ip, double* w);

// ceil(sqrt(n/2) + 2).
int RealFFTWorkAreaIpSize(int n);
