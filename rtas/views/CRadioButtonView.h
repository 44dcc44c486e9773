#pragma once

#include "rtas/views/CMacControlView.h"

// The Control Manager's radio buttons.
class CRadioButtonView : public CMacControlView {
 public:
  int16_t GetProcID() override { return 2; }
};
