#pragma once

#include <functional>
#include <string>

#include "platform/foundation/NSObject.h"

namespace platform {
struct RunLoopTimer;
}

// Stand-in for NSTimer and the main run loop's addTimer:forMode:. The
// target and selector of the Mac's call are the callback, which gets the
// timer that fired. A timer added to the run loop is retained by it until
// invalidated (or, when not repeating, until it has fired).
class NSTimer : public NSObject {
 public:
  static NSTimer* timerWithTimeInterval(double seconds, std::function<void(NSTimer*)> fire, bool repeats);
  ~NSTimer() override;

  void invalidate();
  bool isValid() const { return mValid; }
  double timeInterval() const { return mInterval; }

 private:
  friend class NSRunLoop;
  NSTimer(double seconds, std::function<void(NSTimer*)> fire, bool repeats);
  void Schedule();

  double mInterval;
  std::function<void(NSTimer*)> mFire;
  bool mRepeats;
  bool mValid = true;
  platform::RunLoopTimer* mLoopTimer = nullptr;
};

extern const char* const NSRunLoopCommonModes;
extern const char* const NSDefaultRunLoopMode;

class NSRunLoop {
 public:
  static NSRunLoop* currentRunLoop();
  // Every mode is the same here: timers fire during menu tracking too.
  void addTimer(NSTimer* timer, const char* mode);
};
