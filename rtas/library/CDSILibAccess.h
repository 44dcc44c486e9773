#pragma once

#include "rtas/library/UDigiLibAccess.h"

// The access object of the DSP-card interface (DSI).
class CDSILibAccess : public UDigiLibAccess {
 public:
  static constexpr int32_t kFunctionCount = 225;

  CDSILibAccess();
  int32_t GetFunctionName(int32_t index, Str255 name) const override;
};
