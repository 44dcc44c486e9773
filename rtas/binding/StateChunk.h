#pragma once

#include <cstdint>

class ChunkBuffer;
class IPlugRTAS;

// The plug-in's part of the host's state chunk: a 56-byte header of 32-bit
// words in the machine's order (the group and type stamp offsets 4 to 27,
// offsets 28 to 55 belong to the host), then the plug-in's state. Offset 0
// holds the total size, state length + 56. The chunk is handled as bytes
// at fixed offsets, so its layout is the same on every build.
namespace statechunk {

constexpr int32_t kHeaderBytes = 56;
// The library's code for a chunk it does not handle or cannot read.
constexpr int32_t kChunkRefused = -7157;

uint32_t ReadWord(const void* chunk, int offset);
void WriteWord(void* chunk, int offset, uint32_t word);

// The state length the size word gives, or -1 when the word is below 56.
int32_t StateLength(const void* chunk);

// The current state; false when the plug-in could not write it.
bool Serialize(IPlugRTAS& plug, ChunkBuffer* state);
// The total size word and the state bytes; offsets 4 to 55 are left alone.
void Write(const ChunkBuffer& state, void* chunk);

// Hands the state bytes, exactly their length, to the plug-in's reader.
// -7157 for a size word below 56, which is never read; otherwise 0 with
// *accepted telling whether the reader took the state.
int32_t Restore(IPlugRTAS& plug, const void* chunk, bool* accepted);

// *equal: whether the chunk's state equals the plug-in's (0 for a size
// word below 56). Always 0.
int32_t Compare(IPlugRTAS& plug, const void* chunk, uint8_t* equal);

}  // namespace statechunk
