#pragma once

#include <cstdint>
#include <type_traits>

#include "framework/containers/WDL_HeapBuf.h"

class WDL_String;

// An append-only byte stream read back at explicit positions. Values are
// copied byte for byte in the machine's order (little-endian on every
// target), with no alignment, so stored files are the same on any build.
class ChunkBuffer {
 public:
  ChunkBuffer() : mBytes(4096) {}

  // Appends n bytes; returns the new size, or a value below 1 when the
  // chunk could not grow (nothing written).
  int PutBytes(const void* data, int n);
  // Copies n bytes at pos; returns pos + n, or -1 (nothing read) when the
  // range is negative, overflows or passes the end.
  int GetBytes(void* data, int n, int pos) const;

  template <class T>
  int Put(const T& value) {
    static_assert(std::is_trivially_copyable_v<T>, "stored values are raw bytes");
    return PutBytes(&value, static_cast<int>(sizeof(T)));
  }
  template <class T>
  int Get(T* value, int pos) const {
    static_assert(std::is_trivially_copyable_v<T>, "stored values are raw bytes");
    return GetBytes(value, static_cast<int>(sizeof(T)), pos);
  }

  // A 32-bit length, then the text without terminator.
  int PutStr(const char* text);
  // Reads what PutStr wrote; -1 on a negative or oversized length.
  int GetStr(WDL_String* text, int pos) const;

  int PutChunk(const ChunkBuffer& other) { return PutBytes(other.GetData(), other.Size()); }

  void Clear() { mBytes.Resize(0, false); }
  int Size() const { return mBytes.GetSize(); }
  // Resizes the stream (new bytes are zeroed); returns the new size.
  int Resize(int newSize);
  const uint8_t* GetData() const { return static_cast<const uint8_t*>(mBytes.Get()); }
  uint8_t* GetData() { return static_cast<uint8_t*>(mBytes.Get()); }
  bool IsEqual(const ChunkBuffer& other) const;

 private:
  WDL_HeapBuf mBytes;
};
