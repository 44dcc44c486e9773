#include "plugin/controller/DecodeSamples.h"

#include <cstring>

#include "plugin/controller/AudioFileLayout.h"

namespace {

// The sample's bytes as an unsigned word, most significant first.
uint32_t Word(const unsigned char* p, int bytes, bool bigEndian) {
  uint32_t w = 0;
  for (int i = 0; i < bytes; ++i) w = (w << 8) | p[bigEndian ? i : bytes - 1 - i];
  return w;
}

float Decode(const unsigned char* p, const AudioFileLayout& layout) {
  const int bytes = layout.bytesPerSample;
  const uint32_t w = Word(p, bytes, layout.bigEndian);
  switch (layout.encoding) {
    case AudioFileLayout::kFloat32: {
      float f;
      std::memcpy(&f, &w, sizeof f);
      return f;
    }
    case AudioFileLayout::kUnsigned8:
      return static_cast<float>((static_cast<int>(w) - 128) * 0.0078125);
    case AudioFileLayout::kSignedInt:
    default: {
      // Sign-extend from the top bit of the sample's width.
      const int64_t half = int64_t{1} << (8 * bytes - 1);
      const int64_t value = static_cast<int64_t>(w ^ static_cast<uint32_t>(half)) - half;
      return static_cast<float>(static_cast<double>(value) / static_cast<double>(half));
    }
  }
}

}  // namespace

void DecodeSamples(const unsigned char* raw, size_t frames, const AudioFileLayout& layout, float* planar,
                   size_t channelStride, size_t firstFrame) {
  const size_t channels = layout.channels;
  const size_t bytes = layout.bytesPerSample;
  for (size_t i = 0; i < frames; ++i) {
    for (size_t c = 0; c < channels; ++c) {
      planar[c * channelStride + firstFrame + i] = Decode(raw + (i * channels + c) * bytes, layout);
    }
  }
}
