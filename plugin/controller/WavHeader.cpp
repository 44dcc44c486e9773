#include "plugin/controller/WavHeader.h"

#include <cstring>

#include "plugin/controller/AudioFileLayout.h"
#include "plugin/controller/AudioFileResult.h"
#include "plugin/controller/AudioFileStream.h"
#include "plugin/controller/FindChunk.h"

namespace {

constexpr uint16_t kTagPcm = 1;
constexpr uint16_t kTagFloat = 3;
constexpr uint16_t kTagExtensible = 0xFFFE;
// The plain fields of "fmt ", and with the extensible ones we read (extension
// size, valid bits, channel mask, the sub-format's first two bytes).
constexpr uint32_t kFmtSize = 16;
constexpr uint32_t kFmtExtensibleSize = kFmtSize + 10;
// Chunks start after "RIFF", its size and "WAVE".
constexpr int64_t kFirstChunk = 12;

}  // namespace

int ReadWavHeader(AudioFileStream& stream, AudioFileLayout* layout) {
  char form[4];
  if (!stream.Skip(4) || !stream.ReadId(form)) return kAudioFileCorrupt;
  if (std::memcmp(form, "WAVE", 4) != 0) return kAudioFileUnknownFormat;

  uint32_t fmtSize = 0;
  if (const int r = FindChunk(stream, "fmt ", false, &fmtSize)) return r;
  if (fmtSize < kFmtSize) return kAudioFileCorrupt;
  uint16_t tag = 0, channels = 0, blockAlign = 0, bits = 0;
  uint32_t rate = 0, byteRate = 0, channelMask = 0;
  if (!stream.ReadU16LE(&tag) || !stream.ReadU16LE(&channels) || !stream.ReadU32LE(&rate) ||
      !stream.ReadU32LE(&byteRate) || !stream.ReadU16LE(&blockAlign) || !stream.ReadU16LE(&bits)) {
    return kAudioFileCorrupt;
  }
  if (tag == kTagExtensible) {
    // The sub-format GUID begins with the format tag it stands for.
    if (fmtSize < kFmtExtensibleSize || !stream.Skip(4) || !stream.ReadU32LE(&channelMask) || !stream.ReadU16LE(&tag)) {
      return kAudioFileCorrupt;
    }
  }
  if (tag != kTagPcm && tag != kTagFloat) return kAudioFileUnsupported;
  if (bits == 0 || channels == 0) return kAudioFileCorrupt;
  const uint16_t bytes = BytesForBits(bits);
  if (uint32_t{bytes} * channels != blockAlign) return kAudioFileUnsupported;
  if (bytes > 4 || (tag == kTagFloat && bytes != 4)) return kAudioFileUnsupported;
  if (rate < kAudioFileMinSampleRate || rate > kAudioFileMaxSampleRate) return kAudioFileUnsupported;

  // "data" may come before "fmt ", so its search starts over.
  uint32_t dataSize = 0;
  if (!stream.SeekTo(kFirstChunk)) return kAudioFileCorrupt;
  if (const int r = FindChunk(stream, "data", false, &dataSize)) return r;

  layout->encoding = tag == kTagFloat ? AudioFileLayout::kFloat32
                     : bytes == 1     ? AudioFileLayout::kUnsigned8
                                      : AudioFileLayout::kSignedInt;
  layout->bigEndian = false;
  layout->bytesPerSample = bytes;
  layout->bitsPerSample = bits;
  layout->channels = channels;
  layout->sampleRate = rate;
  layout->channelMask = channelMask;
  layout->frames = static_cast<uint32_t>(dataSize / layout->FrameBytes());
  layout->dataOffset = stream.Tell();
  // A size beyond the end of the file is a broken header; refusing it here
  // also keeps a tiny file from asking for gigabytes of samples.
  if (layout->dataOffset < 0 ||
      layout->frames * layout->FrameBytes() > static_cast<uint64_t>(stream.Size() - layout->dataOffset)) {
    return kAudioFileCorrupt;
  }
  return kAudioFileOk;
}
