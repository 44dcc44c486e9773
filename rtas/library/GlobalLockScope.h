#pragma once

#include <cstdint>

// Marks a scope that runs with the library's global lock in mind (closing
// the plug-in, a process's engine set-up and tear-down). It takes and
// releases nothing: the lock itself is the group's, taken by the entry
// layer around each host call.
struct SGlobalLockScope {
  uintptr_t mReserved = 0;
  bool mHasLockHandle = false;
};

void GlobalLockScopeEnter(SGlobalLockScope* guard, const void* lockHandle);
void GlobalLockScopeExit(SGlobalLockScope* guard);

class CGlobalLockScope {
 public:
  explicit CGlobalLockScope(const void* lockHandle = nullptr) { GlobalLockScopeEnter(&mGuard, lockHandle); }
  ~CGlobalLockScope() { GlobalLockScopeExit(&mGuard); }
  CGlobalLockScope(const CGlobalLockScope&) = delete;
  CGlobalLockScope& operator=(const CGlobalLockScope&) = delete;

 private:
  SGlobalLockScope mGuard;
};
