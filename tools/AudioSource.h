#pragma once

#include <cstddef>
#include <cstdint>

// Audio handed to the render window by window: a file read in pieces or a
// signal made on the fly, so a long input is never held whole.
class AudioSource {
 public:
  virtual ~AudioSource() = default;
  virtual int Channels() const = 0;
  virtual uint32_t SampleRate() const = 0;
  virtual uint64_t Frames() const = 0;
  // The next window: *channels points at Channels() planar blocks valid
  // until the next call. Returns its frame count, 0 at the end. Throws
  // CommandError when the audio cannot be read.
  virtual size_t Next(const float* const** channels) = 0;
};
