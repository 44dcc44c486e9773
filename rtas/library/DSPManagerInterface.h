#pragma once

#include "platform/protools/DSPManager.h"

// The DSP manager's connection interface, asked for on first use (which
// loads the DSPManager framework) and cached without a reference of its
// own. Null when the framework, the manager or the interface is missing;
// a missing interface is asked for again next time.
SDSPManagerConnection* GetDSPManagerInterface();

// Forgets the cached interface, as unloading the bundle does.
void ResetDSPManagerInterface();
