#pragma once

#include <cstddef>
#include <cstdint>

// How the host's records are laid out in this 64-bit build, decided once
// for the library, the binding, the frameworks and the host program.
//
// The host was built for 32-bit words, where a pointer and a 32-bit number
// took the same room. Here every word that may hold a pointer is
// pointer-sized (HostWord): handles and object references of the frameworks,
// object pointers, a token's task value, the host context of the
// identification record, the words of word lists that hold pointers, the
// seven fields of the custom-data admin record, and every word of the
// render callback's call block and render record. The byte offsets the host
// gives into those blocks are read as word indices (offset / 4), below.
//
// What is stored or exchanged as bytes stays byte-exact: the 56-byte chunk
// header (32-bit words in native, little-endian order), the 'elck' chunk,
// the engine's control token (32-bit ids, the 16-bit length at 36), the
// ids of the record naming a plug-in type, and every four-character code.

typedef uintptr_t HostWord;

// A reference to an object of the host's engine (server, object, type,
// critical section): opaque, pointer-sized, 0 for none.
typedef uintptr_t FicRef;

namespace hostwords {

// Render callback, first argument (the call block): offset 8 holds the port
// descriptor, the buffer-pointer cells follow from offset 12.
constexpr size_t kCallBlockPortDescriptor = 2;
constexpr size_t kCallBlockFirstBufferCell = 3;

// Render callback, second argument (the render record): offset 12 the
// buffer used for every output after a failure, offset 88 the frame count.
constexpr size_t kRenderRecordFailureBuffer = 3;
constexpr size_t kRenderRecordFrameCount = 22;

// Port descriptor: offset 0 the instance, 12 the inputs, 16 the outputs,
// 20 the side-chain flag, 24 whether the render record counts frames.
constexpr size_t kPortDescriptorProcess = 0;
constexpr size_t kPortDescriptorInputs = 3;
constexpr size_t kPortDescriptorOutputs = 4;
constexpr size_t kPortDescriptorSideChain = 5;
constexpr size_t kPortDescriptorHasFrameCount = 6;

// The engine's control token, byte-exact.
constexpr size_t kTokenDestination = 0;
constexpr size_t kTokenType = 4;
constexpr size_t kTokenSubType = 8;
constexpr size_t kTokenManufacturer = 12;
constexpr size_t kTokenProtocol = 16;
constexpr size_t kTokenDestinationAgain = 20;
constexpr size_t kTokenLength = 36;  // 16 bits: the whole token in bytes
constexpr size_t kTokenHeaderBytes = 38;

// The host's state-chunk header, byte-exact.
constexpr size_t kChunkHeaderBytes = 56;

}  // namespace hostwords

// The identification record the effect type builds for each new instance
// (20 bytes on the 32-bit host). Only the host context holds a pointer.
struct SInstanceIdentification {
  uint32_t mManufacturerID;
  uint32_t mUniqueID;
  uint32_t mTypeID;
  HostWord mHostContext;
  int32_t mInstanceNumber;
};

// The snapshot of a word list handed to the host's structure registry:
// the words, the owned copy, and the copy's size in bytes
// (sizeof(HostWord) per word).
struct SWordArraySnapshot {
  const HostWord* mWords;
  HostWord* mCopy;
  HostWord mSizeBytes;
};
