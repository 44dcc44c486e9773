#pragma once

#include <cstddef>
#include <cstdint>

// The basic Mac types the stand-ins and their callers share. Sizes follow
// the Mac's 32-bit definitions where a value is stored or exchanged as bytes
// (codes, ids, results); sizes and handles are pointer-sized on 64-bit Linux.

typedef int16_t OSErr;
typedef int32_t OSStatus;
typedef uint32_t FourCharCode;
typedef FourCharCode OSType;
typedef FourCharCode ResType;
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
