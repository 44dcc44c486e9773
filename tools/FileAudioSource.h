#pragma once

#include <memory>
#include <string>
#include <vector>

#include "plugin/controller/AudioFileReader.h"
#include "tools/AudioSource.h"
#include "tools/InputFile.h"

// The most a pipe or FIFO gives an audio input: the largest file a RIFF or
// FORM header can describe, its 32-bit size and the 8 bytes before it.
constexpr uint64_t kMaxAudioStreamBytes = (uint64_t{1} << 32) + 7;

// A WAV, AIFF or AIFC file of one or two channels, read through the
// plug-in's own reader one window at a time.
class FileAudioSource : public AudioSource {
 public:
  static constexpr uint32_t kWindowFrames = 1 << 16;

  // Reads the header. Throws CommandError naming the file and what is wrong
  // with it (missing, not audio, corrupt, unsupported, more than two
  // channels).
  explicit FileAudioSource(const std::string& path);
  // The same for an input already opened (one read from a pipe, which can
  // then be read again from the start as often as asked).
  explicit FileAudioSource(std::shared_ptr<const InputFile> input);

  int Channels() const override { return mChannels; }
  uint32_t SampleRate() const override { return mSampleRate; }
  uint64_t Frames() const override { return mFrames; }
  size_t Next(const float* const** channels) override;

  // The reader's result code as a message ("file corrupt or truncated").
  static const char* DescribeResult(int result);

  // The input as the audio commands open it: "-" for standard input where
  // allowed, a pipe or FIFO read to its end.
  static std::shared_ptr<const InputFile> OpenInput(const std::string& name, DashInput dash = DashInput::kFileName);

 private:
  std::shared_ptr<const InputFile> mInput;
  std::string mPath;  // where the reader opens it
  std::string mName;  // for messages
  AudioFileReader mReader;
  std::vector<const float*> mChannelPtrs;
  uint32_t mFrames = 0;
  uint32_t mPosition = 0;
  uint32_t mSampleRate = 0;
  int mChannels = 0;
};
