#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// A file that appears at its path whole or not at all. The bytes go to a
// fresh temporary file beside the target (same folder, so the final rename
// cannot cross file systems); Finish flushes and closes it, Commit renames
// it over the target. Anything short of a successful Commit, the destructor
// included, removes the temporary file and leaves the target as it was.
//
// A symbolic link is never replaced: the file it leads to is. A target
// that is a character device or a FIFO (/dev/null, a pipe's name) is never
// replaced either: the bytes go to an unnamed temporary file, and Commit
// opens the target only then and writes them through. A stream cannot be
// taken back, so a failure part of the way through leaves what was written.
//
// Finish and Commit are separate so that a command writing several files
// can finish all of them before it puts any in place.
class AtomicFile {
 public:
  AtomicFile() = default;
  ~AtomicFile();  // abandons an uncommitted file
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Creates the temporary file. False (with errno set by the failing call)
  // when the folder is missing or not writable; EISDIR when the path names
  // a folder or ends in "/"; EINVAL for a block device or a socket.
  bool Open(const char* path);
  // The open temporary file, for writers that seek (a header written last).
  FILE* File() const { return mFile; }
  bool Write(const void* bytes, size_t count);
  // Flushes to disk and closes; the close is checked, since it can report
  // the last failed write. The temporary file stays until Commit or Abandon.
  bool Finish();
  // Puts the finished file in place, or writes it through to the stream
  // (EINTR when a signal interrupted the wait for the stream).
  bool Commit();
  void Abandon();

  bool IsOpen() const { return mFile != nullptr; }
  // Whether the target is written through (a device or a FIFO).
  bool IsStream() const { return mStreamCopy >= 0; }

  // Open, Write, Finish and Commit in one.
  static bool WriteWhole(const char* path, const void* bytes, size_t count);

 private:
  bool OpenBeside(const std::string& target);
  bool OpenUnnamed();

  FILE* mFile = nullptr;
  std::string mPath;      // where the file goes: links followed, or the stream's path
  std::string mTempPath;  // the temporary file beside it
  int mStreamCopy = -1;   // the unnamed temporary file of a stream, read at Commit
  bool mFinished = false;
  bool mFailed = false;
};
