#include "tools/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "tools/OutputTarget.h"
#include "tools/StreamOutput.h"

namespace {

// The folder for a stream's bytes until they are written through.
std::string TemporaryFolder() {
  const char* folder = std::getenv("TMPDIR");
  return folder && *folder ? folder : "/tmp";
}

}  // namespace

AtomicFile::~AtomicFile() { Abandon(); }

bool AtomicFile::Open(const char* path) {
  Abandon();
  if (!path || !*path) {
    errno = ENOENT;
    return false;
  }
  // The temporary file would go beside a folder, or into one, and only the
  // final rename would fail.
  if (path[std::strlen(path) - 1] == '/') {
    errno = EISDIR;
    return false;
  }
  OutputTarget target;
  if (!FindOutputTarget(path, &target)) return false;
  bool opened = false;
  switch (target.kind) {
    case OutputTarget::Kind::kFolder: errno = EISDIR; return false;
    case OutputTarget::Kind::kOther: errno = EINVAL; return false;
    case OutputTarget::Kind::kStream: opened = OpenUnnamed(); break;
    case OutputTarget::Kind::kNewFile:
    case OutputTarget::Kind::kRegularFile: opened = OpenBeside(target.path); break;
  }
  if (!opened) return false;
  mPath = target.path;
  mFinished = false;
  mFailed = false;
  return true;
}

bool AtomicFile::OpenBeside(const std::string& target) {
  // O_EXCL on a fresh name: never write through a file or link someone else
  // put there. Mode 0666 lets the umask decide, as for any new file.
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    mTempPath = target + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(attempt);
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
  return true;
}

bool AtomicFile::OpenUnnamed() {
  const std::string folder = TemporaryFolder();
  int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd < 0) {
    // A file system without unnamed files: a named one, removed at once.
    std::string name = folder + "/brimlow-XXXXXX";
    fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return false;
    ::unlink(name.c_str());
  }
  // The writer's stream has a descriptor of its own; both share one offset.
  const int writing = ::dup(fd);
  mFile = writing >= 0 ? fdopen(writing, "wb") : nullptr;
  if (!mFile) {
    const int error = errno;
    if (writing >= 0) ::close(writing);
    ::close(fd);
    errno = error;
    return false;
  }
  mStreamCopy = fd;
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
  // A stream's copy is read back at once: it need not reach the disk.
  bool ok = !mFailed && std::fflush(mFile) == 0 && (IsStream() || fsync(fileno(mFile)) == 0);
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
  if (!mFinished) return false;
  if (IsStream()) {
    const bool written = CopyToStream(mStreamCopy, mPath);
    const int error = errno;
    Abandon();
    errno = error;
    return written;
  }
  if (mTempPath.empty()) return false;
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
  if (mStreamCopy >= 0) ::close(mStreamCopy);
  mStreamCopy = -1;
  mFinished = false;
}

bool AtomicFile::WriteWhole(const char* path, const void* bytes, size_t count) {
  AtomicFile file;
  return file.Open(path) && file.Write(bytes, count) && file.Finish() && file.Commit();
}
