#include "rtas/binding/GroupFunctors.h"

#include "rtas/library/GlobalLockScope.h"

int32_t RunGroupFunction(SGenFuncRetLong& functor, bool enterGroupLock) {
  CProcessGroupInterface* group = CProcessGroupInterface::GetGroupReference();
  const bool locked = enterGroupLock && group;
  if (locked) group->EnterGroupLock();
  int32_t result;
  {
    CGlobalLockScope scope;
    result = InvokeGroupFunction(functor);
  }
  if (locked) group->LeaveGroupLock();
  return result;
}

int32_t CallGroupFunction(SGenFuncRetLong& functor, bool takeLock) {
  // The lock is left exactly when it was entered, so a version that
  // changed during the call cannot unbalance it.
  return RunGroupFunction(functor, takeLock && CProcessGroupInterface::GetHostInterfaceVersion() != 0);
}
