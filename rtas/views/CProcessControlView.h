#pragma once

#include "rtas/views/CControlView.h"

class CViewProcess;

// A control view for one of a process's host-visible controls: while a
// process is attached its steps, value and texts are the process's.
class CProcessControlView : public CControlView {
 public:
  bool IsProcessControl() override { return true; }
  void GetControlIndex(int32_t* index) override;
  void IdleView(const EventRecord* event) override;

  int32_t GetStepCount() override;
  int32_t GetDefaultValue() override;
  int32_t GetValue() override;
  void SetValue(int32_t value) override;
  void ValueToString(int32_t value, std::string* text, int32_t maxLength) override;
  int32_t StringToValue(int32_t* value, const std::string& text) override;
  void IsKeyAcceptable(int16_t character, bool* acceptable) override;

  // Binds the view to control `index` (1-based) of the process (null
  // unbinds) and takes its present value.
  void AttachToControl(CViewProcess* process, int32_t index, bool update);
  CViewProcess* GetProcess() const { return mProcess; }
  int32_t GetIndex() const { return mIndex; }

 private:
  CViewProcess* mProcess = nullptr;
  int32_t mIndex = 0;
};
