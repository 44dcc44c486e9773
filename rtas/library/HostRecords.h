#pragma once

#include <cstdint>

#include "platform/protools/DAE.h"
#include "platform/protools/HostCallbacks.h"
#include "platform/protools/HostWords.h"

// Records the host passes to the group interface. Those whose layout the
// library reads or writes are defined here; the rest belong to the code
// that fills them (the views, the binding) and pass through as pointers.

struct Rect;
struct Point;
struct EventRecord;
struct OpaqueGrafPtr;
struct IACFUnknown;
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


// The host's state chunk: a 56-byte header of 32-bit words in native order,
// then the chunk's data. The host supplies the memory, as large as the size
// the plug-in reported.
struct SFicPlugInChunk {
  int32_t mSize;             // 0: header and data, in bytes
  uint32_t mProductNumber;   // 4
  uint32_t mManufacturerID;  // 8
  uint32_t mUniqueID;        // 12
  uint32_t mTypeID;          // 16
  uint32_t mChunkID;         // 20
  int32_t mReserved;         // 24
  uint8_t mHostBytes[28];    // 28: the host's; the plug-in leaves them alone

  static constexpr int32_t kHeaderBytes = 56;
  uint8_t* Data() { return reinterpret_cast<uint8_t*>(this) + kHeaderBytes; }
  const uint8_t* Data() const { return reinterpret_cast<const uint8_t*>(this) + kHeaderBytes; }
};
static_assert(sizeof(SFicPlugInChunk) == SFicPlugInChunk::kHeaderBytes, "the host's chunk header is 56 bytes");
