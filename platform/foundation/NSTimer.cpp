#include "platform/foundation/NSTimer.h"

#include "platform/corefoundation/RunLoop.h"

const char* const NSRunLoopCommonModes = "kCFRunLoopCommonModes";
const char* const NSDefaultRunLoopMode = "kCFRunLoopDefaultMode";

NSTimer::NSTimer(double seconds, std::function<void(NSTimer*)> fire, bool repeats)
    : mInterval(seconds > 0.0 ? seconds : 0.0001), mFire(std::move(fire)), mRepeats(repeats) {}

NSTimer::~NSTimer() { platform::RemoveRunLoopTimer(mLoopTimer); }

NSTimer* NSTimer::timerWithTimeInterval(double seconds, std::function<void(NSTimer*)> fire, bool repeats) {
  // Autoreleased, as the Mac hands it out; the run loop keeps its own
  // reference while the timer is scheduled.
  NSTimer* timer = new NSTimer(seconds, std::move(fire), repeats);
  timer->autorelease();
  return timer;
}

void NSTimer::Schedule() {
  if (!mValid || mLoopTimer) return;
  retain();
  mLoopTimer = platform::AddRunLoopTimer(mInterval, mRepeats ? mInterval : 0.0, [this] {
    retain();  // the callback may invalidate the timer
    if (mFire) mFire(this);
    if (!mRepeats) invalidate();
    release();
  });
}

void NSTimer::invalidate() {
  if (!mValid) return;
  mValid = false;
  if (mLoopTimer) {
    platform::RemoveRunLoopTimer(mLoopTimer);
    mLoopTimer = nullptr;
    release();  // the run loop's reference
  }
}

NSRunLoop* NSRunLoop::currentRunLoop() {
  static NSRunLoop loop;
  return &loop;
}

void NSRunLoop::addTimer(NSTimer* timer, const char*) {
  if (timer) timer->Schedule();
}
