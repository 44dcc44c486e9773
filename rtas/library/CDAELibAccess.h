#pragma once

#include "rtas/library/UDigiLibAccess.h"

// The access object of the audio engine (DAE).
class CDAELibAccess : public UDigiLibAccess {
 public:
  static constexpr int32_t kFunctionCount = 532;

  CDAELibAccess();
  int32_t GetFunctionName(int32_t index, Str255 name) const override;
};
