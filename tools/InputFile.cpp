#include "tools/InputFile.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>

#include "tools/CommandError.h"
#include "tools/Interruption.h"

namespace {

bool IsStandardInput(const std::string& name, DashInput dash) {
  return dash == DashInput::kStandardInput && name == "-";
}

std::string Reason(int error) { return std::string(" (") + std::strerror(error) + ")"; }

// Closes a descriptor when it goes.
class Descriptor {
 public:
  explicit Descriptor(int fd) : mFd(fd) {}
  ~Descriptor() {
    if (mFd >= 0) ::close(mFd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return mFd; }

 private:
  int mFd;
};

// Opened without blocking: a FIFO with no writer yet would hold open()
// where no signal can end it.
int OpenInput(const std::string& name, const std::string& shown, DashInput dash) {
  const int fd = IsStandardInput(name, dash)
                     ? ::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0)
                     : ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) throw CommandError(shown + ": cannot open" + Reason(errno));
  return fd;
}

// Reads a stream to its end, handing each piece to `take`. One read per
// wake-up: standard input may be in blocking mode, and a second read
// could wait where no signal ends it.
void ReadStream(int fd, const std::string& shown, uint64_t maxBytes,
                const std::function<void(const char*, size_t)>& take) {
  uint64_t total = 0;
  char buffer[1 << 16];
  for (;;) {
    if (!WaitUntilReady(fd, POLLIN)) throw CommandError("interrupted");
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) return;
    if (n < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
      throw CommandError(shown + ": read failed" + Reason(errno));
    }
    total += static_cast<uint64_t>(n);
    if (total > maxBytes) {
      throw CommandError(shown + ": too large (more than " + std::to_string(maxBytes) + " bytes)");
    }
    take(buffer, static_cast<size_t>(n));
  }
}

std::string ShownName(const std::string& name, DashInput dash) {
  return IsStandardInput(name, dash) ? "standard input" : name;
}

}  // namespace

InputFile::InputFile(const std::string& name, uint64_t maxStreamBytes, DashInput dash)
    : mName(ShownName(name, dash)), mReadPath(name) {
  const Descriptor input(OpenInput(name, mName, dash));
  struct stat info {};
  if (::fstat(input.Get(), &info) != 0) throw CommandError(mName + ": cannot open" + Reason(errno));
  if (S_ISDIR(info.st_mode)) throw CommandError(mName + ": is a directory");
  if (S_ISREG(info.st_mode)) {
    // Standard input redirected from a file: the file, opened afresh.
    if (IsStandardInput(name, dash)) mReadPath = "/proc/self/fd/0";
    return;
  }
  // The bytes go into a file in memory, which the readers open by its name
  // in /proc like any file.
  mMemory = ::memfd_create("brimlow-input", MFD_CLOEXEC);
  if (mMemory < 0) throw CommandError(mName + ": cannot be held in memory" + Reason(errno));
  ReadStream(input.Get(), mName, maxStreamBytes, [this](const char* bytes, size_t count) {
    while (count > 0) {
      const ssize_t n = ::write(mMemory, bytes, count);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) throw CommandError(mName + ": cannot be held in memory" + Reason(n < 0 ? errno : ENOSPC));
      bytes += n;
      count -= static_cast<size_t>(n);
    }
  });
  mReadPath = "/proc/self/fd/" + std::to_string(mMemory);
}

InputFile::~InputFile() {
  if (mMemory >= 0) ::close(mMemory);
}

FileIdentity InputIdentity(const std::string& name, DashInput dash) {
  if (!IsStandardInput(name, dash)) return FileIdentity::OfPath(name.c_str());
  struct stat info {};
  return ::fstat(STDIN_FILENO, &info) == 0 ? FileIdentity::Of(info) : FileIdentity{};
}

std::vector<uint8_t> ReadInputBytes(const std::string& name, uint64_t maxBytes) {
  const Descriptor input(OpenInput(name, name, DashInput::kFileName));
  struct stat info {};
  if (::fstat(input.Get(), &info) != 0) throw CommandError(name + ": cannot open" + Reason(errno));
  if (S_ISDIR(info.st_mode)) throw CommandError(name + ": is a directory");
  std::vector<uint8_t> bytes;
  const auto take = [&bytes](const char* piece, size_t count) { bytes.insert(bytes.end(), piece, piece + count); };
  // A regular file is always ready; the same loop reads it.
  ReadStream(input.Get(), name, maxBytes, take);
  return bytes;
}
