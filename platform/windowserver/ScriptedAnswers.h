#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/windowserver/Backend.h"
#include "platform/windowserver/Requests.h"

// The user, as a script: what the headless backend answers when an alert,
// a menu, a panel, the colour picker or a text field asks. Answers are
// taken first in, first out, and only when the first one is of the kind
// asked; a question with no matching answer gets the cancel answer (an
// alert its default button, as a user who presses Return would), so a
// session never blocks. Main thread only.
namespace platform {

struct ScriptedAnswer {
  enum Kind { kAlert, kMenu, kText, kPanel, kColor };
  enum TextEnd { kReturn, kLeaveField, kKeepOpen };

  Kind kind = kAlert;
  bool cancel = false;
  std::string button;   // alert: the title of the button pressed
  std::string submenu;  // menu: "" for the top menu, else the text of the item that opens it
  int item = -1;        // menu: the position chosen in that menu
  std::string text;     // text: typed key by key; panel: the chosen path
  TextEnd end = kReturn;
  RGB16 color;
  // Runs just before the answer is given: what else happens meanwhile (the
  // host closing the editor, say).
  std::function<void()> before;
};

ScriptedAnswer AlertButton(const std::string& title);
ScriptedAnswer MenuItemChoice(const std::string& submenu, int item);
// A menu closed without a choice, a panel or the colour picker cancelled,
// an alert dismissed by no button; a text field the user leaves without
// taking its text.
ScriptedAnswer CancelAnswer(ScriptedAnswer::Kind kind);
ScriptedAnswer TypedText(const std::string& text, ScriptedAnswer::TextEnd end = ScriptedAnswer::kReturn);
ScriptedAnswer PanelPath(const std::string& path);
ScriptedAnswer ColorChoice(const RGB16& color);

void ScriptAnswer(const ScriptedAnswer& answer);
int PendingAnswerCount();
void ClearScriptedAnswers();
bool NextAnswerIs(ScriptedAnswer::Kind kind);
// Takes the first answer when it is of that kind.
bool TakeScriptedAnswer(ScriptedAnswer::Kind kind, ScriptedAnswer* answer);

// The path of the scripted menu choice in the menu, or an empty path when
// the submenu or item does not exist or cannot be chosen (a separator, a
// section title, a disabled item, an item that opens a submenu).
MenuChoice ResolveMenuChoice(const MenuTree& menu, const ScriptedAnswer& answer);

}  // namespace platform
