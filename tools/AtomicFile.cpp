#include "tools/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

AtomicFile::~AtomicFile() { Abandon(); }

bool AtomicFile::Open(const char* path) {
  Abandon();
  if (!path || !*path) {
    errno = ENOENT;
    return false;
  }
  // The temporary file would go beside a folder, or into one, and only the
  // final rename would fail.
  struct stat info {};
  if (path[std::strlen(path) - 1] == '/' || (::stat(path, &info) == 0 && S_ISDIR(info.st_mode))) {
    errno = EISDIR;
    return false;
  }
  // O_EXCL on a fresh name: never write through a file or link someone else
  // put there. Mode 0666 lets the umask decide, as for any new file.
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    mTempPath = std::string(path) + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(attempt);
    fd = ::open(mTempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    mTempPath.clear();
    return false;
  }
  mFile = fdopen(fd, "wb");
  if (!mFile) {
    const int error = errno;
    ::close(fd);
    ::unlink(mTempPath.c_str());
    mTempPath.clear();
    errno = error;
    return false;
  }
  mPath = path;
  mFinished = false;
  mFailed = false;
  return true;
}

bool AtomicFile::Write(const void* bytes, size_t count) {
  if (!mFile || mFailed) return false;
  if (count == 0) return true;
  if (std::fwrite(bytes, 1, count, mFile) != count) mFailed = true;
  return !mFailed;
}

bool AtomicFile::Finish() {
  if (!mFile) return false;
  bool ok = !mFailed && std::fflush(mFile) == 0 && fsync(fileno(mFile)) == 0;
  const bool closed = std::fclose(mFile) == 0;
  mFile = nullptr;
  ok = ok && closed;
  if (!ok) {
    const int error = errno;
    Abandon();
    errno = error;
    return false;
  }
  mFinished = true;
  return true;
}

bool AtomicFile::Commit() {
  if (!mFinished || mTempPath.empty()) return false;
  if (std::rename(mTempPath.c_str(), mPath.c_str()) != 0) {
    const int error = errno;
    Abandon();
    errno = error;
    return false;
  }
  mTempPath.clear();
  mFinished = false;
  return true;
}

void AtomicFile::Abandon() {
  if (mFile) std::fclose(mFile);
  mFile = nullptr;
  if (!mTempPath.empty()) ::unlink(mTempPath.c_str());
  mTempPath.clear();
  mFinished = false;
}

bool AtomicFile::WriteWhole(const char* path, const void* bytes, size_t count) {
  AtomicFile file;
  return file.Open(path) && file.Write(bytes, count) && file.Finish() && file.Commit();
}
