#pragma once

#include <cstdint>

// Records the host passes to the group interface. Those whose layout the
// library reads or writes are defined here; the rest belong to the code
// that fills them (the views, the binding) and pass through as pointers.

struct Rect;
struct Point;
struct EventRecord;
struct OpaqueGrafPtr;
struct ComponentRecord;
struct IACFUnknown;
struct SFicPlugInChunk;
struct SFicPlugInSpec;
struct SFicAutoTimeRampData;
struct SFicTDMAutoElem;
struct SASPRegion;
struct SFileList;

// The host's time-code setting: a code byte and a 32-bit value two bytes
// after it (the host's 2-byte packing: 6 bytes in all).
#pragma pack(push, 2)
struct SFicTimeCodeInfo {
  int8_t mCode = 5;
  uint8_t mPad = 0;
  int32_t mValue = 0;
};
#pragma pack(pop)
static_assert(sizeof(SFicTimeCodeInfo) == 6, "the host's time-code record is 6 bytes");

// Three stem-format words (the type's channel layouts).
struct SFicPlugInStemFormats {
  int32_t mFormat[3];
};

// One chunk descriptor as the host reads it.
struct SFicPlugInStemInfo {
  int32_t mPresent;
  int32_t mWord1;
  int32_t mWord2;
  unsigned char mName[256];  // Pascal string
};

// The host's callback: a 16-bit callback selector, a component (null from
// the library) and a memory handle holding the request's parameter block;
// answers a 16-bit status.
using HostCallbackProc = int16_t (*)(int16_t selector, ComponentRecord* component, char** block);

// A word the host may use to carry a pointer (a DSP, a chip): pointer-sized
// here, where the host library had 32 bits.
using HostWord = uintptr_t;
