#include "rtas/library/DSPManagerInterface.h"

#include "rtas/library/HostFrameworkAccess.h"

namespace {

SDSPManagerConnection* gConnection = nullptr;

}  // namespace

SDSPManagerConnection* GetDSPManagerInterface() {
  if (gConnection) return gConnection;
  SDSPManager* manager = CallDSPMgrEntryPoint();
  if (!manager) return gConnection;
  void* found = nullptr;
  const int32_t answer = manager->mVtbl->QueryInterface(manager, &kDSPManagerConnectionIID, &found);
  // A manager that says yes but gives nothing is treated as a no.
  if (answer >= 0 && found) {
    gConnection = static_cast<SDSPManagerConnection*>(found);
    gConnection->mVtbl->Release(gConnection);
  } else {
    gConnection = nullptr;
  }
  manager->mVtbl->Release(manager);
  return gConnection;
}

void ResetDSPManagerInterface() { gConnection = nullptr; }
