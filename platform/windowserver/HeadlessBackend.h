#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/windowserver/Backend.h"

// The default backend: nothing on a screen. Windows keep their presented
// images in memory, questions are answered from the scripted answers
// (ScriptedAnswers.h), a text field is typed into on the next pass of the
// run loop, and everything asked is written to a log tests and hosts can
// read. An alert with no scripted answer goes to standard error and takes
// its default button.
namespace platform {

struct HeadlessLog {
  std::vector<AlertRequest> alerts;
  struct ShownMenu {
    std::shared_ptr<const MenuTree> menu;
    ScreenPoint topLeft;
  };
  std::vector<ShownMenu> menus;
  std::vector<PanelRequest> panels;
  std::vector<RGB16> colorPrompts;
  std::vector<std::string> openedURLs;
  bool tagShown = false;
  ScreenRect tagHot;
  std::string tagText;
  int tagsShown = 0;
  int tagsHidden = 0;
  CursorKind cursor = CursorKind::kArrow;
  int cursorSets = 0;
  bool cursorHidden = false;
  ScreenPoint cursorPosition;  // where MoveCursor last put it
  int openTextFields = 0;
};

class HeadlessBackend : public WindowServerBackend {
 public:
  HeadlessBackend();
  ~HeadlessBackend() override;

  AlertResponse RunAlert(const AlertRequest& request) override;
  MenuChoice TrackMenu(const MenuTree& menu, const ScreenPoint& topLeft) override;
  bool RunPanel(const PanelRequest& request, std::string* path) override;
  bool PickColor(const RGB16& in, RGB16* out) override;
  bool OpenURL(const std::string& url) override;
  void ShowHelpTag(const ScreenRect& hot, const std::string& text) override;
  void HideHelpTag() override;
  void TextFieldOpened(TextFieldView* field) override;
  void TextFieldClosed(TextFieldView* field) override;
  void SetCursor(CursorKind kind) override;
  bool HideCursor() override;
  bool ShowCursor() override;
  bool MoveCursor(const ScreenPoint& where) override;
  ScreenPoint MouseLocation() override { return mMouse; }
  int DisplayPixelsHigh() override { return mDisplayHeight; }

  void SetMouseLocation(const ScreenPoint& where) { mMouse = where; }
  void SetDisplayPixelsHigh(int height) { mDisplayHeight = height; }
  HeadlessLog& Log() { return mLog; }

 protected:
  // Types the first scripted text answer into the first open field.
  void TypeIntoOpenField();

 private:
  HeadlessLog mLog;
  std::vector<TextFieldView*> mFields;
  ScreenPoint mMouse;
  int mDisplayHeight = 900;
  int mObserver = 0;
};

// The installed backend when it is the headless one (or derives from it),
// else null.
HeadlessBackend* Headless();
// Back to a fresh headless backend with no answers, an empty log and no
// windows' images touched.
void ResetWindowServer();

}  // namespace platform
