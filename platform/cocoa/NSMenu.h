#pragma once

#include <string>
#include <vector>

#include "platform/cocoa/AppKitTypes.h"
#include "platform/foundation/NSObject.h"

class NSEvent;
class NSMenu;
class NSView;

// Stand-in for NSMenuItem: title, action (a selector name sent along the
// responder chain of the view the menu pops up for), submenu (retained),
// state, indentation, enabled flag and the menu holding it.
class NSMenuItem : public NSObject {
 public:
  NSMenuItem(const std::string& title, const std::string& action, const std::string& keyEquivalent);
  ~NSMenuItem() override;
  // Autoreleased.
  static NSMenuItem* separatorItem();

  const std::string& title() const { return mTitle; }
  const std::string& action() const { return mAction; }
  bool isSeparatorItem() const { return mSeparator; }
  NSMenu* submenu() const { return mSubmenu; }
  void setSubmenu(NSMenu* submenu);
  NSInteger state() const { return mState; }
  void setState(NSInteger state) { mState = state; }
  NSInteger indentationLevel() const { return mIndent; }
  void setIndentationLevel(NSInteger level) { mIndent = level; }
  bool isEnabled() const { return mEnabled; }
  void setEnabled(bool enabled) { mEnabled = enabled; }
  NSMenu* menu() const { return mMenu; }

 private:
  friend class NSMenu;
  std::string mTitle;
  std::string mAction;
  bool mSeparator = false;
  NSMenu* mSubmenu = nullptr;
  NSInteger mState = NSOffState;
  NSInteger mIndent = 0;
  bool mEnabled = true;
  NSMenu* mMenu = nullptr;
};

// Stand-in for NSMenu: items retained in order, and the context menu shown
// by the window server's backend.
class NSMenu : public NSObject {
 public:
  NSMenu() = default;
  ~NSMenu() override;
  NSMenu* initWithTitle(const std::string& title);

  void setAutoenablesItems(bool on) { mAutoenables = on; }
  bool autoenablesItems() const { return mAutoenables; }
  void addItem(NSMenuItem* item);
  NSInteger numberOfItems() const { return static_cast<NSInteger>(mItems.size()); }
  NSMenuItem* itemAtIndex(NSInteger index) const;
  // -1 when the item is not in this menu.
  NSInteger indexOfItem(NSMenuItem* item) const;

  // Shows the menu at the event's location in its window, for the view;
  // after a choice the item's action goes to the view's responder chain
  // with the item as sender. Returns when the menu has closed.
  static void popUpContextMenu(NSMenu* menu, NSEvent* event, NSView* view);

 private:
  std::string mTitle;
  bool mAutoenables = true;
  std::vector<NSMenuItem*> mItems;
};
