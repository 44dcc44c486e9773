#include "tools/brimlow-host/HostFrameworkSetup.h"

#include "platform/protools/DAE.h"
#include "platform/protools/HostFrameworks.h"
#include "tools/CommandError.h"

namespace {

CFBundleRef OpenFramework(const char* name) {
  const std::string path = platform::StandInFrameworksFolder() + "/" + name + ".framework";
  CFBundleRef bundle = platform::OpenHostFramework(path);
  if (!bundle) throw CommandError(path + ": the host framework does not load");
  return bundle;
}

}  // namespace

HostFrameworkSetup::HostFrameworkSetup(int quantum, bool linked) {
  try {
    mDAEBundle = OpenFramework("DAE");
    mDSIBundle = OpenFramework("DSI");
    mDSPManagerBundle = OpenFramework("DSPManager");
  } catch (...) {
    if (mDAEBundle) CFRelease(mDAEBundle);
    if (mDSIBundle) CFRelease(mDSIBundle);
    throw;
  }
  mDAE = platform::DAEControlOf(mDAEBundle);
  mDSI = platform::DSIControlOf(mDSIBundle);
  mDSPManager = platform::DSPManagerControlOf(mDSPManagerBundle);
  if (!mDAE || !mDSI || !mDSPManager) {
    CFRelease(mDAEBundle);
    CFRelease(mDSIBundle);
    CFRelease(mDSPManagerBundle);
    throw CommandError("the host frameworks are not the stand-ins this host configures");
  }
  mDAE->mCommon.Reset();
  mDSI->mCommon.Reset();
  mDSPManager->mCommon.Reset();
  mDAE->SetGestalt(ficgestalt::kVariableQuantum, 1);
  mDAE->SetMaximumQuantum(quantum);
  if (linked) {
    mDAE->SetGestalt(ficgestalt::kLinkAllowed, 1);
  } else {
    mDAE->RemoveGestalt(ficgestalt::kLinkAllowed);
  }
}

HostFrameworkSetup::~HostFrameworkSetup() {
  CFRelease(mDAEBundle);
  CFRelease(mDSIBundle);
  CFRelease(mDSPManagerBundle);
}

std::string HostFrameworkSetup::Leftovers() const {
  const int32_t sections = mDAE->CountCriticalSections();
  const int32_t objects = mDAE->CountLiveObjects();
  if (sections == 0 && objects == 0) return "";
  return "the plug-in left " + std::to_string(sections) + " critical sections and " + std::to_string(objects) +
         " engine objects behind";
}
