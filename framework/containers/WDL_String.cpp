#include "framework/containers/WDL_String.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

const char* WDL_String::Get() const {
  const char* text = static_cast<const char*>(mHeap.Get());
  return text ? text : "";
}

int WDL_String::GetLength() const { return static_cast<int>(std::strlen(Get())); }

void WDL_String::Set(const char* text) {
  if (!text) text = "";
  SetAt(0, text, static_cast<int>(std::strlen(text)), 0);
}

void WDL_String::Append(const char* text) {
  if (!text) return;
  SetAt(GetLength(), text, static_cast<int>(std::strlen(text)), 0);
}

void WDL_String::Insert(const char* text, int pos) {
  if (!text) return;
  const int length = GetLength();
  pos = std::clamp(pos, 0, length);
  SetAt(pos, text, static_cast<int>(std::strlen(text)), length - pos);
}

void WDL_String::SetAt(int pos, const char* src, int len, int keepTail) {
  if (pos == 0 && len == 0 && keepTail == 0) {
    if (mHeap.Resize(1, false) && mHeap.GetSize() == 1) static_cast<char*>(mHeap.Get())[0] = 0;
    return;
  }
  if (len < 1 || pos < 0) return;

  // A position or tail past the text would move bytes that are not text.
  const int length = GetLength();
  pos = std::min(pos, length);
  keepTail = std::clamp(keepTail, 0, length - pos);

  const int64_t needed64 = int64_t{pos} + len + keepTail + 1;
  if (needed64 > 0x7fffffff) return;
  const int needed = static_cast<int>(needed64);

  const int oldSize = mHeap.GetSize();
  if (oldSize < needed) {
    const uintptr_t oldBase = reinterpret_cast<uintptr_t>(mHeap.Get());
    const uintptr_t srcAddr = reinterpret_cast<uintptr_t>(src);
    const bool srcInside = oldBase && srcAddr >= oldBase && srcAddr < oldBase + static_cast<uintptr_t>(oldSize);
    mHeap.Resize(needed, false);
    if (mHeap.GetSize() < needed) return;
    if (srcInside) src = static_cast<const char*>(mHeap.Get()) + (srcAddr - oldBase);
  }

  char* text = static_cast<char*>(mHeap.Get());
  if (keepTail > 0) std::memmove(text + pos + len, text + pos, static_cast<size_t>(keepTail));
  if (src) std::memmove(text + pos, src, static_cast<size_t>(len));
  text[pos + len + keepTail] = 0;
  if (oldSize > needed) mHeap.Resize(needed, false);
}

namespace {

// Prints into heap at offset, at most maxLen characters; returns false when
// the buffer could not be grown.
bool PrintAt(WDL_HeapBuf& heap, int offset, int maxLen, const char* format, va_list args) {
  if (maxLen < 0) maxLen = 0;
  const int64_t want = int64_t{offset} + maxLen + 1;
  if (want > 0x7fffffff) return false;
  heap.Resize(static_cast<int>(want), false);
  if (heap.GetSize() != want) return false;
  char* text = static_cast<char*>(heap.Get());
  int printed = std::vsnprintf(text + offset, static_cast<size_t>(maxLen) + 1, format, args);
  if (printed < 0) printed = 0;
  text[offset + std::min(printed, maxLen)] = 0;
  heap.Resize(offset + std::min(printed, maxLen) + 1, false);
  return true;
}

}  // namespace

void WDL_String::SetFormatted(int maxLen, const char* format, ...) {
  va_list args;
  va_start(args, format);
  PrintAt(mHeap, 0, maxLen, format, args);
  va_end(args);
}

void WDL_String::AppendFormatted(int maxLen, const char* format, ...) {
  const int length = GetLength();
  va_list args;
  va_start(args, format);
  PrintAt(mHeap, length, maxLen, format, args);
  va_end(args);
}
