#include "platform/hitoolbox/EditText.h"

#include <gtest/gtest.h>

#include "platform/hitoolbox/HIView.h"
#include "platform/windowserver/HeadlessBackend.h"
#include "platform/windowserver/InputSink.h"
#include "platform/windowserver/ScreenWindow.h"

namespace {

class EditField : public ::testing::Test {
 protected:
  EditField() {
    platform::ResetWindowServer();
    const Rect content{0, 0, 100, 200};
    CreateNewWindow(kDocumentWindowClass, kWindowCompositingAttribute, &content, &window);
    ShowWindow(window);
    HIViewRef root = HIViewGetRoot(window);
    const Rect bounds{10, 10, 30, 90};
    CreateEditUnicodeTextControl(nullptr, &bounds, nullptr, false, nullptr, &field);
    HIViewAddSubview(root, field);
  }
  ~EditField() override { DisposeWindow(window); }

  void Key(int code, char c) { platform::ScreenWindowOf(window)->Sink()->Key(platform::KeyInput{code, c, 0, false}); }
  platform::EditFieldInfo Info() {
    platform::EditFieldInfo info;
    platform::GetEditFieldInfo(field, &info);
    return info;
  }
  void SetText(const char* text, int selStart, int selEnd) {
    CFStringRef s = CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8);
    SetControlData(field, kControlEntireControl, kControlEditTextCFStringTag, sizeof s, &s);
    CFRelease(s);
    const ControlEditTextSelectionRec sel{static_cast<int16_t>(selStart), static_cast<int16_t>(selEnd)};
    SetControlData(field, kControlEntireControl, kControlEditTextSelectionTag, sizeof sel, &sel);
  }

  WindowRef window = nullptr;
  ControlRef field = nullptr;
};

TEST_F(EditField, TypingReplacesTheSelectionAndTheKeysEdit) {
  SetKeyboardFocus(window, field, kControlEditTextPart);
  SetText("1000", 0, 4);
  Key(18, '2');
  Key(19, '5');
  EXPECT_EQ(Info().text, "25");
  Key(platform::kKeyLeftArrow, 0x1C);
  Key(29, '0');
  EXPECT_EQ(Info().text, "205");
  Key(platform::kKeyBackspace, 8);
  EXPECT_EQ(Info().text, "25");
  Key(platform::kKeyForwardDelete, 127);
  EXPECT_EQ(Info().text, "2");
  Key(platform::kKeyReturn, '\r');
  EXPECT_EQ(Info().text, "2");
  Size length = 0;
  GetControlDataSize(field, kControlEntireControl, kControlEditTextTextTag, &length);
  EXPECT_EQ(length, 1);
  CFStringRef text = nullptr;
  ASSERT_EQ(GetControlData(field, kControlEntireControl, kControlEditTextCFStringTag, sizeof text, &text, nullptr),
            noErr);
  char buffer[8];
  ASSERT_TRUE(CFStringGetCString(text, buffer, sizeof buffer, kCFStringEncodingUTF8));
  EXPECT_STREQ(buffer, "2");
  CFRelease(text);
}

TEST_F(EditField, TheWindowServerIsToldWhileTheFieldHasAShownWindowsFocus) {
  platform::HeadlessLog& log = platform::Headless()->Log();
  EXPECT_EQ(log.openTextFields, 0);
  SetKeyboardFocus(window, field, kControlEditTextPart);
  EXPECT_EQ(log.openTextFields, 1);
  HideWindow(window);
  EXPECT_EQ(log.openTextFields, 0);
  ShowWindow(window);
  EXPECT_EQ(log.openTextFields, 1);
  HIViewRemoveFromSuperview(field);
  EXPECT_EQ(log.openTextFields, 0);
  ControlRef focus = field;
  GetKeyboardFocus(window, &focus);
  EXPECT_EQ(focus, nullptr);
}

TEST_F(EditField, ControlDataOfAnotherKindOrControlIsRefused) {
  const Boolean yes = true;
  EXPECT_EQ(SetControlData(field, kControlEntireControl, 0x78787878, sizeof yes, &yes), errDataNotSupported);
  ControlRef pane = nullptr;
  const Rect bounds{0, 0, 10, 10};
  CreateUserPaneControl(window, &bounds, 0, &pane);
  EXPECT_EQ(SetControlData(pane, kControlEntireControl, kControlEditTextSingleLineTag, sizeof yes, &yes),
            errDataNotSupported);
  // A selection past the end is cut to it.
  SetText("abc", 1, 99);
  EXPECT_EQ(Info().selStart, 1);
  EXPECT_EQ(Info().selEnd, 3);
  DisposeControl(pane);
}

}  // namespace
