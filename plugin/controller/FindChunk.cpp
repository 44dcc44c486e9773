#include "plugin/controller/FindChunk.h"

#include <cstring>

#include "plugin/controller/AudioFileResult.h"
#include "plugin/controller/AudioFileStream.h"

int FindChunk(AudioFileStream& stream, const char id[4], bool bigEndianSizes, uint32_t* size) {
  for (;;) {
    char found[4];
    uint32_t chunkSize = 0;
    if (!stream.ReadId(found)) return kAudioFileCorrupt;
    if (!(bigEndianSizes ? stream.ReadU32BE(&chunkSize) : stream.ReadU32LE(&chunkSize))) return kAudioFileCorrupt;
    if (std::memcmp(found, id, 4) == 0) {
      *size = chunkSize;
      return kAudioFileOk;
    }
    // A chunk of odd size is followed by one pad byte. 64-bit, so that a
    // size of 0xFFFFFFFF does not wrap to 0.
    if (!stream.Skip((int64_t{chunkSize} + 1) & ~int64_t{1})) return kAudioFileCorrupt;
  }
}
