#include "framework/containers/ChunkBuffer.h"

#include <cstring>
#include <vector>

#include "framework/containers/WDL_String.h"

int ChunkBuffer::PutBytes(const void* data, int n) {
  const int oldSize = mBytes.GetSize();
  if (n < 0 || static_cast<int64_t>(oldSize) + n > 0x7fffffff) return 0;
  if (n == 0) return oldSize;
  mBytes.Resize(oldSize + n, false);
  if (mBytes.GetSize() != oldSize + n) return 0;
  std::memcpy(static_cast<uint8_t*>(mBytes.Get()) + oldSize, data, static_cast<size_t>(n));
  return mBytes.GetSize();
}

int ChunkBuffer::GetBytes(void* data, int n, int pos) const {
  if (pos < 0 || n < 0) return -1;
  if (static_cast<int64_t>(pos) + n > mBytes.GetSize()) return -1;
  if (n > 0) std::memcpy(data, static_cast<const uint8_t*>(mBytes.Get()) + pos, static_cast<size_t>(n));
  return pos + n;
}

int ChunkBuffer::PutStr(const char* text) {
  if (!text) text = "";
  const int32_t length = static_cast<int32_t>(std::strlen(text));
  const int before = Size();
  if (Put(length) < 1) return 0;
  if (length > 0 && PutBytes(text, length) < 1) {
    Resize(before);
    return 0;
  }
  return Size();
}

int ChunkBuffer::GetStr(WDL_String* text, int pos) const {
  int32_t length = 0;
  const int start = Get(&length, pos);
  if (start < 0 || length < 0 || static_cast<int64_t>(start) + length > Size()) return -1;
  std::vector<char> copy(static_cast<size_t>(length) + 1, 0);
  if (length > 0) std::memcpy(copy.data(), GetData() + start, static_cast<size_t>(length));
  if (text) text->Set(copy.data());
  return start + length;
}

int ChunkBuffer::Resize(int newSize) {
  const int oldSize = Size();
  mBytes.Resize(newSize, false);
  if (Size() > oldSize) std::memset(GetData() + oldSize, 0, static_cast<size_t>(Size() - oldSize));
  return Size();
}

bool ChunkBuffer::IsEqual(const ChunkBuffer& other) const {
  return Size() == other.Size() && (Size() == 0 || std::memcmp(GetData(), other.GetData(), static_cast<size_t>(Size())) == 0);
}
