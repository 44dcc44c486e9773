#pragma once

#include "platform/protools/DSPManager.h"
#include "rtas/library/CDAELibAccess.h"
#include "rtas/library/CDSILibAccess.h"
#include "rtas/library/CDSPMgrLibAccess.h"

// The process-wide access objects of the three frameworks: null until the
// framework is loaded and again after release. Loading and release run on
// the host's main thread without a lock.

CDAELibAccess* DAELibAccess();
CDSILibAccess* DSILibAccess();
CDSPMgrLibAccess* DSPMgrLibAccess();

// 0 when the object exists (nothing is loaded again) or the framework
// loads; else its loader's status, with the object gone again.
OSErr InitDAELibAccess();
OSErr InitDSILibAccess();
OSErr InitDSPMgrLibAccess();

// Loads the DSI and starts its driver (InitSADriver): 0, the loader's
// status, or the driver's answer.
OSErr StartDSI();
// StartDSI (its answer aside), then the DAE and its FicMain.
OSErr StartDAE();
// The manager object "GetDSPManager" gives, with a reference for the
// caller; null without the framework or the function.
SDSPManager* CallDSPMgrEntryPoint();

// Unload and forget the framework; harmless when nothing is loaded.
OSErr ReleaseDAELibAccess();
OSErr ReleaseDSILibAccess();
OSErr ReleaseDSPMgrLibAccess();
