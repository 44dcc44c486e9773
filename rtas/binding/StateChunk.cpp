#include "rtas/binding/StateChunk.h"

#include <cstring>

#include "framework/containers/ChunkBuffer.h"
#include "rtas/binding/IPlugRTAS.h"

namespace statechunk {

uint32_t ReadWord(const void* chunk, int offset) {
  uint32_t word = 0;
  std::memcpy(&word, static_cast<const uint8_t*>(chunk) + offset, sizeof(word));
  return word;
}

void WriteWord(void* chunk, int offset, uint32_t word) {
  std::memcpy(static_cast<uint8_t*>(chunk) + offset, &word, sizeof(word));
}

int32_t StateLength(const void* chunk) {
  const int32_t total = static_cast<int32_t>(ReadWord(chunk, 0));
  return total < kHeaderBytes ? -1 : total - kHeaderBytes;
}

bool Serialize(IPlugRTAS& plug, ChunkBuffer* state) {
  state->Clear();
  return plug.SerializeState(state);
}

void Write(const ChunkBuffer& state, void* chunk) {
  WriteWord(chunk, 0, static_cast<uint32_t>(state.Size() + kHeaderBytes));
  if (state.Size() > 0) std::memcpy(static_cast<uint8_t*>(chunk) + kHeaderBytes, state.GetData(), state.Size());
}

int32_t Restore(IPlugRTAS& plug, const void* chunk, bool* accepted) {
  *accepted = false;
  const int32_t length = StateLength(chunk);
  if (length < 0) return kChunkRefused;
  ChunkBuffer state;
  if (length > 0 && state.PutBytes(static_cast<const uint8_t*>(chunk) + kHeaderBytes, length) < 1) {
    return kChunkRefused;
  }
  // A reader that takes the state moves past its start.
  *accepted = plug.UnserializeStateAll(&state, 0) > 0;
  return 0;
}

int32_t Compare(IPlugRTAS& plug, const void* chunk, uint8_t* equal) {
  const int32_t length = StateLength(chunk);
  const bool same =
      length >= 0 && plug.CompareStateBytes(static_cast<const uint8_t*>(chunk) + kHeaderBytes, length);
  if (equal) *equal = same ? 1 : 0;
  return 0;
}

}  // namespace statechunk
