#include "platform/cocoa/NSTextField.h"

#include "platform/cocoa/NSEvent.h"
#include "platform/cocoa/NSWindow.h"
#include "platform/foundation/NSCharacterSet.h"
#include "platform/windowserver/Backend.h"
#include "platform/windowserver/InputSink.h"

NSFont* NSFont::fontWithName(const std::string& name, CGFloat size) {
  if (name.empty() || !(size > 0)) return nullptr;
  NSFont* font = new NSFont(name, size);
  font->autorelease();
  return font;
}

NSColor* NSColor::colorWithCalibratedRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha) {
  NSColor* color = new NSColor(red, green, blue, alpha);
  color->autorelease();
  return color;
}

namespace {

template <typename T>
void Replace(T*& field, T* value) {
  if (value) value->retain();
  if (field) field->release();
  field = value;
}

}  // namespace

NSTextField::~NSTextField() {
  if (mShown) platform::Backend().TextFieldClosed(this);
  Replace<NSFont>(mFont, nullptr);
  Replace<NSFormatter>(mFormatter, nullptr);
  Replace<NSColor>(mTextColor, nullptr);
  Replace<NSColor>(mBackground, nullptr);
}

void NSTextField::setFont(NSFont* font) { Replace(mFont, font); }
void NSTextField::setFormatter(NSFormatter* formatter) { Replace(mFormatter, formatter); }
void NSTextField::setTextColor(NSColor* color) { Replace(mTextColor, color); }
void NSTextField::setBackgroundColor(NSColor* color) { Replace(mBackground, color); }

void NSTextField::setStringValue(const std::string& text) {
  mText = text;
  mAllSelected = false;
  if (mShown) platform::Backend().TextFieldChanged(this);
}

void NSTextField::Edit(const std::string& text) {
  std::string ignored;
  if (mFormatter && !mFormatter->isPartialStringValid(text, nullptr, &ignored)) return;
  mText = text;
  mAllSelected = false;
  if (mShown) platform::Backend().TextFieldChanged(this);
}

void NSTextField::keyDown(NSEvent* event) {
  const std::string& typed = event->characters();
  const int keyCode = event->keyCode();
  const char c = typed.size() == 1 ? typed[0] : 0;
  if (c == '\r' || c == 3) {
    if (mDelegate) mDelegate->controlTextDidEndEditing(this);
    return;
  }
  if (c == 8 || c == 127 || keyCode == platform::kKeyBackspace || keyCode == platform::kKeyForwardDelete) {
    if (mAllSelected) Edit("");
    else if (!mText.empty()) Edit(mText.substr(0, mText.size() - 1));
    return;
  }
  if (keyCode >= platform::kKeyLeftArrow && keyCode <= platform::kKeyUpArrow) {
    mAllSelected = false;
    return;
  }
  if (typed.empty()) return;
  for (char ch : typed) {
    if (static_cast<unsigned char>(ch) < 32) return;
  }
  Edit(mAllSelected ? typed : mText + typed);
}

void NSTextField::FocusChanged(bool focused) {
  if (focused) mAllSelected = true;
  const bool show = focused && window();
  if (show == mShown) return;
  mShown = show;
  if (show) platform::Backend().TextFieldOpened(this);
  else platform::Backend().TextFieldClosed(this);
}

void NSTextField::viewDidMoveToWindow() {
  if (!window()) FocusChanged(false);
}

platform::ScreenRect NSTextField::FieldFrame() const {
  const NSPoint origin = convertPointToBase(NSMakePoint(0, 0));
  const double contentHeight = window() ? window()->contentView()->frame().size.height : 0.0;
  const NSRect f = frame();
  return platform::ScreenRect{origin.x, contentHeight - origin.y - f.size.height, f.size.width, f.size.height};
}

platform::ScreenWindow* NSTextField::FieldWindow() const { return window() ? window()->ScreenWindow() : nullptr; }
