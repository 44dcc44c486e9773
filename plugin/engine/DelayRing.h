#pragma once

#include "framework/containers/WDL_TypedBuf.h"

// A capacity-bounded ring of doubles whose push returns the delayed sample.
// Length 0 passes the input straight through. The capacity is allocated at
// set-up; changing the length later never allocates, and a new length starts
// from silence.
class DelayRing {
 public:
  // Reallocates and empties the ring; the length is clamped into the new
  // capacity.
  void SetCapacity(int capacity);
  void SetLength(int length);
  void Clear();

  double Push(double sample) {
    if (mLength == 0) return sample;
    double* slot = mBuffer.Get() + mPosition;
    const double delayed = *slot;
    *slot = sample;
    if (++mPosition >= mLength) mPosition = 0;
    return delayed;
  }

  // n pushes at once: out[i] is what Push(in[i]) would return. out may be
  // in itself.
  void PushBlock(const double* in, double* out, int n);
  // n pushes whose delayed samples are not wanted.
  void Write(const double* in, int n);

  int GetCapacity() const { return mBuffer.GetSize(); }
  int GetLength() const { return mLength; }

 private:
  WDL_TypedBuf<double> mBuffer{4096};
  int mLength = 0;
  int mPosition = 0;
};
