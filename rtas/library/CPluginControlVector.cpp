#include "rtas/library/CPluginControlVector.h"

#include "rtas/library/ErrorThrowers.h"
#include "rtas/library/ResultCodes.h"

void CPluginControlVector::AddControl(CPluginControl* control) {
  // Owned before the vector grows, so a failed allocation frees it.
  std::unique_ptr<CPluginControl> owned(control);
  if (!owned) ThrowDAEError(DAEResult::kMissingObject);
  mControls.push_back(std::move(owned));
}

CPluginControl* CPluginControlVector::GetControl(int32_t n) const {
  if (!IsValidControlIndex(n)) ThrowDAEError(DAEResult::kControlRange);
  return mControls[n - 1].get();
}
