#include "tools/FileAudioSource.h"

#include <algorithm>

#include "plugin/controller/AudioFileResult.h"
#include "tools/CommandError.h"

const char* FileAudioSource::DescribeResult(int result) {
  switch (result) {
    case kAudioFileOk: return "read";
    case kAudioFileCannotOpen: return "cannot open the file";
    case kAudioFileCorrupt: return "file corrupt or truncated";
    case kAudioFileUnknownFormat: return "not a WAV, AIFF or AIFC file";
    case kAudioFileUnsupported: return "unsupported sample format or rate";
    default: return "not enough memory to read the file";
  }
}

std::shared_ptr<const InputFile> FileAudioSource::OpenInput(const std::string& name, DashInput dash) {
  return std::make_shared<const InputFile>(name, kMaxAudioStreamBytes, dash);
}

FileAudioSource::FileAudioSource(const std::string& path) : FileAudioSource(OpenInput(path)) {}

FileAudioSource::FileAudioSource(std::shared_ptr<const InputFile> input)
    : mInput(std::move(input)), mPath(mInput->ReadPath()), mName(mInput->Name()) {
  const int result = mReader.OpenAudioFile(mPath.c_str(), 0, 0, true);
  if (result != kAudioFileOk) throw CommandError(mName + ": " + DescribeResult(result));
  mChannels = mReader.GetChannelCount();
  mSampleRate = mReader.GetSampleRate();
  mFrames = mReader.GetFrameCount();
  if (mChannels < 1 || mChannels > 2) {
    throw CommandError(mName + ": " + std::to_string(mChannels) + " channels; only mono and stereo files are processed");
  }
  if (mSampleRate == 0) throw CommandError(mName + ": sample rate 0");
  mChannelPtrs.assign(static_cast<size_t>(mChannels), nullptr);
}

size_t FileAudioSource::Next(const float* const** channels) {
  if (mPosition >= mFrames) return 0;
  const uint32_t want = std::min(kWindowFrames, mFrames - mPosition);
  const int result = mReader.OpenAudioFile(mPath.c_str(), mPosition, want, false);
  // The file may have changed under us since the header was read.
  if (result != kAudioFileOk) throw CommandError(mName + ": " + DescribeResult(result));
  if (mReader.GetFrameCount() != want || mReader.GetChannelCount() != mChannels) {
    throw CommandError(mName + ": the file changed while it was read");
  }
  for (int c = 0; c < mChannels; ++c) {
    mChannelPtrs[static_cast<size_t>(c)] = mReader.GetChannelData(static_cast<uint32_t>(c), false);
    if (!mChannelPtrs[static_cast<size_t>(c)]) throw CommandError(mName + ": " + DescribeResult(kAudioFileCorrupt));
  }
  mPosition += want;
  *channels = mChannelPtrs.data();
  return want;
}
