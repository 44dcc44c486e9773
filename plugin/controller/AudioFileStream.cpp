#include "plugin/controller/AudioFileStream.h"

#include <sys/stat.h>
#include <sys/types.h>

AudioFileStream::~AudioFileStream() { Close(); }

bool AudioFileStream::Open(const char* path) {
  Close();
  mFile = std::fopen(path, "rb");
  if (!mFile) return false;
  // A folder opens with "rb" on Linux; only plain files have the size the
  // header checks rely on.
  struct stat info;
  if (fstat(fileno(mFile), &info) != 0 || !S_ISREG(info.st_mode)) {
    Close();
    return false;
  }
  if (fseeko(mFile, 0, SEEK_END) != 0 || (mSize = ftello(mFile)) < 0 || fseeko(mFile, 0, SEEK_SET) != 0) {
    Close();
    return false;
  }
  return true;
}

void AudioFileStream::Close() {
  // Read-only: nothing can be lost at close, so its result does not matter.
  if (mFile) std::fclose(mFile);
  mFile = nullptr;
  mSize = 0;
}

bool AudioFileStream::Read(void* dst, size_t bytes) { return mFile && std::fread(dst, 1, bytes, mFile) == bytes; }

bool AudioFileStream::ReadU16LE(uint16_t* value) {
  unsigned char b[2];
  if (!Read(b, 2)) return false;
  *value = static_cast<uint16_t>(b[0] | (b[1] << 8));
  return true;
}

bool AudioFileStream::ReadU32LE(uint32_t* value) {
  unsigned char b[4];
  if (!Read(b, 4)) return false;
  *value = uint32_t{b[0]} | (uint32_t{b[1]} << 8) | (uint32_t{b[2]} << 16) | (uint32_t{b[3]} << 24);
  return true;
}

bool AudioFileStream::ReadU16BE(uint16_t* value) {
  unsigned char b[2];
  if (!Read(b, 2)) return false;
  *value = static_cast<uint16_t>((b[0] << 8) | b[1]);
  return true;
}

bool AudioFileStream::ReadU32BE(uint32_t* value) {
  unsigned char b[4];
  if (!Read(b, 4)) return false;
  *value = (uint32_t{b[0]} << 24) | (uint32_t{b[1]} << 16) | (uint32_t{b[2]} << 8) | uint32_t{b[3]};
  return true;
}

bool AudioFileStream::SeekTo(int64_t position) {
  if (!mFile || position < 0 || position > mSize) return false;
  return fseeko(mFile, static_cast<off_t>(position), SEEK_SET) == 0;
}

int64_t AudioFileStream::Tell() const { return mFile ? static_cast<int64_t>(ftello(mFile)) : -1; }
