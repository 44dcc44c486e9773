#include "platform/windowserver/HeadlessBackend.h"

#include <algorithm>
#include <cstdio>

#include "platform/corefoundation/RunLoop.h"
#include "platform/windowserver/InputSink.h"
#include "platform/windowserver/ScreenWindow.h"
#include "platform/windowserver/ScriptedAnswers.h"
#include "platform/windowserver/TextFieldView.h"

namespace platform {

HeadlessBackend::HeadlessBackend() {
  // The user types into a field only once the toolkit has opened it and
  // returned to the loop, as a person would.
  mObserver = AddRunLoopObserver([this] { TypeIntoOpenField(); });
}

HeadlessBackend::~HeadlessBackend() { RemoveRunLoopObserver(mObserver); }

AlertResponse HeadlessBackend::RunAlert(const AlertRequest& request) {
  mLog.alerts.push_back(request);
  ScriptedAnswer answer;
  if (!TakeScriptedAnswer(ScriptedAnswer::kAlert, &answer)) {
    std::fprintf(stderr, "%s: %s\n", request.header.c_str(), request.message.c_str());
    return kAlertDefault;
  }
  if (answer.before) answer.before();
  const std::string defaultTitle = request.defaultButton.empty() ? "OK" : request.defaultButton;
  if (answer.cancel) return kAlertCancel;
  if (answer.button == defaultTitle) return kAlertDefault;
  if (!request.alternateButton.empty() && answer.button == request.alternateButton) return kAlertAlternate;
  if (!request.otherButton.empty() && answer.button == request.otherButton) return kAlertOther;
  // A button the alert does not have: as if it were dismissed.
  return kAlertCancel;
}

MenuChoice HeadlessBackend::TrackMenu(const MenuTree& menu, const ScreenPoint& topLeft) {
  mLog.menus.push_back(HeadlessLog::ShownMenu{std::make_shared<const MenuTree>(menu), topLeft});
  ScriptedAnswer answer;
  if (!TakeScriptedAnswer(ScriptedAnswer::kMenu, &answer)) return MenuChoice();
  if (answer.before) answer.before();
  return ResolveMenuChoice(menu, answer);
}

bool HeadlessBackend::RunPanel(const PanelRequest& request, std::string* path) {
  mLog.panels.push_back(request);
  ScriptedAnswer answer;
  if (!TakeScriptedAnswer(ScriptedAnswer::kPanel, &answer)) return false;
  if (answer.before) answer.before();
  if (answer.cancel) return false;
  if (path) *path = answer.text;
  return true;
}

bool HeadlessBackend::PickColor(const RGB16& in, RGB16* out) {
  mLog.colorPrompts.push_back(in);
  ScriptedAnswer answer;
  if (!TakeScriptedAnswer(ScriptedAnswer::kColor, &answer)) return false;
  if (answer.before) answer.before();
  if (answer.cancel) return false;
  if (out) *out = answer.color;
  return true;
}

bool HeadlessBackend::OpenURL(const std::string& url) {
  mLog.openedURLs.push_back(url);
  return true;
}

void HeadlessBackend::ShowHelpTag(const ScreenRect& hot, const std::string& text) {
  mLog.tagShown = true;
  mLog.tagHot = hot;
  mLog.tagText = text;
  ++mLog.tagsShown;
}

void HeadlessBackend::HideHelpTag() {
  if (mLog.tagShown) ++mLog.tagsHidden;
  mLog.tagShown = false;
}

void HeadlessBackend::TextFieldOpened(TextFieldView* field) {
  if (std::find(mFields.begin(), mFields.end(), field) == mFields.end()) mFields.push_back(field);
  mLog.openTextFields = static_cast<int>(mFields.size());
}

void HeadlessBackend::TextFieldClosed(TextFieldView* field) {
  mFields.erase(std::remove(mFields.begin(), mFields.end(), field), mFields.end());
  mLog.openTextFields = static_cast<int>(mFields.size());
}

void HeadlessBackend::TypeIntoOpenField() {
  if (mFields.empty()) return;
  ScriptedAnswer answer;
  if (!TakeScriptedAnswer(ScriptedAnswer::kText, &answer)) return;
  // Found again by id before every key: the hook, or any key, may close the
  // field or the window.
  ScreenWindow* window = mFields.front()->FieldWindow();
  const int windowId = window ? window->Id() : 0;
  auto sink = [windowId]() -> InputSink* {
    ScreenWindow* w = FindScreenWindow(windowId);
    return w ? w->Sink() : nullptr;
  };
  if (answer.before) answer.before();
  for (char c : answer.text) {
    if (InputSink* s = sink()) s->Key(KeyInput{MacKeyCodeForCharacter(c), c, 0, false});
  }
  InputSink* s = sink();
  if (!s) return;
  if (answer.end == ScriptedAnswer::kReturn && !answer.cancel) {
    s->Key(KeyInput{kKeyReturn, '\r', 0, false});
  } else if (answer.end == ScriptedAnswer::kLeaveField || answer.cancel) {
    s->Deactivated();
  }
}

void HeadlessBackend::SetCursor(CursorKind kind) {
  mLog.cursor = kind;
  ++mLog.cursorSets;
}

bool HeadlessBackend::HideCursor() {
  mLog.cursorHidden = true;
  return true;
}

bool HeadlessBackend::ShowCursor() {
  mLog.cursorHidden = false;
  return true;
}

bool HeadlessBackend::MoveCursor(const ScreenPoint& where) {
  mLog.cursorPosition = where;
  mMouse = where;
  return true;
}

void ResetWindowServer() {
  ClearScriptedAnswers();
  InstallBackend(std::make_unique<HeadlessBackend>());
}

}  // namespace platform
