#pragma once

#include <map>
#include <string>
#include <vector>

#include "rtas/views/CViewProcess.h"

// A process with a few controls, recording what the views ask.
class FakeViewProcess : public CViewProcess {
 public:
  struct Control {
    int32_t steps = 1;
    int32_t value = 0;
    int32_t defaultValue = 0;
  };

  int32_t GetNumSteps(int32_t control) override { return mControls[control].steps; }
  int32_t GetControlDefaultValue(int32_t control) override { return mControls[control].defaultValue; }
  int32_t GetControlValue(int32_t control) override { return mControls[control].value; }
  void SetControlValue(int32_t control, int32_t value) override {
    mControls[control].value = value;
    mCalls.push_back("set " + std::to_string(control) + " " + std::to_string(value));
  }
  void GetControlValueString(int32_t control, int32_t value, std::string* text, int32_t maxLength) override {
    (void)maxLength;
    *text = "c" + std::to_string(control) + "=" + std::to_string(value);
  }
  int32_t ConvertControlString(int32_t control, const std::string& text, int32_t* value) override {
    mCalls.push_back("convert " + std::to_string(control) + " " + text);
    if (text.empty() || text[0] < '0' || text[0] > '9') return -7401;
    *value = std::stoi(text) * 1000;
    return 0;
  }
  bool IsControlKeyAcceptable(int32_t control, int16_t character) override {
    (void)control;
    return character >= '0' && character <= '9';
  }
  void DoIdle() override { ++mIdles; }
  void TouchControl(int32_t control) override { mCalls.push_back("touch " + std::to_string(control)); }
  void ReleaseControl(int32_t control) override { mCalls.push_back("release " + std::to_string(control)); }

  std::map<int32_t, Control> mControls;
  std::vector<std::string> mCalls;
  int mIdles = 0;
};
