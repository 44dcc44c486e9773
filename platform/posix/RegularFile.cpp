#include "platform/posix/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

namespace {

// Reads to the end; false on an error or once more than maxBytes came.
bool ReadAtMost(int fd, size_t maxBytes, std::string* bytes) {
  char block[16384];
  for (;;) {
    const ssize_t got = read(fd, block, sizeof block);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    if (static_cast<size_t>(got) > maxBytes - bytes->size()) return false;
    bytes->append(block, static_cast<size_t>(got));
  }
}

}  // namespace

bool ReadRegularFile(const std::string& path, size_t maxBytes, std::string* bytes) {
  bytes->clear();
  // A device is never opened; the open cannot wait for the writer of a FIFO
  // that took the file's place since.
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return false;
  // The size is checked before anything is read; a file that grows past
  // the limit while it is read is refused all the same.
  const bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                  static_cast<unsigned long long>(info.st_size) <= maxBytes && ReadAtMost(fd, maxBytes, bytes);
  close(fd);
  if (!ok) bytes->clear();
  return ok;
}

}  // namespace platform
