#pragma once

// Ctrl-C, a hang-up or a termination request while a command runs. The
// first such signal only marks the run interrupted: the command stops at
// its next check and fails the ordinary way, so its temporary files go and
// no output appears; a second signal ends the program at once.
//
// Only the program installs the handlers; without them nothing is ever
// interrupted.
void CatchInterruptions();

// The signal that interrupted the run, or 0.
int InterruptingSignal();

// Throws CommandError ("interrupted") once a signal has come.
void StopIfInterrupted();

// Ends the program as the interrupting signal would have, so the shell
// sees it was interrupted. Does nothing when no signal came.
void EndByInterruptingSignal();

// Waits until fd is ready for `events` (POLLIN, POLLOUT) or reports an
// error or hang-up. False when a signal interrupted the run, before or
// during the wait: a pipe, FIFO or terminal that never becomes ready
// cannot hold the program. A signal may come on any thread, so the wait
// does not rely on it breaking a system call of this one.
bool WaitUntilReady(int fd, short events);

// Waits up to `milliseconds`; false when a signal interrupted the run.
bool PauseUnlessInterrupted(int milliseconds);
