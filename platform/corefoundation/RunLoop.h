#pragma once

#include <functional>

// Stand-in for the main thread's run loop, under both the Carbon event-loop
// timers and the Cocoa timers. One process-wide loop, used only from the
// main thread.
//
// The clock is a test clock by default: time stands still until the host
// (or a test) advances it, and every timer due on the way fires in time
// order, so that a session is the same on every run. A backend that waits
// on a real device switches to the system's monotonic clock.
namespace platform {

struct RunLoopTimer;

// Fires first after firstDelaySeconds, then every intervalSeconds; an
// interval of 0 or less fires once and removes the timer. Null when the
// callback is empty.
RunLoopTimer* AddRunLoopTimer(double firstDelaySeconds, double intervalSeconds, std::function<void()> fire);
// Safe from inside any timer's callback, its own included; null is ignored.
void RemoveRunLoopTimer(RunLoopTimer* timer);
bool IsRunLoopTimerLive(const RunLoopTimer* timer);
int LiveRunLoopTimerCount();

// What the rest of a pass of the loop does after its timers: window
// updates, scripted input. Run in the order added; the handle removes one.
int AddRunLoopObserver(std::function<void()> pass);
void RemoveRunLoopObserver(int handle);

// Seconds on the loop's clock.
double RunLoopTime();

// Test clock: moves time forward by seconds, firing every timer due on the
// way in time order; after each firing the observers run.
void AdvanceRunLoop(double seconds);
// One pass without moving time: timers already due, then the observers.
void RunLoopPass();

// Real clock (the X11 backend): fires what is due now, then the observers.
void UseRealRunLoopClock(bool real);
// Seconds until the next timer is due (0 when one is late), or a negative
// value when no timer is live.
double SecondsToNextRunLoopTimer();

// Removes every timer and puts the test clock back to 0. Observers belong
// to the parts of the platform that added them and stay.
void ResetRunLoop();

}  // namespace platform
