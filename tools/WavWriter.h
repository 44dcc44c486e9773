#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "tools/AtomicFile.h"

// Writes a little-endian RIFF WAVE file: 16 or 24-bit integer PCM or 32-bit
// IEEE float, mono or stereo, from double samples. The samples go to a
// temporary file beside the target (an AtomicFile), which replaces the
// target only when every write, the flush and the close have succeeded; on
// any failure the temporary file is removed and the target is left as it was.
class WavWriter {
 public:
  WavWriter() = default;
  ~WavWriter();  // an unclosed writer abandons its file
  WavWriter(const WavWriter&) = delete;
  WavWriter& operator=(const WavWriter&) = delete;

  // bits: 16, 24 (integer) or 32 (float); channels: 1 or 2.
  bool Open(const char* path, int channels, uint32_t sampleRate, int bits);
  // channels[c][i] for i < frames. Integer formats clip to full scale;
  // NaN becomes 0. False when a write fails or the file would pass the
  // 4 GB limit of RIFF sizes; the writer then only waits to be closed.
  bool WriteFrames(const double* const* channels, size_t frames);
  // Completes the header and puts the file in place. False: nothing written.
  bool Close() { return Finish() && Commit(); }
  // Close in two steps, for a command that writes several files and puts
  // them in place only once all are complete: Finish completes the header
  // and closes the temporary file, Commit renames it over the target.
  bool Finish();
  bool Commit();
  // Removes the temporary file; the target is not touched.
  void Abandon();

  bool IsOpen() const { return mFile.IsOpen(); }
  uint64_t GetFramesWritten() const { return mFrames; }

  // Open, one WriteFrames and Close.
  static bool WriteFile(const char* path, const double* const* channels, int channelCount, size_t frames,
                        uint32_t sampleRate, int bits);

 private:
  bool Put(const void* bytes, size_t count);
  bool WriteHeader();

  AtomicFile mFile;
  std::vector<unsigned char> mBuffer;
  uint64_t mFrames = 0;
  uint64_t mDataBytes = 0;
  uint32_t mSampleRate = 0;
  int mChannels = 0;
  int mBits = 0;
  bool mFailed = false;
};
