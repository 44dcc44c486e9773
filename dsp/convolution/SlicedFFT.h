#pragma once

#include "framework/containers/WDL_TypedBuf.h"

// A complex FFT of N points cut into steps of bounded work, so that a long
// transform can be spread over many audio blocks. The forward transform is
// s radix-2 decimation-in-frequency passes, then 2^s transforms of M points
// (SplitRadixFFT); the inverse undoes it in the opposite order. A step
// covers S points: S / 2 butterflies of one pass, or S / M of the final
// transforms, so every step costs about as much as any other.
//
// Conventions as SplitRadixFFT: interleaved (re, im) doubles, transformed in
// place, forward exponent positive, neither direction scales, so
// inverse(forward(x)) = N x. The forward output is scrambled: position p
// holds bin BinAt(p), which only matters to point-by-point products and to
// pairing a bin with its mirror (MirrorOf).
class SlicedFFT {
 public:
  // n: a power of two from 4 to 2^19; pieceSize (M): the size of the final
  // transforms, a power of two from 2 to n / 2; stepPoints (S): a power of
  // two from M to n (0: M). Allocates (tables): not for the audio thread.
  // False, leaving the object empty, on bad sizes or when memory cannot be
  // had.
  bool Setup(int n, int pieceSize, int stepPoints = 0);

  int Size() const { return mSize; }
  int PieceSize() const { return mPiece; }
  int StepPoints() const { return mStep; }
  // Steps of one transform (the same for both directions): the passes'
  // steps, then the final transforms' (forward), or the other way round
  // (inverse).
  int StepCount() const { return (mLevels + 1) * StepsPerPass(); }
  int PassStepCount() const { return mLevels * StepsPerPass(); }
  // step in [0, StepCount()), taken in order. upperHalfZero: the second
  // half of the data is taken as zeros whatever it holds (a zero-padded
  // block; the first pass then only multiplies).
  void ForwardStep(double* data, int step, bool upperHalfZero = false) const;
  void InverseStep(double* data, int step) const;
  // The whole transform; direction 0 forward, anything else inverse.
  void Run(double* data, int direction) const;

  // The bin held at position p of a forward output.
  int BinAt(int p) const;
  // The position holding bin (N - BinAt(p)) mod N.
  const int* MirrorTable() const { return mMirror.Get(); }

 private:
  int StepsPerPass() const { return mSize / mStep; }
  // Chunk c of pass `level`: S / 2 butterflies.
  void ForwardChunk(double* data, int level, int chunk, bool upperHalfZero) const;
  void InverseChunk(double* data, int level, int chunk) const;

  int mSize = 0;
  int mPiece = 0;
  int mStep = 0;
  int mLevels = 0;
  // Per pass, its twiddles e^(+2 pi i j / N_l) for j < N_l / 2, N_l = N / 2^l,
  // pass after pass.
  WDL_TypedBuf<double> mTwiddles;
  WDL_TypedBuf<int> mTwiddleStart;
  WDL_TypedBuf<int> mMirror;
};
