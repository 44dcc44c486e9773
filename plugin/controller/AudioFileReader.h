#pragma once

#include <atomic>
#include <cstdint>

#include "plugin/controller/AudioFileResult.h"

// Loads WAV (integer or float, plain or extensible), AIFF and AIFC
// ("NONE", "fl32", "FL32") files as 32-bit float samples, one contiguous
// block per channel.
//
// Long files need not be held whole: a caller that reads the file in pieces
// opens it once with headerOnly set to learn the frame count, then asks for
// one window after the other with startFrame and maxFrames. Each open
// re-reads the small header; the file is closed again before every return.
//
// The busy flag lets a consumer on another thread hold off a reload while it
// uses a channel block: a load clears `valid` first, then yields until busy
// is clear, and only then frees the samples.
class AudioFileReader {
 public:
  AudioFileReader() = default;
  ~AudioFileReader();
  AudioFileReader(const AudioFileReader&) = delete;
  AudioFileReader& operator=(const AudioFileReader&) = delete;

  // Returns 0 or a negative AudioFileResult. Frames from startFrame on are
  // loaded, at most maxFrames of them when maxFrames is non-zero. With
  // headerOnly (or when the window holds no frames) nothing is decoded: the
  // reader has no samples, and GetFrameCount gives the frames the window
  // would hold. Header errors leave the previous load as it was; a failure
  // while decoding leaves the reader empty.
  int OpenAudioFile(const char* path, uint32_t startFrame, uint32_t maxFrames, bool headerOnly);

  // The block of one channel (GetFrameCount floats), or null when the
  // channel does not exist or nothing is loaded. lock = true marks the
  // reader busy until a later call with lock = false.
  float* GetChannelData(uint32_t channel, bool lock);

  uint32_t GetFrameCount() const { return mFrames; }
  uint32_t GetSampleRate() const { return mSampleRate; }
  uint16_t GetBitsPerSample() const { return mBitsPerSample; }
  uint16_t GetChannelCount() const { return mChannels; }
  // The WAV extensible speaker mask; 0 for other files.
  uint32_t GetChannelMask() const { return mChannelMask; }

 private:
  void WaitUntilIdle() const;
  void ReleaseSamples();
  // Samples and every header field gone: what a failed decode leaves.
  void Empty();

  float* mSamples = nullptr;
  std::atomic<bool> mValid{false};
  std::atomic<bool> mBusy{false};
  uint32_t mFrames = 0;
  uint32_t mSampleRate = 0;
  uint32_t mChannelMask = 0;
  uint16_t mBitsPerSample = 0;
  uint16_t mChannels = 0;
};
