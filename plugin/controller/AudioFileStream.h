#pragma once

#include <cstdint>
#include <cstdio>

// A read-only file with checked reads of fixed-width fields in either byte
// order. Every read reports whether all its bytes arrived, so a header cut
// short is seen at the field where it ends. The file closes with the object.
class AudioFileStream {
 public:
  AudioFileStream() = default;
  ~AudioFileStream();
  AudioFileStream(const AudioFileStream&) = delete;
  AudioFileStream& operator=(const AudioFileStream&) = delete;

  bool Open(const char* path);
  void Close();

  bool Read(void* dst, size_t bytes);
  bool ReadId(char id[4]) { return Read(id, 4); }
  bool ReadU16LE(uint16_t* value);
  bool ReadU32LE(uint32_t* value);
  bool ReadU16BE(uint16_t* value);
  bool ReadU32BE(uint32_t* value);

  // Positions are absolute byte offsets; a position past the end of the
  // file is refused, so a walk over bogus chunk sizes ends here.
  bool SeekTo(int64_t position);
  bool Skip(int64_t bytes) { return bytes >= 0 && SeekTo(Tell() + bytes); }
  int64_t Tell() const;
  int64_t Size() const { return mSize; }

 private:
  FILE* mFile = nullptr;
  int64_t mSize = 0;
};
