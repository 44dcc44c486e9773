#include "platform/windowserver/ScriptedAnswers.h"

#include <deque>

namespace platform {

namespace {

std::deque<ScriptedAnswer>& Queue() {
  static std::deque<ScriptedAnswer> queue;
  return queue;
}

// The submenu whose opening item has the text, searched depth first, with
// the path to that item; the top menu for "".
const MenuTree* FindSubmenu(const MenuTree& menu, const std::string& title, std::vector<int>* path) {
  if (title.empty()) return &menu;
  for (size_t i = 0; i < menu.items.size(); ++i) {
    const MenuTree::Item& item = menu.items[i];
    if (!item.submenu) continue;
    path->push_back(static_cast<int>(i));
    if (item.text == title) return item.submenu.get();
    if (const MenuTree* found = FindSubmenu(*item.submenu, title, path)) return found;
    path->pop_back();
  }
  return nullptr;
}

}  // namespace

ScriptedAnswer AlertButton(const std::string& title) {
  ScriptedAnswer a;
  a.kind = ScriptedAnswer::kAlert;
  a.button = title;
  return a;
}

ScriptedAnswer MenuItemChoice(const std::string& submenu, int item) {
  ScriptedAnswer a;
  a.kind = ScriptedAnswer::kMenu;
  a.submenu = submenu;
  a.item = item;
  return a;
}

ScriptedAnswer CancelAnswer(ScriptedAnswer::Kind kind) {
  ScriptedAnswer a;
  a.kind = kind;
  a.cancel = true;
  a.end = ScriptedAnswer::kLeaveField;
  return a;
}

ScriptedAnswer TypedText(const std::string& text, ScriptedAnswer::TextEnd end) {
  ScriptedAnswer a;
  a.kind = ScriptedAnswer::kText;
  a.text = text;
  a.end = end;
  return a;
}

ScriptedAnswer PanelPath(const std::string& path) {
  ScriptedAnswer a;
  a.kind = ScriptedAnswer::kPanel;
  a.text = path;
  return a;
}

ScriptedAnswer ColorChoice(const RGB16& color) {
  ScriptedAnswer a;
  a.kind = ScriptedAnswer::kColor;
  a.color = color;
  return a;
}

void ScriptAnswer(const ScriptedAnswer& answer) { Queue().push_back(answer); }

int PendingAnswerCount() { return static_cast<int>(Queue().size()); }

void ClearScriptedAnswers() { Queue().clear(); }

bool NextAnswerIs(ScriptedAnswer::Kind kind) { return !Queue().empty() && Queue().front().kind == kind; }

bool TakeScriptedAnswer(ScriptedAnswer::Kind kind, ScriptedAnswer* answer) {
  auto& queue = Queue();
  if (queue.empty() || queue.front().kind != kind) return false;
  *answer = queue.front();
  queue.pop_front();
  return true;
}

MenuChoice ResolveMenuChoice(const MenuTree& menu, const ScriptedAnswer& answer) {
  MenuChoice choice;
  if (answer.cancel) return choice;
  std::vector<int> path;
  const MenuTree* target = FindSubmenu(menu, answer.submenu, &path);
  if (!target || answer.item < 0 || answer.item >= static_cast<int>(target->items.size())) return choice;
  const MenuTree::Item& item = target->items[answer.item];
  // What a user cannot pick on the screen cannot be scripted either.
  if (item.separator || item.header || !item.enabled || item.submenu) return choice;
  path.push_back(answer.item);
  choice.path = path;
  return choice;
}

}  // namespace platform
