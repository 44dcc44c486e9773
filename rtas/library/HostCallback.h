#pragma once

#include "platform/protools/HostCallbacks.h"

// The host's callback procedure, one per process: given through group
// selector 14 and kept until the host replaces it.
void SetHostCallbackProcedure(HostCallbackProc procedure);
HostCallbackProc GetHostCallbackProcedure();
