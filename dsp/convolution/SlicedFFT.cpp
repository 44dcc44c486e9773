#include "dsp/convolution/SlicedFFT.h"

#include <cmath>
#include <vector>

#include "dsp/convolution/SplitRadixFFT.h"

namespace {

int Log2(int n) {
  int s = 0;
  while ((1 << s) < n) ++s;
  return s;
}

int ReverseBits(int v, int bits) {
  int r = 0;
  for (int b = 0; b < bits; ++b) r |= ((v >> b) & 1) << (bits - 1 - b);
  return r;
}

}  // namespace

bool SlicedFFT::Setup(int n, int pieceSize) {
  mSize = mPiece = mLevels = 0;
  if (n < 4 || n > SplitRadixFFT::kMaxSize || (n & (n - 1)) != 0) return false;
  if (pieceSize < 2 || pieceSize > n / 2 || (pieceSize & (pieceSize - 1)) != 0) return false;
  const int levels = Log2(n / pieceSize);

  mTwiddleStart.Resize(levels);
  int total = 0;
  for (int l = 0; l < levels; ++l) total += (n >> l) / 2;
  mTwiddles.Resize(2 * total);
  mMirror.Resize(n);
  if (mTwiddleStart.GetSize() != levels || mTwiddles.GetSize() != 2 * total || mMirror.GetSize() != n) return false;
  int at = 0;
  for (int l = 0; l < levels; ++l) {
    const int size = n >> l;
    mTwiddleStart.Get()[l] = at;
    for (int j = 0; j < size / 2; ++j) {
      const double angle = 2.0 * M_PI * j / size;
      mTwiddles.Get()[2 * (at + j)] = std::cos(angle);
      mTwiddles.Get()[2 * (at + j) + 1] = std::sin(angle);
    }
    at += size / 2;
  }
  SplitRadixFFT::InitFFT(pieceSize);
  mSize = n;
  mPiece = pieceSize;
  mLevels = levels;

  std::vector<int> positionOf(static_cast<size_t>(n));
  for (int p = 0; p < n; ++p) positionOf[static_cast<size_t>(BinAt(p))] = p;
  for (int p = 0; p < n; ++p) mMirror.Get()[p] = positionOf[static_cast<size_t>((n - BinAt(p)) & (n - 1))];
  return true;
}

int SlicedFFT::BinAt(int p) const {
  // Each pass sends the even bins to the first half of a block and the odd
  // ones to the second, so piece q holds the bins of residue
  // bitreverse(q) modulo 2^s, in the piece transform's own order.
  const int q = p / mPiece;
  return ReverseBits(q, mLevels) + (SplitRadixFFT::ScrambledIndex(mPiece, p % mPiece) << mLevels);
}

void SlicedFFT::ForwardChunk(double* data, int level, int chunk) const {
  const int half = (mSize >> level) / 2;
  const int first = chunk * mPiece;
  double* lo = data + 2 * static_cast<size_t>((first / half) * 2 * half);
  double* hi = lo + 2 * static_cast<size_t>(half);
  const int j0 = first % half;
  const double* w = mTwiddles.Get() + 2 * static_cast<size_t>(mTwiddleStart.Get()[level]);
  for (int j = j0; j < j0 + mPiece; ++j) {
    const double ur = lo[2 * j], ui = lo[2 * j + 1];
    const double vr = hi[2 * j], vi = hi[2 * j + 1];
    const double dr = ur - vr, di = ui - vi;
    const double wr = w[2 * j], wi = w[2 * j + 1];
    lo[2 * j] = ur + vr;
    lo[2 * j + 1] = ui + vi;
    hi[2 * j] = dr * wr - di * wi;
    hi[2 * j + 1] = dr * wi + di * wr;
  }
}

void SlicedFFT::InverseChunk(double* data, int level, int chunk) const {
  const int half = (mSize >> level) / 2;
  const int first = chunk * mPiece;
  double* lo = data + 2 * static_cast<size_t>((first / half) * 2 * half);
  double* hi = lo + 2 * static_cast<size_t>(half);
  const int j0 = first % half;
  const double* w = mTwiddles.Get() + 2 * static_cast<size_t>(mTwiddleStart.Get()[level]);
  for (int j = j0; j < j0 + mPiece; ++j) {
    const double ar = lo[2 * j], ai = lo[2 * j + 1];
    const double br = hi[2 * j], bi = hi[2 * j + 1];
    // b times the conjugate twiddle.
    const double wr = w[2 * j], wi = w[2 * j + 1];
    const double cr = br * wr + bi * wi, ci = bi * wr - br * wi;
    lo[2 * j] = ar + cr;
    lo[2 * j + 1] = ai + ci;
    hi[2 * j] = ar - cr;
    hi[2 * j + 1] = ai - ci;
  }
}

void SlicedFFT::ForwardStep(double* data, int step) const {
  const int passSteps = mLevels * ChunksPerLevel();
  if (step < passSteps) {
    ForwardChunk(data, step / ChunksPerLevel(), step % ChunksPerLevel());
  } else if (step < StepCount()) {
    SplitRadixFFT::RunFFT(data + 2 * static_cast<size_t>(step - passSteps) * mPiece, mPiece, 0);
  }
}

void SlicedFFT::InverseStep(double* data, int step) const {
  const int pieces = Pieces();
  if (step < pieces) {
    SplitRadixFFT::RunFFT(data + 2 * static_cast<size_t>(step) * mPiece, mPiece, 1);
  } else if (step < StepCount()) {
    const int k = step - pieces;
    InverseChunk(data, mLevels - 1 - k / ChunksPerLevel(), k % ChunksPerLevel());
  }
}

void SlicedFFT::Run(double* data, int direction) const {
  for (int step = 0; step < StepCount(); ++step) {
    if (direction == 0) {
      ForwardStep(data, step);
    } else {
      InverseStep(data, step);
    }
  }
}
