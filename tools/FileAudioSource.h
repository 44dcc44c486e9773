#pragma once

#include <string>
#include <vector>

#include "plugin/controller/AudioFileReader.h"
#include "tools/AudioSource.h"

// A WAV, AIFF or AIFC file of one or two channels, read through the
// plug-in's own reader one window at a time.
class FileAudioSource : public AudioSource {
 public:
  static constexpr uint32_t kWindowFrames = 1 << 16;

  // Reads the header. Throws CommandError naming the file and what is wrong
  // with it (missing, not audio, corrupt, unsupported, more than two
  // channels).
  explicit FileAudioSource(const std::string& path);

  int Channels() const override { return mChannels; }
  uint32_t SampleRate() const override { return mSampleRate; }
  uint64_t Frames() const override { return mFrames; }
  size_t Next(const float* const** channels) override;

  // The reader's result code as a message ("file corrupt or truncated").
  static const char* DescribeResult(int result);

 private:
  std::string mPath;
  AudioFileReader mReader;
  std::vector<const float*> mChannelPtrs;
  uint32_t mFrames = 0;
  uint32_t mPosition = 0;
  uint32_t mSampleRate = 0;
  int mChannels = 0;
};
