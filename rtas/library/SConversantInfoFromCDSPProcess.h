#pragma once

#include "rtas/library/SConversantInfo.h"

class CDSPProcess;

// The record a connection step builds for a process: the ids the group
// reports for its type, the record naming its plug-in type, its instance number,
// its channel counts (CDAEError when the process cannot say), and the
// side chain when the group reports feature 5 for the type.
struct SConversantInfoFromCDSPProcess : SConversantInfo {
  explicit SConversantInfoFromCDSPProcess(CDSPProcess& process);
  uint8_t IsFeatureSupported(int32_t feature) const override;

 private:
  CDSPProcess& mOwner;
};
