#include "rtas/library/GlobalLockScope.h"

void GlobalLockScopeEnter(SGlobalLockScope* guard, const void* lockHandle) {
  guard->mReserved = 0;
  guard->mHasLockHandle = lockHandle != nullptr;
}

void GlobalLockScopeExit(SGlobalLockScope* guard) { guard->mHasLockHandle = false; }
