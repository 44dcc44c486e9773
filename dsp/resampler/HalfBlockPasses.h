#pragma once

#include <cstdint>

// The half-size transforms' two-channel passes with fused multiply-adds
// (in HalfBlockPassesAvx2.cpp). They are held to the converters' reference
// within rounding, not bit for bit to the scalar transform, so products
// may fuse, and the reorderings and spectrum products travel with the
// passes next to them instead of taking passes of their own.
//
// Points are two channels' complex values (re A, re B, im A, im B), as
// RealFFTTwoWithTables lays them out; m points make a real transform of
// size n = 2 m in each lane. w, c, nc, ks: the tables of RealFFTTables(n).
namespace HalfBlockPasses {

// AVX2 and FMA on this processor.
bool Available();

// Whether a half-size transform of n points a lane can take these passes:
// m = n / 2 a power of four, at least 16.
bool SuitsSize(int n);

// Each point's two products as the passes read them: for point P of the
// tap spectra p and q (packed real spectra of size n), (pr, qr, pr, qr)
// then (-pi, -qi, pi, qi); point 0 (pdc, qdc, pnyq, qnyq) then zeros.
// table: 8 m doubles.
void MakeProductTable(int n, const double* p, const double* q, double* table);

// Complex transform of m reordered points in place, natural order out,
// sign +1 forward, -1 inverse (the radix-4 passes of RealFFTWithTables).
// firstHalfOnly: the points from m / 2 on are left as anything.
void Passes(double* z, int m, const double* w, double sign, bool firstHalfOnly);

// The forward transform's input of a doubling stage's pair: point i takes
// the even-position samples 2 rev(i) and 2 rev(i) + 1 of each channel's
// even phase (x[k] = from[2 k]).
void GatherEvenPhases(const double* fromA, const double* fromB, int m, const int32_t* rev, double* z);

// The forward untangling of the m points' transform into the two real
// spectra (packed, point 0 holding DC and Nyquist), in place.
void ForwardUntangle(double* z, int n, const double* c, int nc, int ks);

// Doubling: lane `lane` of spectrum x times both tap spectra (the table),
// into lanes 0 and 1, untangled for the inverse and placed at the inverse's
// reordered positions in out (not x).
void MultiplyIntoLanesForInverse(const double* x, int lane, const double* table, int n, const double* c, int nc,
                                 int ks, const int32_t* rev, double* out);

// Halving: each channel's two phase spectra (xa, xb: lane 0 even, lane 1
// odd) through their tap spectra and summed, channel A into lane 0 and B
// into lane 1 of out, untangled for the inverse and reordered.
void MultiplyAddPairForInverse(const double* xa, const double* xb, const double* table, int n, const double* c,
                               int nc, int ks, const int32_t* rev, double* out);

}  // namespace HalfBlockPasses
