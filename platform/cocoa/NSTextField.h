#pragma once

#include <string>

#include "platform/cocoa/NSView.h"
#include "platform/windowserver/TextFieldView.h"

class NSFormatter;

class NSFont : public NSObject {
 public:
  // Autoreleased; null for an empty name or a size that is not positive.
  static NSFont* fontWithName(const std::string& name, CGFloat size);
  const std::string& fontName() const { return mName; }
  CGFloat pointSize() const { return mSize; }

 private:
  NSFont(std::string name, CGFloat size) : mName(std::move(name)), mSize(size) {}
  std::string mName;
  CGFloat mSize;
};

class NSColor : public NSObject {
 public:
  // Autoreleased; components 0..1.
  static NSColor* colorWithCalibratedRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
  CGFloat redComponent() const { return mRed; }
  CGFloat greenComponent() const { return mGreen; }
  CGFloat blueComponent() const { return mBlue; }
  CGFloat alphaComponent() const { return mAlpha; }

 private:
  NSColor(CGFloat r, CGFloat g, CGFloat b, CGFloat a) : mRed(r), mGreen(g), mBlue(b), mAlpha(a) {}
  CGFloat mRed, mGreen, mBlue, mAlpha;
};

// What a text field's delegate hears.
class NSTextFieldDelegate {
 public:
  virtual ~NSTextFieldDelegate() = default;
  // Editing ended (Return in the field); the notification's object is the field.
  virtual void controlTextDidEndEditing(NSObject* notification) = 0;
};

class NSCell {
 public:
  void setLineBreakMode(NSInteger mode) { mLineBreakMode = mode; }
  NSInteger lineBreakMode() const { return mLineBreakMode; }

 private:
  NSInteger mLineBreakMode = 0;
};

// Stand-in for an editable one-line NSTextField. Becoming first responder
// selects all its text; a typed character replaces the selection (or is
// appended), backspace and delete remove the selection or the last
// character, and the formatter, when there is one, may refuse the text an
// edit would make. Return ends editing and tells the delegate. The window
// server shows the field while it is first responder.
class NSTextField : public NSView, public platform::TextFieldView {
 public:
  NSTextField() = default;
  ~NSTextField() override;

  void setFont(NSFont* font);
  NSFont* font() const { return mFont; }
  void setAlignment(NSInteger alignment) { mAlignment = alignment; }
  NSInteger alignment() const { return mAlignment; }
  void setFormatter(NSFormatter* formatter);
  NSFormatter* formatter() const { return mFormatter; }
  NSCell* cell() { return &mCell; }
  void setAllowsEditingTextAttributes(bool on) { mRichText = on; }
  bool allowsEditingTextAttributes() const { return mRichText; }
  void setTextColor(NSColor* color);
  NSColor* textColor() const { return mTextColor; }
  void setBackgroundColor(NSColor* color);
  NSColor* backgroundColor() const { return mBackground; }
  void setStringValue(const std::string& text);
  const std::string& stringValue() const { return mText; }
  void setBordered(bool bordered) { mBordered = bordered; }
  bool isBordered() const { return mBordered; }
  void setFocusRingType(NSInteger type) { mFocusRing = type; }
  NSInteger focusRingType() const { return mFocusRing; }
  void setDelegate(NSTextFieldDelegate* delegate) { mDelegate = delegate; }
  NSTextFieldDelegate* delegate() const { return mDelegate; }
  bool IsAllSelected() const { return mAllSelected; }

  bool acceptsFirstResponder() override { return true; }
  void keyDown(NSEvent* event) override;
  void viewDidMoveToWindow() override;

  // platform::TextFieldView
  std::string FieldText() const override { return mText; }
  platform::ScreenRect FieldFrame() const override;
  platform::ScreenWindow* FieldWindow() const override;

  // The window tells the field when it becomes or stops being the first
  // responder.
  void FocusChanged(bool focused);

 private:
  void Edit(const std::string& text);

  NSFont* mFont = nullptr;
  NSInteger mAlignment = NSLeftTextAlignment;
  NSFormatter* mFormatter = nullptr;
  NSCell mCell;
  bool mRichText = true;
  NSColor* mTextColor = nullptr;
  NSColor* mBackground = nullptr;
  std::string mText;
  bool mAllSelected = false;
  bool mBordered = true;
  NSInteger mFocusRing = NSFocusRingTypeDefault;
  NSTextFieldDelegate* mDelegate = nullptr;
  bool mShown = false;
};
