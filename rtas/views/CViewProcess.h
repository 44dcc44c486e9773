#pragma once

#include <cstdint>
#include <string>

// What a process control view asks of the process that owns the control it
// shows. Controls are numbered from 1; a bad number gets the process's
// neutral answers.
class CViewProcess {
 public:
  virtual ~CViewProcess() = default;
  virtual int32_t GetNumSteps(int32_t control) = 0;
  virtual int32_t GetControlDefaultValue(int32_t control) = 0;
  virtual int32_t GetControlValue(int32_t control) = 0;
  virtual void SetControlValue(int32_t control, int32_t value) = 0;
  virtual void GetControlValueString(int32_t control, int32_t value, std::string* text, int32_t maxLength) = 0;
  // 0 on success, else the conversion's error code.
  virtual int32_t ConvertControlString(int32_t control, const std::string& text, int32_t* value) = 0;
  virtual bool IsControlKeyAcceptable(int32_t control, int16_t character) = 0;
  virtual void DoIdle() = 0;
  virtual void TouchControl(int32_t control) = 0;
  virtual void ReleaseControl(int32_t control) = 0;
};
