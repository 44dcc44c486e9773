#pragma once

#include <string>

#include "platform/hitoolbox/EditText.h"
#include "platform/windowserver/TextFieldView.h"

// Private to platform/hitoolbox: an edit field's state, which is also what
// the window server is shown while the field has the focus.
namespace platform {

struct EditTextState : TextFieldView {
  explicit EditTextState(ControlRef c) : control(c) {}
  std::string FieldText() const override { return text; }
  ScreenRect FieldFrame() const override;
  ScreenWindow* FieldWindow() const override;

  ControlRef control;
  std::string text;
  int selStart = 0;
  int selEnd = 0;
  bool singleLine = false;
  bool password = false;
  ControlFontStyleRec style{};
  bool shown = false;  // the backend was told it opened
};

// Tells the backend when the field starts or stops having the focus of a
// visible window.
void UpdateEditFieldShown(ControlRef control);
// Ends the field's life with the backend and frees its state.
void DestroyEditText(ControlRef control);

}  // namespace platform
