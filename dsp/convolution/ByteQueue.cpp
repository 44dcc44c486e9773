#include "dsp/convolution/ByteQueue.h"

#include <cstring>

void* ByteQueue::Add(const void* data, int bytes) {
  void* dest = Append(bytes);
  if (dest && bytes > 0) {
    if (data) {
      std::memcpy(dest, data, static_cast<size_t>(bytes));
    } else {
      std::memset(dest, 0, static_cast<size_t>(bytes));
    }
  }
  return dest;
}

void* ByteQueue::Append(int bytes) {
  if (bytes < 0) return nullptr;
  if (mPosition >= mBuf.GetSize()) {
    mPosition = 0;
    mBuf.Resize(0, false);
  } else if (mPosition > 0 && mBuf.GetSize() + bytes > mBuf.GetAllocated()) {
    const int unread = Available();
    char* base = static_cast<char*>(mBuf.Get());
    std::memmove(base, base + mPosition, static_cast<size_t>(unread));
    mBuf.Resize(unread, false);
    mPosition = 0;
  }
  const int oldSize = mBuf.GetSize();
  mBuf.Resize(oldSize + bytes, false);
  if (mBuf.GetSize() != oldSize + bytes) return nullptr;
  return static_cast<char*>(mBuf.Get()) + oldSize;
}

bool ByteQueue::AddZerosAtFront(int bytes) {
  if (bytes <= 0) return true;
  if (mPosition >= bytes) {
    mPosition -= bytes;
    std::memset(static_cast<char*>(mBuf.Get()) + mPosition, 0, static_cast<size_t>(bytes));
    return true;
  }
  const int unread = Available();
  mBuf.Resize(bytes + unread, false);
  if (mBuf.GetSize() != bytes + unread) {
    mBuf.Resize(mPosition + unread, false);
    return false;
  }
  char* base = static_cast<char*>(mBuf.Get());
  std::memmove(base + bytes, base + mPosition, static_cast<size_t>(unread));
  std::memset(base, 0, static_cast<size_t>(bytes));
  mPosition = 0;
  return true;
}

void* ByteQueue::Get() const {
  if (Available() <= 0) return nullptr;
  return static_cast<char*>(mBuf.Get()) + mPosition;
}

void ByteQueue::Advance(int bytes) {
  // Bytes once consumed may already have been compacted away; going back
  // would expose stale memory, so only forward moves count.
  if (bytes <= 0) return;
  const int size = mBuf.GetSize();
  mPosition = bytes > size - mPosition ? size : mPosition + bytes;
}

void ByteQueue::Clear() {
  mPosition = 0;
  mBuf.Resize(0, false);
}
