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

// The inverse complex transform (Passes, sign -1) of m points read from
// `from` in the reordering's order, the first pass on them as they are
// fetched; z: the result (not from).
void InverseFromReordered(const double* from, int m, const int32_t* rev, const double* twiddles, LastPass last,
                          double* z);

// A doubling pair's block in the spectrum, in natural order: the forward
// transform's points x untangled into each channel's real spectrum, each
// channel times both tap spectra (the table: its two output phases), and
// untangled for the inverse: channel A's phases into lane0Out, channel B's
// into x in place.
void FilterDoublingSpectra(double* x, int n, const double* table, const double* c, int nc, int ks,
                           double* lane0Out);

// A halving pair's block in the spectrum: the forward transforms' points
// of each channel's phases (xa, xb; the same for one channel alone)
// untangled into the phases' real spectra, each phase times its tap
// spectrum and the two summed, channel A's into channel 0 and B's into
// channel 1, untangled for the inverse, into xa in place.
void FilterHalvingSpectra(double* xa, const double* xb, int n, const double* table, const double* c, int nc, int ks);

}  // namespace HalfBlockPasses
