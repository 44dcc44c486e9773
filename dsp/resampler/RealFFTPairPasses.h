#pragma once

#include <cstdint>

// The vector passes of RealFFTWithTables.cpp's two-channel transform (in
// RealFFTPairPassesAvx.cpp); not for other callers but the tests that hold
// them to the scalar pass.
namespace RealFFTDetail {

// The twiddles of radix-4 group g: w1 from the table (conjugated for the
// inverse, sign -1), w2 = w1 squared, w3 = i w1 (or -i w1).
struct GroupTwiddleValues {
  double w1r, w1i, w2r, w2i, w3r, w3i;
  GroupTwiddleValues(int g, const double* w, double sign)
      : w1r(g ? w[2 * g] : 1.0),
        w1i(g ? sign * w[2 * g + 1] : 0.0),
        w2r(w1r * w1r - w1i * w1i),
        w2i(2.0 * w1r * w1i),
        w3r(-sign * w1i),
        w3i(sign * w1r) {}
};

// One radix-4 pass of Transform over two-channel points with partners s
// apart (s >= 2), two points a register: each double bit for bit as the
// scalar pass leaves it. z: m points, (re, re, im, im) each.
void Radix4PassPairsAvx512(double* z, int m, int s, const double* w, double sign);

// The same pass with one point a 256-bit register (AVX2), for any s >= 1.
void Radix4PassPairsAvx2(double* z, int m, int s, const double* w, double sign);

// The reordering of m points (re, re, im, im) by table (point i swaps with
// point table[i]), AVX2.
void BitReversePairsAvx2(double* z, int m, const int32_t* table);

// The untanglings of the two-channel real FFT of size n in place (a: n
// points, (re, re, im, im) each; c: the split table, nc entries read every
// ks-th), each double bit for bit as the two-lane code leaves it, AVX2.
void ForwardUntanglePairsAvx2(double* a, int n, const double* c, int nc, int ks);
void InverseUntanglePairsAvx2(double* a, int n, const double* c, int nc, int ks);

// FilterPairWithTables with the points in vector lanes, for an odd log2 of
// n / 2 and n >= 16 (false, nothing done, otherwise): every step gives each
// double what the two-lane code gives it. w and c: the twiddle and split
// tables already made (nc entries, read every ks-th). firstHalfOnly: the
// second half of each result is not wanted and may be skipped.
bool FilterPairAvx512(int n, double* first, double* second, const double* spectrum, const double* w, const double* c,
                      int nc, int ks, const int32_t* bitReverse, double* work, bool firstHalfOnly);

bool HasAvx512();
bool HasAvx2();

}  // namespace RealFFTDetail
