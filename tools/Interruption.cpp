#include "tools/Interruption.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>

#include "tools/CommandError.h"

namespace {

// Set from a signal handler, which may run on any of the plug-in's threads:
// a lock-free atomic is safe there and seen by the main thread.
std::atomic<int> gSignal{0};
static_assert(std::atomic<int>::is_always_lock_free, "a signal handler may not take a lock");

// The handler writes a byte into this pipe, which wakes a poll on any
// thread; the byte stays, so every later wait ends at once too.
std::atomic<int> gWakeRead{-1}, gWakeWrite{-1};

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

void OnSignal(int signal) {
  const int saved = errno;
  gSignal.store(signal, std::memory_order_relaxed);
  const int wake = gWakeWrite.load(std::memory_order_relaxed);
  if (wake >= 0) {
    const ssize_t ignored = ::write(wake, "!", 1);
    (void)ignored;
  }
  errno = saved;
}

// poll on fd (when >= 0) and the wake-up pipe: the number of ready files,
// or -1 when interrupted.
int PollOrInterrupted(int fd, short events, int timeout) {
  struct pollfd fds[2] = {};
  nfds_t count = 0;
  if (fd >= 0) fds[count++] = {fd, events, 0};
  const int wake = gWakeRead.load(std::memory_order_relaxed);
  if (wake >= 0) fds[count++] = {wake, POLLIN, 0};
  for (;;) {
    if (InterruptingSignal() != 0) return -1;
    const int ready = ::poll(fds, count, timeout);
    if (InterruptingSignal() != 0) return -1;
    // Any other failure is left to the read or write that follows.
    if (ready >= 0 || errno != EINTR) return ready < 0 ? 0 : ready;
  }
}

}  // namespace

void CatchInterruptions() {
  if (gWakeRead.load() < 0) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
      gWakeRead.store(fds[0]);
      gWakeWrite.store(fds[1]);
    }
  }
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  // Reads and writes carry on; the second signal takes the default action.
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  for (const int signal : kSignals) sigaction(signal, &action, nullptr);
}

int InterruptingSignal() { return gSignal.load(std::memory_order_relaxed); }

void StopIfInterrupted() {
  if (InterruptingSignal() != 0) throw CommandError("interrupted");
}

void EndByInterruptingSignal() {
  const int signal = InterruptingSignal();
  if (signal == 0) return;
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

bool WaitUntilReady(int fd, short events) { return PollOrInterrupted(fd, events, -1) >= 0; }

bool PauseUnlessInterrupted(int milliseconds) { return PollOrInterrupted(-1, 0, milliseconds) >= 0; }
