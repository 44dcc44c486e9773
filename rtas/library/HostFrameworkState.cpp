#include "rtas/library/HostFrameworkState.h"

#include "rtas/library/CStructureRegistry.h"
#include "rtas/library/DSPManagerInterface.h"
#include "rtas/library/DsiShims.h"
#include "rtas/library/HostCallback.h"
#include "rtas/library/HostFrameworkAccess.h"
#include "rtas/library/HostServices.h"

void ResetHostFrameworkState() {
  ReleaseDAELibAccess();
  ReleaseDSILibAccess();
  ReleaseDSPMgrLibAccess();
  CStructureRegistry::Reset();
  ResetDSPManagerInterface();
  ResetHostServices();
  ResetDsiAccessors();
  SetHostCallbackProcedure(nullptr);
}
