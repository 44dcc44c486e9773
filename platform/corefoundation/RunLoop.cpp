#include "platform/corefoundation/RunLoop.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <utility>
#include <vector>

struct platform::RunLoopTimer {
  double start = 0.0;
  double interval = 0.0;
  long long fired = 0;  // fire n is due at start + n * interval, free of drift
  std::function<void()> fire;
  bool live = true;
  bool firing = false;  // a nested pass inside the callback skips this timer

  double Due() const { return start + static_cast<double>(fired) * interval; }
};

namespace platform {

namespace {

// Two fire times this close are the same instant; sums of 1/fps steps
// would otherwise drift past a due time by a rounding error.
constexpr double kSameInstant = 1e-9;

struct Observer {
  int handle;
  std::function<void()> pass;
};

struct LoopState {
  std::vector<std::unique_ptr<RunLoopTimer>> timers;
  std::vector<Observer> observers;
  int nextObserver = 1;
  double testNow = 0.0;
  bool real = false;
  int depth = 0;  // callbacks running; dead timers are freed only at 0
};

// Never destroyed: whatever still holds a timer or an observer at exit
// (a backend, a window) may let go of it after static destruction began.
LoopState& State() {
  static LoopState* state = new LoopState;
  return *state;
}

double RealNow() {
  static const auto origin = std::chrono::steady_clock::now();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - origin).count();
}

void Sweep() {
  LoopState& s = State();
  if (s.depth > 0) return;
  s.timers.erase(std::remove_if(s.timers.begin(), s.timers.end(), [](const auto& t) { return !t->live; }),
                 s.timers.end());
}

// The live, idle timer due first at or before `now`, or null; timers in
// `skip` are passed over.
RunLoopTimer* FirstDue(double now, const std::vector<RunLoopTimer*>& skip = {}) {
  RunLoopTimer* first = nullptr;
  for (const auto& t : State().timers) {
    if (!t->live || t->firing || t->Due() > now + kSameInstant) continue;
    if (std::find(skip.begin(), skip.end(), t.get()) != skip.end()) continue;
    if (!first || t->Due() < first->Due()) first = t.get();
  }
  return first;
}

void Fire(RunLoopTimer* timer, double now) {
  LoopState& s = State();
  if (timer->interval > 0.0) {
    ++timer->fired;
    // A real clock that stalled skips the fires it missed instead of
    // bunching them up.
    while (s.real && timer->Due() <= now) ++timer->fired;
  } else {
    timer->live = false;
  }
  ++s.depth;
  timer->firing = true;
  // The callback may remove the timer; the object stays until the sweep.
  const std::function<void()> fire = timer->fire;
  fire();
  timer->firing = false;
  --s.depth;
}

void RunObservers() {
  LoopState& s = State();
  ++s.depth;
  // Copied: an observer may add or remove observers.
  const std::vector<Observer> observers = s.observers;
  for (const Observer& o : observers) {
    const bool stillThere = std::any_of(s.observers.begin(), s.observers.end(),
                                        [&](const Observer& x) { return x.handle == o.handle; });
    if (stillThere) o.pass();
  }
  --s.depth;
  Sweep();
}

}  // namespace

RunLoopTimer* AddRunLoopTimer(double firstDelaySeconds, double intervalSeconds, std::function<void()> fire) {
  if (!fire) return nullptr;
  auto timer = std::make_unique<RunLoopTimer>();
  timer->start = RunLoopTime() + std::max(0.0, firstDelaySeconds);
  timer->interval = intervalSeconds;
  timer->fire = std::move(fire);
  RunLoopTimer* handle = timer.get();
  State().timers.push_back(std::move(timer));
  return handle;
}

void RemoveRunLoopTimer(RunLoopTimer* timer) {
  if (!timer) return;
  for (const auto& t : State().timers) {
    if (t.get() == timer) t->live = false;
  }
  Sweep();
}

bool IsRunLoopTimerLive(const RunLoopTimer* timer) {
  for (const auto& t : State().timers) {
    if (t.get() == timer) return t->live;
  }
  return false;
}

int LiveRunLoopTimerCount() {
  return static_cast<int>(
      std::count_if(State().timers.begin(), State().timers.end(), [](const auto& t) { return t->live; }));
}

int AddRunLoopObserver(std::function<void()> pass) {
  LoopState& s = State();
  if (!pass) return 0;
  s.observers.push_back(Observer{s.nextObserver, std::move(pass)});
  return s.nextObserver++;
}

void RemoveRunLoopObserver(int handle) {
  auto& observers = State().observers;
  observers.erase(std::remove_if(observers.begin(), observers.end(),
                                 [handle](const Observer& o) { return o.handle == handle; }),
                  observers.end());
}

double RunLoopTime() { return State().real ? RealNow() : State().testNow; }

void AdvanceRunLoop(double seconds) {
  LoopState& s = State();
  if (s.real) {
    RunLoopPass();
    return;
  }
  const double target = s.testNow + std::max(0.0, seconds);
  while (RunLoopTimer* timer = FirstDue(target)) {
    s.testNow = std::max(s.testNow, timer->Due());
    Fire(timer, s.testNow);
    RunObservers();
  }
  s.testNow = target;
  RunObservers();
}

void RunLoopPass() {
  const double now = RunLoopTime();
  // Each timer at most once a pass: a callback that takes longer than its
  // interval must not starve the rest of the loop.
  std::vector<RunLoopTimer*> fired;
  while (RunLoopTimer* timer = FirstDue(now, fired)) {
    fired.push_back(timer);
    Fire(timer, now);
  }
  RunObservers();
}

void UseRealRunLoopClock(bool real) {
  LoopState& s = State();
  if (s.real == real) return;
  // Pending timers keep their delays across the switch.
  const double before = RunLoopTime();
  s.real = real;
  const double shift = RunLoopTime() - before;
  for (const auto& t : s.timers) t->start += shift;
}

double SecondsToNextRunLoopTimer() {
  double next = -1.0;
  for (const auto& t : State().timers) {
    if (!t->live) continue;
    const double wait = std::max(0.0, t->Due() - RunLoopTime());
    if (next < 0.0 || wait < next) next = wait;
  }
  return next;
}

void ResetRunLoop() {
  LoopState& s = State();
  for (const auto& t : s.timers) t->live = false;
  Sweep();
  s.testNow = 0.0;
}

}  // namespace platform
