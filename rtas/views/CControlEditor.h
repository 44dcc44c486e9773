#pragma once

#include "rtas/views/CCustomView.h"

class CControlView;
class CProcessControlView;

// The visible widget of a control: names a control view by its id, binds
// to it when the tree is realized, shows its value and changes it.
class CControlEditor : public CCustomView {
 public:
  ~CControlEditor() override;

  // Reads the common group and the group holding the control id.
  void ApplyDescription(DescriptionParser* parser) override;
  void RealizeTree() override;
  void UnrealizeTree() override;
  void HandleClick(const EventRecord* event) override;
  void GetControlIndex(int32_t* index) override;
  bool HasControlHighlight() override;
  void GetControlHighlight(uint16_t* color, int16_t* second, std::string* text) override;

  virtual int32_t GetDefaultValue();
  virtual void SetValue(int32_t value);
  // Shows a new value (drawing it).
  virtual void ValueChanged() {}
  // Shows the value without drawing.
  virtual void RefreshValue() {}
  virtual Point GetValuePoint();

  int32_t GetStepCount();
  int32_t GetValue();
  // Steps map onto the whole 32-bit range; an odd count puts its middle step
  // exactly on 0.
  int32_t GetStep();
  void SetStep(int32_t step);
  int32_t StepToValue(int32_t step);

  uint32_t GetControlID() const { return mControlID; }
  void SetControlID(uint32_t id) { mControlID = id; }
  CControlView* GetControlView() const { return mControlView; }
  CControlEditor* GetNextEditor() const { return mNextEditor; }

 protected:
  // Reads a group holding exactly one four-character control id.
  void ReadControlIDGroup(DescriptionParser* parser);
  CProcessControlView* BoundProcessControl();
  // After this editor set a value: every editor of the control shows it.
  void ShowValueSet();

 private:
  friend class CControlView;

  uint32_t mControlID = 0x4E4F4E45;  // 'NONE'
  CControlView* mControlView = nullptr;
  int32_t mOwnValue = 0;
  CControlEditor* mNextEditor = nullptr;
};
