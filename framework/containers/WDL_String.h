#pragma once

#include "framework/containers/WDL_HeapBuf.h"

// NUL-terminated 8-bit text. An empty string may hold no block at all
// (size 0) or a lone terminator (size 1); Get() gives "" for both.
class WDL_String {
 public:
  WDL_String() : mHeap(128) {}
  explicit WDL_String(const char* text) : mHeap(128) { Set(text); }

  const char* Get() const;
  int GetLength() const;

  void Set(const char* text);
  void Append(const char* text);
  void Insert(const char* text, int pos);
  // Writes len characters of src at pos, keeping the keepTail characters that
  // stood at pos and after (moved right by len), and terminates after them.
  void SetAt(int pos, const char* src, int len, int keepTail);
  // Formats at most maxLen characters.
  void SetFormatted(int maxLen, const char* format, ...) __attribute__((format(printf, 3, 4)));
  void AppendFormatted(int maxLen, const char* format, ...) __attribute__((format(printf, 3, 4)));

 private:
  WDL_HeapBuf mHeap;
};
