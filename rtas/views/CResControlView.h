#pragma once

#include "rtas/views/CMacControlView.h"

// A control made from a 'CNTL' resource of the bundle; the control's own
// bounds become the view's frame.
class CResControlView : public CMacControlView {
 public:
  static constexpr uint16_t kNoResource = 65535;

  ControlRef CreateControl() override;
  void SetControlResourceID(uint16_t id) { mResourceID = id; }
  uint16_t GetControlResourceID() const { return mResourceID; }

 private:
  uint16_t mResourceID = kNoResource;
};
