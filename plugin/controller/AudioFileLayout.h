#pragma once

#include <cstdint>

#include "plugin/controller/SampleRateLimits.h"

// How the sample data of an opened file is laid out, as the WAV or AIFF
// header describes it. Filled by the header readers, consumed by the
// decoder and the reader.
struct AudioFileLayout {
  enum Encoding {
    kUnsigned8,  // WAV 8-bit: offset binary around 128
    kSignedInt,  // two's complement, 1 to 4 bytes
    kFloat32,    // IEEE 754 single precision
  };

  Encoding encoding = kSignedInt;
  bool bigEndian = false;
  uint16_t bytesPerSample = 0;
  uint16_t bitsPerSample = 0;  // as the header says; may be below 8 x bytes
  uint16_t channels = 0;
  uint32_t sampleRate = 0;   // Hz
  uint32_t channelMask = 0;  // WAV extensible speaker mask, else 0
  uint32_t frames = 0;       // frames the header promises
  int64_t dataOffset = 0;    // file position of the first frame

  uint64_t FrameBytes() const { return uint64_t{bytesPerSample} * channels; }
};

// Sample rates outside this range are refused as unsupported: a rate of 0
// would divide by zero in the analysers, and an absurd AIFF extended value
// cannot even be converted to an integer.
constexpr double kAudioFileMinSampleRate = 1000.0;
constexpr double kAudioFileMaxSampleRate = kMaxSampleRate;

// Bytes per sample for a bits-per-sample field: (bits - 1) / 8 + 1.
inline uint16_t BytesForBits(uint16_t bits) { return static_cast<uint16_t>((bits - 1) / 8 + 1); }
