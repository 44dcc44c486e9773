#pragma once

#include <string>

#include "platform/windowserver/ScreenGeometry.h"

// An editable text field as the window server sees it: the backend shows
// it (or, headless, types scripted text into its window) while the toolkit
// owns and edits it.
namespace platform {

class ScreenWindow;

class TextFieldView {
 public:
  virtual ~TextFieldView() = default;
  virtual std::string FieldText() const = 0;
  // Where the field sits, in its window's content points.
  virtual ScreenRect FieldFrame() const = 0;
  virtual ScreenWindow* FieldWindow() const = 0;
};

}  // namespace platform
