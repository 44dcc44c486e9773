// The host state: the parameter payload and the reference capture in the
// tagged sections of StateChunkFormat.h.

#include <array>
#include <cstdint>
#include <cstring>

#include "plugin/controller/Brimlow.h"
#include "plugin/controller/StateChunkFormat.h"

namespace {

// Where the parts of a chunk lie, found before anything is applied: a chunk
// that turns out damaged part way must not leave the parameters or the
// reference half restored.
struct StateLayout {
  enum Kind {
    kNotState,     // empty, too short for the magic, or no magic: nothing to read
    kFailed,       // a field runs past the end, or an unknown version or section
    kNoParams,     // an empty parameter section: nothing after it is read
    kComplete
  };
  Kind kind = kNotState;
  int paramsPos = 0;
  int paramsLength = 0;
  int capturePos = -1;  // the frequency array of a capture to take, or -1
  int end = 0;
};

// Reads a word at *pos and moves past it; false when it runs past the end.
bool ReadWord(const ChunkBuffer& chunk, int* pos, uint32_t* word) {
  const int next = chunk.Get(word, *pos);
  if (next < 0) return false;
  *pos = next;
  return true;
}

bool Fits(const ChunkBuffer& chunk, int pos, uint32_t length) {
  return pos >= 0 && static_cast<int64_t>(pos) + length <= chunk.Size();
}

// A chunk whose last few bytes, too few for a word, begin `tag` was cut
// inside that tag. Other bytes after a section are the host's.
bool EndsInsideTag(const ChunkBuffer& chunk, int pos, uint32_t tag) {
  const int left = chunk.Size() - pos;
  if (pos < 0 || left <= 0 || left >= static_cast<int>(sizeof tag)) return false;
  unsigned char bytes[sizeof tag];
  std::memcpy(bytes, &tag, sizeof tag);
  return std::memcmp(chunk.GetData() + pos, bytes, static_cast<size_t>(left)) == 0;
}

StateLayout ParseStateLayout(const ChunkBuffer* chunk, int start) {
  StateLayout layout;
  if (!chunk || start < 0 || !Fits(*chunk, start, sizeof(uint32_t))) return layout;
  int pos = start;
  uint32_t word = 0;
  ReadWord(*chunk, &pos, &word);
  if (word != StateChunk::kMagic) return layout;

  layout.kind = StateLayout::kFailed;
  // A chunk of another version or layout could hold anything in what
  // follows: it is refused rather than reported as restored.
  if (!ReadWord(*chunk, &pos, &word) || word != StateChunk::kVersion) return layout;
  if (!ReadWord(*chunk, &pos, &word) || word != StateChunk::kParamsTag) return layout;
  uint32_t paramsLength = 0;
  if (!ReadWord(*chunk, &pos, &paramsLength)) return layout;
  if (paramsLength == 0) {
    layout.kind = StateLayout::kNoParams;
    layout.end = pos;
    return layout;
  }
  if (!Fits(*chunk, pos, paramsLength)) return layout;
  layout.paramsPos = pos;
  layout.paramsLength = static_cast<int>(paramsLength);
  // Sections are found by their lengths, not by where a payload reader
  // happens to stop.
  pos += layout.paramsLength;

  layout.kind = StateLayout::kComplete;
  layout.end = pos;
  // A chunk may end after its parameters, or a host may follow it with
  // data of its own.
  if (EndsInsideTag(*chunk, pos, StateChunk::kCaptureTag)) {
    layout.kind = StateLayout::kFailed;
    return layout;
  }
  if (!ReadWord(*chunk, &pos, &word) || word != StateChunk::kCaptureTag) return layout;
  uint32_t captureLength = 0;
  if (!ReadWord(*chunk, &pos, &captureLength) || !Fits(*chunk, pos, captureLength)) {
    layout.kind = StateLayout::kFailed;
    return layout;
  }
  const int captureEnd = pos + static_cast<int>(captureLength);
  uint32_t format = 0, count = 0;
  if (captureLength >= 2 * sizeof(uint32_t) && ReadWord(*chunk, &pos, &format) && ReadWord(*chunk, &pos, &count) &&
      format == StateChunk::kCaptureFormat && count == static_cast<uint32_t>(kReferencePointCount)) {
    constexpr uint32_t kArraysBytes = 2u * sizeof(double) * kReferencePointCount;
    // A capture of our count whose section cannot hold it is damaged.
    if (captureLength < 2 * sizeof(uint32_t) + kArraysBytes) {
      layout.kind = StateLayout::kFailed;
      return layout;
    }
    layout.capturePos = pos;
  }
  // Another format or point count is skipped whole; the reference stays.
  pos = captureEnd;
  layout.end = pos;

  if (EndsInsideTag(*chunk, pos, StateChunk::kReservedTag)) {
    layout.kind = StateLayout::kFailed;
    return layout;
  }
  if (!ReadWord(*chunk, &pos, &word) || word != StateChunk::kReservedTag) return layout;
  uint32_t reservedLength = 0;
  if (!ReadWord(*chunk, &pos, &reservedLength) || !Fits(*chunk, pos, reservedLength)) {
    layout.kind = StateLayout::kFailed;
    return layout;
  }
  layout.end = pos + static_cast<int>(reservedLength);
  return layout;
}

}  // namespace

bool Brimlow::SerializeState(ChunkBuffer* chunk) {
  if (!chunk) return false;
  WDL_MutexLock lock(GetMutex());
  const int before = chunk->Size();
  const bool written =
      StateChunk::AppendHeader(chunk) &&
      StateChunk::AppendSection(chunk, StateChunk::kParamsTag, [&] { return SerializeParams(chunk); }) &&
      StateChunk::AppendSection(chunk, StateChunk::kCaptureTag, [&] {
        if (!mDspReady) return true;
        constexpr int kArrayBytes = static_cast<int>(sizeof(double)) * kReferencePointCount;
        return chunk->Put(StateChunk::kCaptureFormat) > 0 &&
               chunk->Put(static_cast<uint32_t>(kReferencePointCount)) > 0 &&
               chunk->PutBytes(mReference.GetFrequencies(), kArrayBytes) > 0 &&
               chunk->PutBytes(mReference.GetMagnitudes(), kArrayBytes) > 0;
      }) &&
      StateChunk::AppendSection(chunk, StateChunk::kReservedTag, [] { return true; });
  // A caller handed false must not find half a chunk appended.
  if (!written) chunk->Resize(before);
  return written;
}

int Brimlow::UnserializeStateAll(const ChunkBuffer* chunk, int startPos) {
  return UnserializeState(chunk, startPos, false);
}

int Brimlow::UnserializeState(const ChunkBuffer* chunk, int startPos, bool flaggedOnly) {
  WDL_MutexLock lock(GetMutex());
  const StateLayout layout = ParseStateLayout(chunk, startPos);
  switch (layout.kind) {
    case StateLayout::kNotState:
      return startPos;
    case StateLayout::kFailed:
      return -1;
    case StateLayout::kNoParams:
      return layout.end;
    case StateLayout::kComplete:
      break;
  }

  // The payload reader sees its own section only, so a payload whose inner
  // length disagrees with the section's cannot read the capture as text.
  ChunkBuffer params;
  if (params.PutBytes(chunk->GetData() + layout.paramsPos, layout.paramsLength) < 1) return -1;
  // The XML reader reports failure as 0, the binary one as -1.
  int paramsRead = 0;
  {
    ParamBatch batch(*this);
    paramsRead = UnserializeParams(&params, 0, flaggedOnly);
  }
  if (paramsRead <= 0) return -1;

  if (layout.capturePos >= 0) {
    std::array<double, kReferencePointCount> frequencies{};
    std::array<double, kReferencePointCount> magnitudes{};
    constexpr int kArrayBytes = static_cast<int>(sizeof(double)) * kReferencePointCount;
    const int magnitudesPos = chunk->GetBytes(frequencies.data(), kArrayBytes, layout.capturePos);
    ReferenceCapture fresh;
    // Set refuses non-finite points: the old reference is kept whole.
    if (chunk->GetBytes(magnitudes.data(), kArrayBytes, magnitudesPos) >= 0 &&
        fresh.Set(frequencies.data(), magnitudes.data(), kReferencePointCount)) {
      // The grid follows the pre analyser's bins, which are laid out for the
      // host rate the DSP runs at.
      mReference.Commit(fresh, GetMutex(), mReferenceGrid.Get(), mReferenceGridCount, mDspSampleRate);
    }
  }
  return layout.end;
}
