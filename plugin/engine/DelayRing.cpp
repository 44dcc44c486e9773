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
