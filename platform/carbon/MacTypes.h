#pragma once

#include <cstdint>

// The few Toolbox base types every stand-in shares. Typedefs may be
// repeated by another stand-in as long as they name the same type; the two
// structs are defined here only.

typedef int16_t OSErr;
typedef int32_t OSStatus;
typedef uint32_t OSType;
typedef unsigned char Str255[256];
typedef const unsigned char* ConstStr255Param;
typedef char* Ptr;
typedef Ptr* Handle;

enum { noErr = 0 };

// QuickDraw coordinates: v grows downward, h to the right.
struct Point {
  int16_t v;
  int16_t h;
};

// The field order is the stored order of item lists and 'DLOG' records.
struct Rect {
  int16_t top;
  int16_t left;
  int16_t bottom;
  int16_t right;
};

inline bool operator==(const Point& a, const Point& b) { return a.v == b.v && a.h == b.h; }
inline bool operator!=(const Point& a, const Point& b) { return !(a == b); }
inline bool operator==(const Rect& a, const Rect& b) {
  return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}
inline bool operator!=(const Rect& a, const Rect& b) { return !(a == b); }
