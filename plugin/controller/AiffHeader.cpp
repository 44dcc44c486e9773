#include "plugin/controller/AiffHeader.h"

#include <cfloat>
#include <cmath>
#include <cstring>

#include "plugin/controller/AudioFileLayout.h"
#include "plugin/controller/AudioFileResult.h"
#include "plugin/controller/AudioFileStream.h"
#include "plugin/controller/FindChunk.h"

namespace {

// "COMM" holds channels (2), frames (4), bits (2) and the rate (10); AIFC
// adds the compression type (4) and a name we do not read.
constexpr uint32_t kCommSize = 18;
constexpr uint32_t kCommAifcSize = kCommSize + 4;
constexpr int64_t kFirstChunk = 12;

}  // namespace

double ReadExtendedRate(const unsigned char bytes[10]) {
  const int exponent = ((bytes[0] & 0x7F) << 8) | bytes[1];
  uint32_t high = 0, low = 0;
  for (int i = 0; i < 4; ++i) {
    high = (high << 8) | bytes[2 + i];
    low = (low << 8) | bytes[6 + i];
  }
  double value = DBL_MAX;
  if (exponent < 0x7FFF) {
    // The mantissa's integer bit is bit 63: 16414 = 16383 + 31 places the
    // high word, 16446 = 16383 + 63 the low one.
    value = std::ldexp(static_cast<double>(high), exponent - 16414) +
            std::ldexp(static_cast<double>(low), exponent - 16446);
  }
  return (bytes[0] & 0x80) ? -value : value;
}

int ReadAiffHeader(AudioFileStream& stream, AudioFileLayout* layout) {
  char form[4];
  if (!stream.Skip(4) || !stream.ReadId(form)) return kAudioFileCorrupt;
  const bool aifc = std::memcmp(form, "AIFC", 4) == 0;
  if (!aifc && std::memcmp(form, "AIFF", 4) != 0) return kAudioFileUnknownFormat;

  uint32_t commSize = 0;
  if (const int r = FindChunk(stream, "COMM", true, &commSize)) return r;
  if (commSize < (aifc ? kCommAifcSize : kCommSize)) return kAudioFileCorrupt;
  uint16_t channels = 0, bits = 0;
  uint32_t frames = 0;
  unsigned char rateBytes[10];
  if (!stream.ReadU16BE(&channels) || !stream.ReadU32BE(&frames) || !stream.ReadU16BE(&bits) ||
      !stream.Read(rateBytes, sizeof rateBytes)) {
    return kAudioFileCorrupt;
  }
  bool isFloat = false;
  if (aifc) {
    // The compression type follows the rate directly.
    char compression[4];
    if (!stream.ReadId(compression)) return kAudioFileCorrupt;
    if (std::memcmp(compression, "fl32", 4) == 0 || std::memcmp(compression, "FL32", 4) == 0) {
      isFloat = true;
    } else if (std::memcmp(compression, "NONE", 4) != 0) {
      return kAudioFileUnsupported;
    }
  }
  if (bits == 0 || channels == 0) return kAudioFileCorrupt;
  // Float words are 4 bytes whatever the bits field says; trusting the field
  // would step through the data at the wrong stride.
  const uint16_t bytes = isFloat ? 4 : BytesForBits(bits);
  if (bytes > 4) return kAudioFileUnsupported;
  const double rate = ReadExtendedRate(rateBytes);
  // Also refuses NaN, which fails both comparisons.
  if (!(rate >= kAudioFileMinSampleRate && rate <= kAudioFileMaxSampleRate)) return kAudioFileUnsupported;

  layout->encoding = isFloat ? AudioFileLayout::kFloat32 : AudioFileLayout::kSignedInt;
  layout->bigEndian = true;
  layout->bytesPerSample = bytes;
  layout->bitsPerSample = bits;
  layout->channels = channels;
  // Rounded to the nearest integer, halves up.
  layout->sampleRate = static_cast<uint32_t>(rate + 0.5);
  layout->channelMask = 0;
  layout->frames = frames;
  layout->dataOffset = 0;
  if (frames == 0) return kAudioFileOk;

  uint32_t ssndSize = 0, offset = 0;
  if (!stream.SeekTo(kFirstChunk)) return kAudioFileCorrupt;
  if (const int r = FindChunk(stream, "SSND", true, &ssndSize)) return r;
  // The data starts after the block-size field and `offset` bytes of padding.
  if (!stream.ReadU32BE(&offset) || !stream.Skip(4 + int64_t{offset})) return kAudioFileCorrupt;
  layout->dataOffset = stream.Tell();
  if (layout->dataOffset < 0 ||
      uint64_t{frames} * layout->FrameBytes() > static_cast<uint64_t>(stream.Size() - layout->dataOffset)) {
    return kAudioFileCorrupt;
  }
  return kAudioFileOk;
}
