#pragma once

#include "rtas/views/CMacControlView.h"

// The Control Manager's push buttons.
class CButtonView : public CMacControlView {
 public:
  int16_t GetProcID() override { return 0; }
};
