#include "rtas/views/CViewGroupServices.h"

namespace {

CViewGroupServices* gServices = nullptr;

}  // namespace

void SetViewGroupServices(CViewGroupServices* services) { gServices = services; }

CViewGroupServices* GetViewGroupServices() { return gServices; }

void YieldViewGroupLock() {
  if (gServices) gServices->YieldGroupLock();
}

CBundleResourceScope::CBundleResourceScope() : mServices(gServices) {
  if (mServices) mPrevious = mServices->UseResourceFile();
}

CBundleResourceScope::~CBundleResourceScope() {
  if (!mServices) return;
  // Leaving a scope must not throw; a group that cannot close the bundle's
  // map has still made the previous file current again.
  try {
    mServices->RestoreResourceFile(mPrevious);
  } catch (...) {
  }
}
