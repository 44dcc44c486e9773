#pragma once

#include <string>

#include "platform/corefoundation/CFBundle.h"
#include "platform/protools/FrameworkControl.h"

// What a host program (or a test standing in for one) does to offer the
// plug-in the host's frameworks: make each framework bundle known by its
// identifier, then configure it through the stand-in's control table.
namespace platform {

// The folder where this build lays out the stand-ins as
// <Name>.framework bundles (DAE, DSI, DSPManager).
std::string StandInFrameworksFolder();

// Makes the framework bundle at the path known by its identifier and keeps
// its code loaded for the life of the process, as a host that links the
// framework does: the copy the host configures is the one every plug-in
// loads, whatever a plug-in unloads. The caller owns the reference; null
// when the bundle does not exist or its code does not load.
CFBundleRef OpenHostFramework(const std::string& frameworkPath);

// The control tables of the stand-ins, looked up in their bundles; null for
// a bundle that is not that stand-in.
const SDAEControl* DAEControlOf(CFBundleRef bundle);
const SDSIControl* DSIControlOf(CFBundleRef bundle);
const SDSPManagerControl* DSPManagerControlOf(CFBundleRef bundle);

}  // namespace platform
