#include "rtas/library/HostFrameworkAccess.h"

#include "rtas/library/DAEFunctions.h"
#include "rtas/library/DSIFunctions.h"

namespace {

CDAELibAccess* gDAEAccess = nullptr;
CDSILibAccess* gDSIAccess = nullptr;
CDSPMgrLibAccess* gDSPMgrAccess = nullptr;

template <class Access>
OSErr InitAccess(Access*& instance) {
  if (instance) return noErr;
  instance = new Access;
  const OSErr status = instance->OpenLibrary();
  if (status != noErr) {
    delete instance;
    instance = nullptr;
  }
  return status;
}

template <class Access>
OSErr ReleaseAccess(Access*& instance) {
  delete instance;
  instance = nullptr;
  return noErr;
}

}  // namespace

CDAELibAccess* DAELibAccess() { return gDAEAccess; }
CDSILibAccess* DSILibAccess() { return gDSIAccess; }
CDSPMgrLibAccess* DSPMgrLibAccess() { return gDSPMgrAccess; }

OSErr InitDAELibAccess() { return InitAccess(gDAEAccess); }
OSErr InitDSILibAccess() { return InitAccess(gDSIAccess); }
OSErr InitDSPMgrLibAccess() { return InitAccess(gDSPMgrAccess); }

OSErr StartDSI() {
  if (const OSErr status = InitDSILibAccess()) return status;
  return InitSADriver();
}

OSErr StartDAE() {
  StartDSI();  // a host without a DSI still has an engine
  if (const OSErr status = InitDAELibAccess()) return status;
  return FicMain();
}

SDSPManager* CallDSPMgrEntryPoint() {
  if (InitDSPMgrLibAccess() != noErr) return nullptr;
  auto entry = reinterpret_cast<GetDSPManagerProc>(gDSPMgrAccess->GetLibraryFunction(0));
  return entry ? entry() : nullptr;
}

OSErr ReleaseDAELibAccess() { return ReleaseAccess(gDAEAccess); }
OSErr ReleaseDSILibAccess() { return ReleaseAccess(gDSIAccess); }
OSErr ReleaseDSPMgrLibAccess() { return ReleaseAccess(gDSPMgrAccess); }
