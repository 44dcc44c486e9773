#include "rtas/binding/GroupFunctors.h"

#include "rtas/library/GlobalLockScope.h"

int32_t CallGroupFunction(SGenFuncRetLong& functor, bool takeLock) {
  CProcessGroupInterface* group = CProcessGroupInterface::GetGroupReference();
  // The lock is left exactly when it was entered, so a version that
  // changed during the call cannot unbalance it.
  const bool locked = takeLock && group && CProcessGroupInterface::GetHostInterfaceVersion() != 0;
  if (locked) group->EnterGroupLock();
  int32_t result;
  {
    CGlobalLockScope scope;
    result = InvokeGroupFunction(functor);
  }
  if (locked) group->LeaveGroupLock();
  return result;
}
