#pragma once

#include <string>

#include "rtas/views/CCustomView.h"

class CControlEditor;

// A value with a number of steps that control editors show and change; it
// draws nothing itself. Several editors may show one control view.
class CControlView : public CCustomView {
 public:
  static constexpr size_t kMaxName = 63;

  ~CControlView() override;

  void ApplyDescription(DescriptionParser* parser) override;
  bool IsProcessControl() override { return false; }
  bool HasControlHighlight() override { return mHighlighted; }
  void GetControlHighlight(uint16_t* color, int16_t* second, std::string* text) override;

  virtual int32_t GetStepCount() { return mSteps; }
  virtual int32_t GetDefaultValue() { return mDefaultValue; }
  virtual int32_t GetValue() { return mValue; }
  virtual void SetValue(int32_t value) { mValue = value; }
  virtual void GetControlName(std::string* name);
  // The decimal number of the value's upper 16 bits.
  virtual void ValueToString(int32_t value, std::string* text, int32_t maxLength);
  // 0 on success.
  virtual int32_t StringToValue(int32_t* value, const std::string& text);
  virtual void IsKeyAcceptable(int16_t character, bool* acceptable);
  virtual void SetHighlighted(bool highlighted);
  virtual void SetHighlight(uint16_t color, int16_t second, const std::string& text);

  // Appends and binds the editor (-7400 when it is bound already) and shows
  // it the value.
  void AttachEditor(CControlEditor* editor);
  void DetachEditor(CControlEditor* editor);
  void UpdateEditors();
  CControlEditor* GetFirstEditor() const { return mFirstEditor; }

  void SetName(const std::string& name) { mName = name.substr(0, kMaxName); }
  void SetStepCount(int32_t steps) { mSteps = steps; }
  void SetDefaultValue(int32_t value) { mDefaultValue = value; }

 protected:
  void RedrawEditors();
  int32_t LocalValue() const { return mValue; }

 private:
  CControlEditor* mFirstEditor = nullptr;
  int32_t mSteps = 1;
  int32_t mValue = INT32_MIN;
  int32_t mDefaultValue = 0;
  std::string mName;
  bool mHighlighted = false;
  uint16_t mHighlightColor = 0;
  int16_t mHighlightSecond = 0;
  std::string mHighlightText;
};
