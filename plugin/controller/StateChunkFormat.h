#pragma once

#include <cstdint>
#include <cstring>

#include "framework/containers/ChunkBuffer.h"

// The plug-in's state chunk, also the form every preset record holds:
//
//   u32 magic, u32 version,
//   u32 kParamsTag,   u32 length, parameter payload (the framework's),
//   u32 kCaptureTag,  u32 length, empty or: u32 kCaptureFormat, u32 N,
//                                 N doubles frequency (Hz), N doubles magnitude,
//   u32 kReservedTag, u32 length 0          (host state only, not in presets)
//
// Every length counts its payload's bytes only. Words and doubles are
// little-endian, packed with no padding.
namespace StateChunk {

constexpr uint32_t kMagic = 0xF0E1D2C3u;
constexpr uint32_t kVersion = 4;
constexpr uint32_t kParamsTag = 0xF0E1D2C4u;
constexpr uint32_t kCaptureTag = 0xF0E1D2C5u;
constexpr uint32_t kReservedTag = 0xF0E1D2C6u;
constexpr uint32_t kCaptureFormat = 1;

inline bool AppendHeader(ChunkBuffer* chunk) { return chunk->Put(kMagic) > 0 && chunk->Put(kVersion) > 0; }

// Appends tag, a length word and what `payload` appends (it returns false
// on failure), then patches the length to the payload's byte count.
template <class Payload>
bool AppendSection(ChunkBuffer* chunk, uint32_t tag, Payload payload) {
  if (chunk->Put(tag) < 1) return false;
  const int lengthPos = chunk->Size();
  if (chunk->Put(uint32_t{0}) < 1 || !payload()) return false;
  const uint32_t length = static_cast<uint32_t>(chunk->Size() - lengthPos - static_cast<int>(sizeof(uint32_t)));
  std::memcpy(chunk->GetData() + lengthPos, &length, sizeof length);
  return true;
}

}  // namespace StateChunk
