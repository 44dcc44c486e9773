// A plug-in bundle for the tests: its own copy of the library, reaching the
// host's frameworks by identifier as the real plug-in does.
#include "rtas/library/DAEFunctions.h"
#include "rtas/library/HostFrameworkAccess.h"

#define TEST_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

TEST_PLUGIN_EXPORT int32_t TestPlugInStartEngine() { return StartDAE(); }

TEST_PLUGIN_EXPORT bool TestPlugInHasEngine() { return DAELibAccess() != nullptr; }

TEST_PLUGIN_EXPORT int32_t TestPlugInMaximumQuantum() { return FicGetMaximumRTASQuantum(); }

TEST_PLUGIN_EXPORT int32_t TestPlugInDispatchToken(const void* token) { return FicSDSDispatchToken(token); }

TEST_PLUGIN_EXPORT void TestPlugInRelease() {
  ReleaseDAELibAccess();
  ReleaseDSILibAccess();
  ReleaseDSPMgrLibAccess();
}
