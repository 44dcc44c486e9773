#pragma once

#include <mutex>

// The recursive mutex used throughout: locked paths call virtual
// operations that take the same lock again.
class WDL_Mutex {
 public:
  void Enter() { mMutex.lock(); }
  void Leave() { mMutex.unlock(); }
  bool TryEnter() { return mMutex.try_lock(); }

 private:
  std::recursive_mutex mMutex;
};

class WDL_MutexLock {
 public:
  explicit WDL_MutexLock(WDL_Mutex* mutex) : mMutex(mutex) {
    if (mMutex) mMutex->Enter();
  }
  ~WDL_MutexLock() {
    if (mMutex) mMutex->Leave();
  }
  WDL_MutexLock(const WDL_MutexLock&) = delete;
  WDL_MutexLock& operator=(const WDL_MutexLock&) = delete;

 private:
  WDL_Mutex* mMutex;
};
