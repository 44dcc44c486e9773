#include "plugin/controller/DecodeSamples.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "plugin/controller/AudioFileLayout.h"

namespace {

// The conversion one byte at a time through the sample's word, as the
// format descriptions define it: the plain form the decoder's per-format
// loops must equal.
float ReferenceDecode(const unsigned char* p, const AudioFileLayout& layout) {
  const int bytes = layout.bytesPerSample;
  uint32_t w = 0;
  for (int i = 0; i < bytes; ++i) w = (w << 8) | p[layout.bigEndian ? i : bytes - 1 - i];
  if (layout.encoding == AudioFileLayout::kFloat32) {
    float f;
    std::memcpy(&f, &w, sizeof f);
    return f;
  }
  if (layout.encoding == AudioFileLayout::kUnsigned8) return static_cast<float>((static_cast<int>(w) - 128) / 128.0);
  const int64_t half = int64_t{1} << (8 * bytes - 1);
  const int64_t value = static_cast<int64_t>(w ^ static_cast<uint32_t>(half)) - half;
  return static_cast<float>(static_cast<double>(value) / static_cast<double>(half));
}

uint32_t Bits(float f) {
  uint32_t b;
  std::memcpy(&b, &f, sizeof b);
  return b;
}

struct LayoutCase {
  AudioFileLayout::Encoding encoding;
  int bytes;
  bool bigEndian;
};

// Every layout the WAV and AIFF readers produce, on random bytes (every bit
// pattern of a float included: NaN payloads, denormals, infinities), one and
// two channels, into a window of a larger planar buffer.
TEST(DecodeSamples, EveryLayoutEqualsTheByteByByteConversion) {
  const LayoutCase cases[] = {
      {AudioFileLayout::kUnsigned8, 1, false}, {AudioFileLayout::kSignedInt, 2, false},
      {AudioFileLayout::kSignedInt, 3, false}, {AudioFileLayout::kSignedInt, 4, false},
      {AudioFileLayout::kFloat32, 4, false},   {AudioFileLayout::kSignedInt, 1, true},
      {AudioFileLayout::kSignedInt, 2, true},  {AudioFileLayout::kSignedInt, 3, true},
      {AudioFileLayout::kSignedInt, 4, true},  {AudioFileLayout::kFloat32, 4, true},
  };
  std::mt19937 rng(9);
  for (const LayoutCase& c : cases) {
    for (uint16_t channels : {uint16_t{1}, uint16_t{2}}) {
      AudioFileLayout layout;
      layout.encoding = c.encoding;
      layout.bytesPerSample = static_cast<uint16_t>(c.bytes);
      layout.bigEndian = c.bigEndian;
      layout.channels = channels;
      const size_t frames = 1000, stride = 1500, first = 300;
      std::vector<unsigned char> raw(frames * channels * c.bytes);
      for (unsigned char& b : raw) b = static_cast<unsigned char>(rng());
      std::vector<float> planar(stride * channels, -7.0f);
      DecodeSamples(raw.data(), frames, layout, planar.data(), stride, first);
      const std::string where = std::to_string(c.bytes) + " bytes, encoding " + std::to_string(c.encoding) +
                                (c.bigEndian ? ", big-endian" : ", little-endian");
      for (size_t ch = 0; ch < channels; ++ch) {
        for (size_t i = 0; i < stride; ++i) {
          const float got = planar[ch * stride + i];
          if (i < first || i >= first + frames) {
            ASSERT_EQ(got, -7.0f) << where << ": written outside the window";
            continue;
          }
          const float want = ReferenceDecode(raw.data() + ((i - first) * channels + ch) * c.bytes, layout);
          ASSERT_EQ(Bits(got), Bits(want)) << where << ", channel " << ch << ", frame " << i - first;
        }
      }
    }
  }
}

}  // namespace
