#pragma once

#include <cstddef>
#include <cstdint>

// The basic Mac types the stand-ins and their callers share. Sizes follow
// the Mac's 32-bit definitions where a value is stored or exchanged as bytes
// (codes, ids, results); sizes and handles are pointer-sized on 64-bit Linux.

typedef int16_t OSErr;
typedef int32_t OSStatus;
// Four-character codes. The Mac's own name for the type, FourCharCode, is
// the framework's helper that makes them (framework/Utilities.h).
typedef uint32_t OSType;
typedef uint32_t ResType;
typedef int16_t ResID;
typedef unsigned char Boolean;
typedef char* Ptr;
typedef Ptr* Handle;
typedef intptr_t Size;

// Length byte, then up to 255 bytes of text; no terminator.
typedef unsigned char Str255[256];
typedef unsigned char Str63[64];
typedef const unsigned char* ConstStr255Param;

enum : OSErr {
  noErr = 0,
  paramErr = -50,
  memFullErr = -108,
  nilHandleErr = -109,
  memWZErr = -111,
  resNotFound = -192,
  resFNotFound = -193,
  resAttrErr = -198,
  mapReadErr = -199,
};

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
