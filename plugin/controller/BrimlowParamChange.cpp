#include "plugin/controller/Brimlow.h"

void Brimlow::OnParamChange(int paramIdx) {
  WDL_MutexLock lock(GetMutex());
  if (mInParamChange) return;
  mInParamChange = true;
  RedesignRequest request;
  if (paramIdx >= kFirstCommandTag && paramIdx <= kLastCommandTag) {
    if (paramIdx == kScopeTag) OnGraphEvent(request);
    else OnCommandTag(paramIdx, request);
  }
  mInParamChange = false;
}
