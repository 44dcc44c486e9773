#include "plugin/controller/DecodeSamples.h"

#include <cstring>

#include "plugin/controller/AudioFileLayout.h"

namespace {

// The sample's bytes as an unsigned word, most significant first. With the
// width and the byte order constants, the compiler makes this one load (and
// a byte swap for big-endian files).
template <int Bytes, bool BigEndian>
inline uint32_t Word(const unsigned char* p) {
  // Byte k of the word, counted from the most significant.
  const auto b = [p](int k) { return uint32_t{p[BigEndian ? k : Bytes - 1 - k]}; };
  if constexpr (Bytes == 1) return b(0);
  if constexpr (Bytes == 2) return b(0) << 8 | b(1);
  if constexpr (Bytes == 3) return b(0) << 16 | b(1) << 8 | b(2);
  return b(0) << 24 | b(1) << 16 | b(2) << 8 | b(3);
}

template <bool BigEndian>
struct Float32 {
  static constexpr int kBytes = 4;
  static float Decode(const unsigned char* p) {
    const uint32_t w = Word<4, BigEndian>(p);
    float f;
    std::memcpy(&f, &w, sizeof f);
    return f;
  }
};

struct Unsigned8 {
  static constexpr int kBytes = 1;
  static float Decode(const unsigned char* p) { return static_cast<float>((static_cast<int>(p[0]) - 128) * 0.0078125); }
};

template <int Bytes, bool BigEndian>
struct SignedInt {
  static constexpr int kBytes = Bytes;
  static float Decode(const unsigned char* p) {
    // Sign-extend from the top bit of the sample's width.
    constexpr int64_t kHalf = int64_t{1} << (8 * Bytes - 1);
    const uint32_t w = Word<Bytes, BigEndian>(p);
    const int64_t value = static_cast<int64_t>(w ^ static_cast<uint32_t>(kHalf)) - kHalf;
    return static_cast<float>(static_cast<double>(value) / static_cast<double>(kHalf));
  }
};

// Any layout, a byte at a time: for combinations the header readers never
// produce, so that a new one decodes (slowly) instead of leaving the floats
// unwritten.
float DecodeAny(const unsigned char* p, const AudioFileLayout& layout) {
  const int bytes = layout.bytesPerSample;
  uint32_t w = 0;
  for (int i = 0; i < bytes; ++i) w = (w << 8) | p[layout.bigEndian ? i : bytes - 1 - i];
  switch (layout.encoding) {
    case AudioFileLayout::kFloat32: {
      float f;
      std::memcpy(&f, &w, sizeof f);
      return f;
    }
    case AudioFileLayout::kUnsigned8: return static_cast<float>((static_cast<int>(w) - 128) * 0.0078125);
    case AudioFileLayout::kSignedInt:
    default: {
      const int64_t half = int64_t{1} << (8 * bytes - 1);
      const int64_t value = static_cast<int64_t>(w ^ static_cast<uint32_t>(half)) - half;
      return static_cast<float>(static_cast<double>(value) / static_cast<double>(half));
    }
  }
}

void SpreadAny(const unsigned char* raw, size_t frames, const AudioFileLayout& layout, float* planar,
               size_t channelStride, size_t firstFrame) {
  const size_t channels = layout.channels;
  const size_t bytes = layout.bytesPerSample;
  for (size_t i = 0; i < frames; ++i) {
    for (size_t c = 0; c < channels; ++c) {
      planar[c * channelStride + firstFrame + i] = DecodeAny(raw + (i * channels + c) * bytes, layout);
    }
  }
}

// Channel by channel: one format's conversion, the stride a constant.
template <class Format>
void Spread(const unsigned char* raw, size_t frames, size_t channels, float* planar, size_t channelStride,
            size_t firstFrame) {
  const size_t step = channels * Format::kBytes;
  for (size_t c = 0; c < channels; ++c) {
    const unsigned char* p = raw + c * Format::kBytes;
    float* out = planar + c * channelStride + firstFrame;
    for (size_t i = 0; i < frames; ++i, p += step) out[i] = Format::Decode(p);
  }
}

template <bool BigEndian>
bool SpreadSigned(int bytes, const unsigned char* raw, size_t frames, size_t channels, float* planar,
                  size_t channelStride, size_t firstFrame) {
  switch (bytes) {
    case 1: Spread<SignedInt<1, BigEndian>>(raw, frames, channels, planar, channelStride, firstFrame); return true;
    case 2: Spread<SignedInt<2, BigEndian>>(raw, frames, channels, planar, channelStride, firstFrame); return true;
    case 3: Spread<SignedInt<3, BigEndian>>(raw, frames, channels, planar, channelStride, firstFrame); return true;
    case 4: Spread<SignedInt<4, BigEndian>>(raw, frames, channels, planar, channelStride, firstFrame); return true;
    default: return false;
  }
}

}  // namespace

void DecodeSamples(const unsigned char* raw, size_t frames, const AudioFileLayout& layout, float* planar,
                   size_t channelStride, size_t firstFrame) {
  const size_t channels = layout.channels;
  const int bytes = layout.bytesPerSample;
  bool done = false;
  if (layout.encoding == AudioFileLayout::kFloat32 && bytes == 4) {
    if (layout.bigEndian) {
      Spread<Float32<true>>(raw, frames, channels, planar, channelStride, firstFrame);
    } else {
      Spread<Float32<false>>(raw, frames, channels, planar, channelStride, firstFrame);
    }
    done = true;
  } else if (layout.encoding == AudioFileLayout::kUnsigned8 && bytes == 1) {
    Spread<Unsigned8>(raw, frames, channels, planar, channelStride, firstFrame);
    done = true;
  } else if (layout.encoding == AudioFileLayout::kSignedInt) {
    done = layout.bigEndian ? SpreadSigned<true>(bytes, raw, frames, channels, planar, channelStride, firstFrame)
                            : SpreadSigned<false>(bytes, raw, frames, channels, planar, channelStride, firstFrame);
  }
  if (!done) SpreadAny(raw, frames, layout, planar, channelStride, firstFrame);
}
