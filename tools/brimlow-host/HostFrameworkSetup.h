#pragma once

#include <string>

#include "platform/corefoundation/CFBundle.h"
#include "platform/protools/FrameworkControl.h"

// The host's frameworks as the stand-in host offers them: the audio engine,
// DSI and DSP manager stand-ins made known by identifier, back in their
// default state, then configured: the variable quantum answered with the
// host's largest block, and the engine link allowed only when asked for.
// Failures throw CommandError.
class HostFrameworkSetup {
 public:
  HostFrameworkSetup(int quantum, bool linked);
  ~HostFrameworkSetup();
  HostFrameworkSetup(const HostFrameworkSetup&) = delete;
  HostFrameworkSetup& operator=(const HostFrameworkSetup&) = delete;

  const SDAEControl& DAE() const { return *mDAE; }

  // After the plug-in closed: every critical section and engine object it
  // made is gone, else a message naming what is left ("" when all is well).
  std::string Leftovers() const;

 private:
  CFBundleRef mDAEBundle = nullptr, mDSIBundle = nullptr, mDSPManagerBundle = nullptr;
  const SDAEControl* mDAE = nullptr;
  const SDSIControl* mDSI = nullptr;
  const SDSPManagerControl* mDSPManager = nullptr;
};
