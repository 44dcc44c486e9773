#include "tools/Interruption.h"

#include <csignal>

#include "tools/CommandError.h"

namespace {

// Set from a signal handler, which may run on any of the plug-in's threads.
volatile std::sig_atomic_t gSignal = 0;

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

void OnSignal(int signal) { gSignal = signal; }

}  // namespace

void CatchInterruptions() {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  // Reads and writes carry on; the second signal takes the default action.
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  for (const int signal : kSignals) sigaction(signal, &action, nullptr);
}

int InterruptingSignal() { return gSignal; }

void StopIfInterrupted() {
  if (gSignal != 0) throw CommandError("interrupted");
}

void EndByInterruptingSignal() {
  const int signal = gSignal;
  if (signal == 0) return;
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}
