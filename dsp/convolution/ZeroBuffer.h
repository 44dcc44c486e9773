#pragma once

#include <cstring>

#include "framework/containers/WDL_TypedBuf.h"

// Every element of buf to all-zero bits, its size kept.
template <class T>
void ZeroBuffer(WDL_TypedBuf<T>& buf) {
  if (buf.GetSize() > 0) std::memset(buf.Get(), 0, sizeof(T) * static_cast<size_t>(buf.GetSize()));
}
