#pragma once

#include "rtas/library/UDigiLibAccess.h"

// The access object of the DSP manager.
class CDSPMgrLibAccess : public UDigiLibAccess {
 public:
  static constexpr int32_t kFunctionCount = 1;

  CDSPMgrLibAccess();
  int32_t GetFunctionName(int32_t index, Str255 name) const override;
};
