#include "tools/StreamOutput.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "tools/Interruption.h"

namespace {

// How often a FIFO with no reader yet is tried again: opening it without
// blocking is the only way to wait for a reader and still hear a signal.
constexpr int kReaderRetryMilliseconds = 50;

// A reader that goes raises SIGPIPE, which would end the program without
// its one line: the write reports EPIPE instead while this lives.
class NoBrokenPipeSignal {
 public:
  NoBrokenPipeSignal() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    mSaved = ::sigaction(SIGPIPE, &ignore, &mOld) == 0;
  }
  ~NoBrokenPipeSignal() {
    if (mSaved) ::sigaction(SIGPIPE, &mOld, nullptr);
  }
  NoBrokenPipeSignal(const NoBrokenPipeSignal&) = delete;
  NoBrokenPipeSignal& operator=(const NoBrokenPipeSignal&) = delete;

 private:
  struct sigaction mOld {};
  bool mSaved = false;
};

int OpenForWriting(const std::string& path) {
  for (;;) {
    // Non-blocking: a FIFO with no reader fails with ENXIO at once instead
    // of holding the program in open().
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0) return fd;
    if (errno == EINTR) continue;
    if (errno != ENXIO) return -1;
    if (!PauseUnlessInterrupted(kReaderRetryMilliseconds)) {
      errno = EINTR;
      return -1;
    }
  }
}

bool WriteAll(int fd, const char* bytes, size_t count) {
  while (count > 0) {
    const ssize_t n = ::write(fd, bytes, count);
    if (n > 0) {
      bytes += n;
      count -= static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return false;
    if (n == 0) {
      errno = EIO;
      return false;
    }
    if (!WaitUntilReady(fd, POLLOUT)) {
      errno = EINTR;
      return false;
    }
  }
  return true;
}

}  // namespace

bool CopyToStream(int from, const std::string& path) {
  if (::lseek(from, 0, SEEK_SET) != 0) return false;
  NoBrokenPipeSignal noSignal;
  const int to = OpenForWriting(path);
  if (to < 0) return false;
  char buffer[1 << 16];
  bool ok = true;
  for (;;) {
    const ssize_t n = ::read(from, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    if (!WriteAll(to, buffer, static_cast<size_t>(n))) {
      ok = false;
      break;
    }
  }
  const int error = errno;
  // The close can report a failed write of the device's own.
  const bool closed = ::close(to) == 0;
  errno = ok ? errno : error;
  return ok && closed;
}
