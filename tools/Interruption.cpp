#include "tools/Interruption.h"

#include <atomic>
#include <csignal>

#include "tools/CommandError.h"

namespace {

// Set from a signal handler, which may run on any of the plug-in's threads:
// a lock-free atomic is safe there and seen by the main thread.
std::atomic<int> gSignal{0};
static_assert(std::atomic<int>::is_always_lock_free, "a signal handler may not take a lock");

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

void OnSignal(int signal) { gSignal.store(signal, std::memory_order_relaxed); }

}  // namespace

void CatchInterruptions() {
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
