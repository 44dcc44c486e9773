#include "plugin/controller/AudioFileReader.h"

#include <sched.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "plugin/controller/AiffHeader.h"
#include "plugin/controller/AudioFileLayout.h"
#include "plugin/controller/AudioFileStream.h"
#include "plugin/controller/DecodeSamples.h"
#include "plugin/controller/WavHeader.h"

namespace {

// Raw bytes are read and decoded through a work buffer of about this size,
// so a long file never needs a second copy of itself in memory.
constexpr size_t kPieceBytes = size_t{1} << 20;

int ReadHeader(AudioFileStream& stream, AudioFileLayout* layout) {
  char id[4];
  if (!stream.ReadId(id)) return kAudioFileUnknownFormat;
  if (std::memcmp(id, "RIFF", 4) == 0) return ReadWavHeader(stream, layout);
  if (std::memcmp(id, "FORM", 4) == 0) return ReadAiffHeader(stream, layout);
  return kAudioFileUnknownFormat;
}

}  // namespace

AudioFileReader::~AudioFileReader() { delete[] mSamples; }

void AudioFileReader::WaitUntilIdle() const {
  while (mBusy.load()) sched_yield();
}

void AudioFileReader::ReleaseSamples() {
  mValid = false;
  WaitUntilIdle();
  delete[] mSamples;
  mSamples = nullptr;
  mFrames = 0;
}

void AudioFileReader::Empty() {
  ReleaseSamples();
  mSampleRate = mChannelMask = 0;
  mBitsPerSample = mChannels = 0;
}

int AudioFileReader::OpenAudioFile(const char* path, uint32_t startFrame, uint32_t maxFrames, bool headerOnly) {
  if (!path || !*path) return kAudioFileCannotOpen;
  AudioFileStream stream;
  if (!stream.Open(path)) return kAudioFileCannotOpen;
  AudioFileLayout layout;
  if (const int r = ReadHeader(stream, &layout)) return r;

  uint32_t count = 0;
  if (startFrame < layout.frames) {
    count = layout.frames - startFrame;
    if (!stream.SeekTo(layout.dataOffset + int64_t{startFrame} * static_cast<int64_t>(layout.FrameBytes()))) {
      return kAudioFileCorrupt;
    }
  }
  if (maxFrames != 0 && maxFrames < count) count = maxFrames;

  const auto storeHeader = [&](uint32_t frames) {
    mFrames = frames;
    mBitsPerSample = layout.bitsPerSample;
    mChannels = layout.channels;
    mSampleRate = layout.sampleRate;
    mChannelMask = layout.channelMask;
  };
  if (count == 0 || headerOnly) {
    ReleaseSamples();
    storeHeader(count);
    return kAudioFileOk;
  }

  const size_t frameBytes = static_cast<size_t>(layout.FrameBytes());
  const size_t pieceFrames = std::max<size_t>(1, kPieceBytes / frameBytes);
  std::unique_ptr<unsigned char[]> raw(new (std::nothrow) unsigned char[pieceFrames * frameBytes]);
  if (!raw) return kAudioFileNoRawBuffer;

  ReleaseSamples();
  const size_t sampleCount = size_t{count} * layout.channels;
  mSamples = new (std::nothrow) float[sampleCount];
  if (!mSamples) {
    Empty();
    return kAudioFileNoSampleArray;
  }
  for (size_t done = 0; done < count;) {
    const size_t frames = std::min<size_t>(pieceFrames, count - done);
    if (!stream.Read(raw.get(), frames * frameBytes)) {
      // The header's promise was checked against the file size, so this is
      // a read error or a file cut short while we read it.
      Empty();
      return kAudioFileCorrupt;
    }
    DecodeSamples(raw.get(), frames, layout, mSamples, count, done);
    done += frames;
  }
  storeHeader(count);
  mValid = true;
  return kAudioFileOk;
}

float* AudioFileReader::GetChannelData(uint32_t channel, bool lock) {
  if (channel >= mChannels) {
    mBusy = false;
    return nullptr;
  }
  if (!(lock && mBusy.load())) {
    mBusy = lock;
    if (!mValid.load()) {
      mBusy = false;
      return nullptr;
    }
  }
  return mSamples ? mSamples + size_t{channel} * mFrames : nullptr;
}
