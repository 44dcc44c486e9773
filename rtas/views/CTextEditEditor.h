#pragma once

#include <string>

#include "platform/hitoolbox/TextEdit.h"
#include "rtas/views/CControlEditor.h"

// A TextEdit field for typing a control's value. Editing begins on a click;
// Enter, Tab and Return accept the text, Escape and deactivation drop it;
// the up and down arrows step the value.
class CTextEditEditor : public CControlEditor {
 public:
  // Texts given to the control view for conversion are cut to this length.
  static constexpr size_t kMaxConvertedText = 30;

  ~CTextEditEditor() override;

  void ApplyDescription(DescriptionParser* parser) override;
  bool CanTakeFocus() override { return IsEnabled(); }
  void TrackClick(const EventRecord* event, bool synthetic) override;
  void BeginEdit() override;
  void EndEdit(bool accept) override;
  void KeyChar(int16_t character, bool* handled) override;
  void IdleView(const EventRecord* event) override;
  void DeactivateView() override;

  bool IsEditing() const { return mTE != nullptr; }
  TEHandle GetTextEdit() const { return mTE; }
  bool IsReversed() const { return mReverse; }
  // The control's present value as text.
  std::string ValueText();

 protected:
  virtual void GetEditRect(Rect* r);
  virtual void GetEditFont(int16_t* font, int16_t* size, Style* face);
  virtual void EditBegan() {}
  virtual void EditEnded() {}

 private:
  void StepBy(int delta);

  TEHandle mTE = nullptr;
  bool mModified = false;
  bool mReverse = false;
};
