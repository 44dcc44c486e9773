#pragma once

#include <functional>
#include <string>

// Stand-in for the Foundation object model in C++: reference counting with
// retain, release and autorelease, autorelease pools, and a string object
// for the few places that pass text as an object. A new object holds one
// reference. Main thread only.
class NSObject {
 public:
  NSObject() = default;
  virtual ~NSObject() = default;
  NSObject(const NSObject&) = delete;
  NSObject& operator=(const NSObject&) = delete;

  NSObject* retain() {
    ++mReferences;
    return this;
  }
  // The last release deletes the object.
  void release();
  // Released when the innermost pool goes, or at the end of the run loop's
  // pass when no pool is open.
  NSObject* autorelease();
  int retainCount() const { return mReferences; }

  // performSelector:withObject:afterDelay: with the call spelled out; the
  // object is retained until the call has run.
  void performAfterDelay(std::function<void()> call, double delaySeconds);

 private:
  int mReferences = 1;
};

class NSAutoreleasePool {
 public:
  NSAutoreleasePool();
  ~NSAutoreleasePool();
  NSAutoreleasePool(const NSAutoreleasePool&) = delete;
  NSAutoreleasePool& operator=(const NSAutoreleasePool&) = delete;
};

class NSString : public NSObject {
 public:
  explicit NSString(std::string text) : mText(std::move(text)) {}
  const std::string& UTF8String() const { return mText; }

 private:
  std::string mText;
};

namespace platform {

// Objects waiting for a pool or the run loop.
int PendingAutoreleaseCount();

}  // namespace platform
