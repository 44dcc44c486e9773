#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "rtas/library/CPluginControl.h"

// A process's controls, owned, addressed by 1-based control numbers as the
// host counts them: control n is element n - 1.
class CPluginControlVector {
 public:
  // Takes ownership; a null control throws CDAEError -7053.
  void AddControl(CPluginControl* control);
  // Throws CDAEError -7300 unless 1 <= n <= count.
  CPluginControl* GetControl(int32_t n) const;
  bool IsValidControlIndex(int32_t n) const { return n >= 1 && n <= GetControlCount(); }
  int32_t GetControlCount() const { return static_cast<int32_t>(mControls.size()); }

 private:
  std::vector<std::unique_ptr<CPluginControl>> mControls;
};
