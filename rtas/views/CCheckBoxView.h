#pragma once

#include "rtas/views/CMacControlView.h"

// The Control Manager's check boxes.
class CCheckBoxView : public CMacControlView {
 public:
  int16_t GetProcID() override { return 1; }
};
