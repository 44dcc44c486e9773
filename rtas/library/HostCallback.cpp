#include "rtas/library/HostCallback.h"

namespace {

HostCallbackProc gHostCallback = nullptr;

}  // namespace

void SetHostCallbackProcedure(HostCallbackProc procedure) { gHostCallback = procedure; }

HostCallbackProc GetHostCallbackProcedure() { return gHostCallback; }
