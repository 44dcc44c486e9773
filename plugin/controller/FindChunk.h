#pragma once

#include <cstdint>

class AudioFileStream;

// Walks the chunks from the current position to the one with this id and
// leaves the stream at its body; *size receives its size field. Sizes are
// little-endian (RIFF) or big-endian (FORM) and padded to even. Returns 0,
// or kAudioFileCorrupt when the file ends (or a size points past it) first.
int FindChunk(AudioFileStream& stream, const char id[4], bool bigEndianSizes, uint32_t* size);
