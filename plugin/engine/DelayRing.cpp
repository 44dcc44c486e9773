#include "plugin/engine/DelayRing.h"

#include <algorithm>
#include <cstring>

void DelayRing::SetCapacity(int capacity) {
  mBuffer.Resize(std::max(capacity, 0), true);
  Clear();
  SetLength(mLength);
}

void DelayRing::SetLength(int length) {
  mLength = std::clamp(length, 0, GetCapacity());
  // A shorter ring must not leave the position past its end.
  if (mPosition >= mLength) mPosition = 0;
}

void DelayRing::Clear() {
  if (mBuffer.Get()) std::memset(mBuffer.Get(), 0, static_cast<size_t>(mBuffer.GetSize()) * sizeof(double));
  mPosition = 0;
}

void DelayRing::PushBlock(const double* in, double* out, int n) {
  if (n < 1) return;
  if (mLength == 0) {
    std::memcpy(out, in, sizeof(double) * static_cast<size_t>(n));
    return;
  }
  // In runs up to the end of the ring: read the delayed samples, then put
  // the new ones in their place.
  double* ring = mBuffer.Get();
  while (n > 0) {
    const int k = std::min(n, mLength - mPosition);
    std::memcpy(out, ring + mPosition, sizeof(double) * static_cast<size_t>(k));
    std::memcpy(ring + mPosition, in, sizeof(double) * static_cast<size_t>(k));
    mPosition += k;
    if (mPosition >= mLength) mPosition = 0;
    in += k;
    out += k;
    n -= k;
  }
}
