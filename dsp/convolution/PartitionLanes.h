#pragma once

// The convolution engine's moves between two real channels and the complex
// points of one transform, with the vector code the processor offers (each
// value as the plain loops give it: a move, a flush or one addition).
namespace PartitionLanes {

// slot[2 i] = Flush(a[i]), slot[2 i + 1] = Flush(b[i]) for i < n, where
// Flush(v) is 0 for |v| below 2^-54 (biased exponent at most 0x3C8), for
// infinities and for NaN, and v otherwise.
void InterleaveFlushed(const double* a, const double* b, double* slot, int n);

// The overlap-add of a transform whose real parts carry one channel and
// whose imaginary parts carry the other: for j < n,
//   outA[j] = first[2 j] + tailA[j],     tailA[j] = second[2 j],
//   outB[j] = first[2 j + 1] + tailB[j], tailB[j] = second[2 j + 1].
void OverlapAddPair(const double* first, const double* second, double* tailA, double* tailB, double* outA,
                    double* outB, int n);

// The plain loops, for the tests.
void InterleaveFlushedPlain(const double* a, const double* b, double* slot, int n);
void OverlapAddPairPlain(const double* first, const double* second, double* tailA, double* tailB, double* outA,
                         double* outB, int n);

}  // namespace PartitionLanes
