#include "plugin/engine/DelayRing.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "dsp/resampler/VectorCopy.h"

void DelayRing::SetCapacity(int capacity) {
  mBuffer.Resize(std::max(capacity, 0), true);
  mLength = std::clamp(mLength, 0, GetCapacity());
  Clear();
}

void DelayRing::SetLength(int length) {
  const int clamped = std::clamp(length, 0, GetCapacity());
  // What the ring holds was delayed by the old length (or by one long
  // before): under a new length it would come out at the wrong time.
  if (clamped == mLength) return;
  mLength = clamped;
  Clear();
}

void DelayRing::Clear() {
  // Only the first mLength slots are ever read, and a new length clears
  // again: the rest of the capacity is left untouched (and, freshly
  // allocated, unpaged).
  if (mBuffer.Get() && mLength > 0) std::memset(mBuffer.Get(), 0, static_cast<size_t>(mLength) * sizeof(double));
  mPosition = 0;
}

void DelayRing::PushBlock(const double* in, double* out, int n) {
  if (n < 1) return;
  if (mLength == 0) {
    if (out != in) CopyDoubles(out, in, n);
    return;
  }
  // In runs up to the end of the ring; each slot's delayed sample is taken
  // before the new one goes in, so out may be in.
  double* ring = mBuffer.Get();
  while (n > 0) {
    const int k = std::min(n, mLength - mPosition);
    double* slot = ring + mPosition;
    int i = 0;
#if defined(__SSE2__)
    for (; i + 2 <= k; i += 2) {
      const __m128d delayed = _mm_loadu_pd(slot + i), x = _mm_loadu_pd(in + i);
      _mm_storeu_pd(slot + i, x);
      _mm_storeu_pd(out + i, delayed);
    }
#endif
    for (; i < k; ++i) {
      const double delayed = slot[i];
      slot[i] = in[i];
      out[i] = delayed;
    }
    mPosition += k;
    if (mPosition >= mLength) mPosition = 0;
    in += k;
    out += k;
    n -= k;
  }
}

void DelayRing::Write(const double* in, int n) {
  if (n < 1 || mLength == 0) return;
  double* ring = mBuffer.Get();
  // Only the last mLength samples stay in the ring.
  if (n > mLength) {
    mPosition = (mPosition + (n - mLength)) % mLength;
    in += n - mLength;
    n = mLength;
  }
  while (n > 0) {
    const int k = std::min(n, mLength - mPosition);
    CopyDoubles(ring + mPosition, in, k);
    mPosition += k;
    if (mPosition >= mLength) mPosition = 0;
    in += k;
    n -= k;
  }
}
