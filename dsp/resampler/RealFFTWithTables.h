#pragma once

#include <cstdint>

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
// bitReverse: null, or MakeBitReverseTable(n / 2): the reordering then reads
// its indices instead of counting them along.
//
// The inverse is unscaled: forward then inverse returns n/2 times the input.
void RealFFTWithTables(int n, int direction, double* a, int* ip, double* w, const int32_t* bitReverse = nullptr);

// RealFFTWithTables of two sequences side by side in `lanes` (2n doubles:
// the first sequence at even positions, the second at odd ones), each lane
// bit for bit what RealFFTWithTables gives that sequence alone.
void RealFFTTwoWithTables(int n, int direction, double* lanes, int* ip, double* w, const int32_t* bitReverse);

// a (n doubles, packed as above) times a packed spectrum, bin by bin, in
// place: DC and Nyquist by their real factors, the others as complex
// products (re a re k - im a im k, re a im k + im a re k).
void MultiplyPackedSpectrum(int n, double* a, const double* spectrum);

// One block of FFT filtering for two channels at once: each of first and
// second (n doubles) is transformed forward, multiplied by the packed
// spectrum and transformed back in place, bit for bit as RealFFTWithTables
// forward, MultiplyPackedSpectrum and RealFFTWithTables inverse would leave
// it. The reorderings travel with the interleaving and the inverse
// untangling instead of taking passes of their own. bitReverse is required;
// work holds 4n doubles. firstHalfOnly: only the first n/2 doubles of each
// result are wanted (overlap-save keeps no more); the rest may be left as
// anything.
void FilterPairWithTables(int n, double* first, double* second, const double* spectrum, int* ip, double* w,
                          const int32_t* bitReverse, double* work, bool firstHalfOnly = false);

// The same with two lanes of a register a point part, whatever the
// processor offers beyond: the reference of the vector path, for the tests.
void FilterPairWithTablesLanes(int n, double* first, double* second, const double* spectrum, int* ip, double* w,
                               const int32_t* bitReverse, double* work);

// The tables RealFFTWithTables reads for size n, made in the work area if
// they are not yet: returns the split table and sets its entry count and
// the step through it for this n (the twiddles are w itself).
const double* RealFFTTables(int n, int* ip, double* w, int* nc, int* ks);

// table[i] = i with its log2(m) bits reversed, for m a power of two.
void MakeBitReverseTable(int m, int32_t* table);

// ceil(sqrt(n/2) + 2).
int RealFFTWorkAreaIpSize(int n);
