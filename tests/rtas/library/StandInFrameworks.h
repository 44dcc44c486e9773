#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/protools/FrameworkControl.h"
#include "platform/protools/HostFrameworks.h"
#include "rtas/library/HostFrameworkState.h"

// The host's side of a test: the framework stand-ins it makes known by
// identifier, each back in its default state, and the library's framework
// state reset before and after.
class StandInFrameworks {
 public:
  enum Which { kDAE = 1, kDSI = 2, kDSPManager = 4, kAll = 7 };

  explicit StandInFrameworks(int which = kAll) {
    ResetHostFrameworkState();
    if (which & kDAE) mDAE = Open("DAE");
    if (which & kDSI) mDSI = Open("DSI");
    if (which & kDSPManager) mDSPManager = Open("DSPManager");
    if (mDAE) mDAEControl = platform::DAEControlOf(mDAE);
    if (mDSI) mDSIControl = platform::DSIControlOf(mDSI);
    if (mDSPManager) mDSPManagerControl = platform::DSPManagerControlOf(mDSPManager);
    ResetControls();
  }
  ~StandInFrameworks() {
    ResetHostFrameworkState();
    ResetControls();
    for (CFBundleRef bundle : {mDAE, mDSI, mDSPManager}) {
      if (bundle) CFRelease(bundle);
    }
  }
  StandInFrameworks(const StandInFrameworks&) = delete;
  StandInFrameworks& operator=(const StandInFrameworks&) = delete;

  const SDAEControl* DAE() const { return mDAEControl; }
  const SDSIControl* DSI() const { return mDSIControl; }
  const SDSPManagerControl* DSPManager() const { return mDSPManagerControl; }
  CFBundleRef DAEBundle() const { return mDAE; }

  static std::string FrameworkPath(const char* name) {
    return platform::StandInFrameworksFolder() + "/" + name + ".framework";
  }

 private:
  static CFBundleRef Open(const char* name) {
    CFBundleRef bundle = platform::OpenHostFramework(FrameworkPath(name));
    EXPECT_NE(bundle, nullptr) << name;
    return bundle;
  }
  void ResetControls() {
    if (mDAEControl) mDAEControl->mCommon.Reset();
    if (mDSIControl) mDSIControl->mCommon.Reset();
    if (mDSPManagerControl) mDSPManagerControl->mCommon.Reset();
  }

  CFBundleRef mDAE = nullptr, mDSI = nullptr, mDSPManager = nullptr;
  const SDAEControl* mDAEControl = nullptr;
  const SDSIControl* mDSIControl = nullptr;
  const SDSPManagerControl* mDSPManagerControl = nullptr;
};

// The name of the index-th recorded call, "" past the end.
template <class Control>
std::string CallName(const Control* control, int32_t index) {
  SStandInCall call{};
  return control->mCommon.GetCall(index, &call) ? call.mName : "";
}
