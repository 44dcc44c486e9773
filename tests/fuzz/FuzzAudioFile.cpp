// The audio-file reader (WAV, AIFF, AIFC): the input as a file, loaded
// whole, by header only and as a window that must agree with the whole load.

#include <cstdint>
#include <cstring>
#include <vector>

#include "plugin/controller/AudioFileLayout.h"
#include "plugin/controller/AudioFileReader.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/fuzz/FuzzTempFile.h"

namespace {

bool KnownResult(int r) {
  switch (r) {
    case kAudioFileOk:
    case kAudioFileCorrupt:
    case kAudioFileUnknownFormat:
    case kAudioFileUnsupported:
      return true;
    default:
      // Cannot-open and the two allocation failures have no cause in a
      // small readable file.
      return false;
  }
}

// Every sample of every channel, read so that the sanitizer sees a block
// that is too short.
std::vector<float> Samples(AudioFileReader& reader) {
  std::vector<float> all;
  for (uint32_t c = 0; c < reader.GetChannelCount(); ++c) {
    const float* block = reader.GetChannelData(c, false);
    FUZZ_CHECK(block || reader.GetFrameCount() == 0);
    if (block) all.insert(all.end(), block, block + reader.GetFrameCount());
  }
  return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  const FuzzTempFile file(data, size, ".wav");
  if (!file.Ok()) std::abort();  // a full disk, not a finding; stop rather than fuzz nothing

  AudioFileReader whole;
  const int r = whole.OpenAudioFile(file.Path().c_str(), 0, 0, false);
  FUZZ_CHECK(KnownResult(r));
  if (r != kAudioFileOk) return 0;
  const uint32_t frames = whole.GetFrameCount();
  const uint32_t channels = whole.GetChannelCount();
  FUZZ_CHECK(channels > 0 && whole.GetBitsPerSample() > 0);
  FUZZ_CHECK(whole.GetSampleRate() >= kAudioFileMinSampleRate && whole.GetSampleRate() <= kAudioFileMaxSampleRate);
  const std::vector<float> all = Samples(whole);
  FUZZ_CHECK(all.size() == size_t{frames} * channels);
  // Every frame decoded came out of the file: the header's promise was
  // checked against its size.
  FUZZ_CHECK(uint64_t{frames} * channels <= size);

  AudioFileReader header;
  FUZZ_CHECK(header.OpenAudioFile(file.Path().c_str(), 0, 0, true) == kAudioFileOk);
  FUZZ_CHECK(header.GetFrameCount() == frames && header.GetChannelCount() == channels);
  FUZZ_CHECK(header.GetChannelData(0, false) == nullptr);

  // Frames 1 and 2 alone: the same bits as in the whole load.
  AudioFileReader window;
  FUZZ_CHECK(window.OpenAudioFile(file.Path().c_str(), 1, 2, false) == kAudioFileOk);
  const uint32_t expected = frames > 1 ? (frames - 1 < 2 ? frames - 1 : 2) : 0;
  FUZZ_CHECK(window.GetFrameCount() == expected);
  for (uint32_t c = 0; c < channels && expected > 0; ++c) {
    const float* block = window.GetChannelData(c, false);
    FUZZ_CHECK(block && std::memcmp(block, &all[size_t{c} * frames + 1], expected * sizeof(float)) == 0);
  }
  return 0;
}
