#include "platform/cocoa/NSMenu.h"

#include <algorithm>

#include "platform/cocoa/NSEvent.h"
#include "platform/cocoa/NSView.h"
#include "platform/cocoa/NSWindow.h"
#include "platform/windowserver/Backend.h"
#include "platform/windowserver/ScreenWindow.h"

NSMenuItem::NSMenuItem(const std::string& title, const std::string& action, const std::string&)
    : mTitle(title), mAction(action) {}

NSMenuItem::~NSMenuItem() {
  if (mSubmenu) mSubmenu->release();
}

NSMenuItem* NSMenuItem::separatorItem() {
  NSMenuItem* item = new NSMenuItem("", "", "");
  item->mSeparator = true;
  item->autorelease();
  return item;
}

void NSMenuItem::setSubmenu(NSMenu* submenu) {
  if (submenu) submenu->retain();
  if (mSubmenu) mSubmenu->release();
  mSubmenu = submenu;
}

NSMenu::~NSMenu() {
  for (NSMenuItem* item : mItems) {
    item->mMenu = nullptr;
    item->release();
  }
}

NSMenu* NSMenu::initWithTitle(const std::string& title) {
  mTitle = title;
  return this;
}

void NSMenu::addItem(NSMenuItem* item) {
  if (!item || item->mMenu) return;
  item->retain();
  item->mMenu = this;
  mItems.push_back(item);
}

NSMenuItem* NSMenu::itemAtIndex(NSInteger index) const {
  if (index < 0 || index >= numberOfItems()) return nullptr;
  return mItems[static_cast<size_t>(index)];
}

NSInteger NSMenu::indexOfItem(NSMenuItem* item) const {
  const auto it = std::find(mItems.begin(), mItems.end(), item);
  return it == mItems.end() ? -1 : static_cast<NSInteger>(it - mItems.begin());
}

namespace {

std::shared_ptr<platform::MenuTree> TreeOf(const NSMenu& menu) {
  auto tree = std::make_shared<platform::MenuTree>();
  for (NSInteger i = 0; i < menu.numberOfItems(); ++i) {
    const NSMenuItem* item = menu.itemAtIndex(i);
    platform::MenuTree::Item entry;
    entry.text = item->title();
    entry.separator = item->isSeparatorItem();
    entry.enabled = item->isEnabled();
    entry.checked = item->state() == NSOnState;
    entry.indent = static_cast<int>(item->indentationLevel());
    if (item->submenu()) entry.submenu = TreeOf(*item->submenu());
    tree->items.push_back(std::move(entry));
  }
  return tree;
}

}  // namespace

void NSMenu::popUpContextMenu(NSMenu* menu, NSEvent* event, NSView* view) {
  if (!menu || !view) return;
  menu->retain();
  view->retain();
  platform::ScreenPoint at;
  NSWindow* window = event ? event->window() : nullptr;
  if (window && window->ScreenWindow()) {
    const platform::ScreenRect& frame = window->ScreenWindow()->Frame();
    const NSPoint p = event->locationInWindow();
    at = platform::ScreenPoint{frame.x + p.x, frame.y + frame.height - p.y};
  }
  const platform::MenuChoice choice = platform::Backend().TrackMenu(*TreeOf(*menu), at);
  NSMenuItem* chosen = nullptr;
  const NSMenu* level = menu;
  for (size_t i = 0; level && i < choice.path.size(); ++i) {
    chosen = level->itemAtIndex(choice.path[i]);
    level = chosen && i + 1 < choice.path.size() ? chosen->submenu() : nullptr;
  }
  if (chosen && !chosen->action().empty()) view->tryToPerform(chosen->action(), chosen);
  view->release();
  menu->release();
}
