#pragma once

#include <cstdint>

// The half-size transforms' two-channel passes with fused multiply-adds
// (in HalfBlockPassesAvx2.cpp). They are held to the converters' reference
// within rounding, not bit for bit to the scalar transform, so products
// may fuse, and the reorderings and spectrum products travel with the
// passes next to them instead of taking passes of their own.
//
// A point is two channels' complex values (re A, im A, re B, im B): a
// product with a twiddle then stays within each half of a register. m
// points make a real transform of size n = 2 m in each channel. Each
// channel's results depend on its own values only, so one channel alone
// (the same in both) gets the bits it gets beside another. c, nc, ks: the
// split table of RealFFTTables(n).
namespace HalfBlockPasses {

// AVX2 and FMA on this processor.
bool Available();

// Whether a half-size transform of n points a channel can take these
// passes: m = n / 2 a power of four, at least 16.
bool SuitsSize(int n);

// The twiddles of the passes' radix-4 groups g < m / 4 for one direction
// (sign +1 forward, -1 inverse; w: the twiddles of RealFFTTables(n)), six
// doubles a group: 3 m / 2 doubles.
void MakePassTwiddles(int m, const double* w, double sign, double* twiddles);

// Each point's two products as the passes read them: for point P of the
// tap spectra p and q (packed real spectra of size n), (pr, pr, qr, qr)
// then (pi, pi, qi, qi); point 0 (pdc, pnyq, qdc, qnyq) then zeros.
// table: 8 m doubles.
void MakeProductTable(int n, const double* p, const double* q, double* table);

// What the last pass stores.
enum LastPass {
  kAllPoints,        // every point
  kFirstHalf,        // points below m / 2; the rest is left as anything
  kFirstHalfPhases,  // the same, each point as (re A, re B, im A, im B): two
                     // output phases of one channel in filter-rate order
};

// Complex transform of m reordered points in place, natural order out,
// with one direction's pass twiddles.
void Passes(double* z, int m, const double* twiddles, LastPass last);

// The forward complex transform (Passes, sign +1) of a doubling stage's
// pair from its compact blocks (current and previous input samples of each
// channel): point i of the input takes the even-phase samples 2 rev(i) and
// 2 rev(i) + 1 of each channel, the inputs times 2. The first pass runs on
// the points as they are fetched.
void ForwardEvenPhases(const double* currentA, const double* previousA, const double* currentB,
                       const double* previousB, int m, const int32_t* rev, const double* twiddles, double* z);

// The same for a halving stage's channel from its current and previous
// filter-rate blocks: the even and odd phases (samples 2 k and 2 k + 1 of
// [current | previous]) as the two channels.
void ForwardPhases(const double* current, const double* previous, int m, const int32_t* rev,
                   const double* twiddles, double* z);

// The forward untangling of the m points' transform into each channel's
// real spectrum (packed: point 0 holds DC and Nyquist), in place.
void ForwardUntangle(double* z, int n, const double* c, int nc, int ks);

// Doubling: channel `lane` of spectrum x times both tap spectra (the
// table), into channels 0 and 1, untangled for the inverse and placed at
// the inverse's reordered positions in out (not x).
void MultiplyIntoLanesForInverse(const double* x, int lane, const double* table, int n, const double* c, int nc,
                                 int ks, const int32_t* rev, double* out);

// Halving: each channel's two phase spectra (xa, xb: ForwardPhases, then
// ForwardUntangle) through their tap spectra and summed, channel A's into
// channel 0 and B's into channel 1 of out, untangled for the inverse and
// reordered.
void MultiplyAddPairForInverse(const double* xa, const double* xb, const double* table, int n, const double* c,
                               int nc, int ks, const int32_t* rev, double* out);

}  // namespace HalfBlockPasses
