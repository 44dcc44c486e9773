#pragma once

#include "framework/IPopupMenuItem.h"
#include "framework/containers/WDL_PtrList.h"

// A platform-neutral popup menu: the graphics layer turns it into a native
// menu, shows it and writes the chosen item's index back. The menu owns its
// items; submenus belong to whoever made them.
class IPopupMenu {
 public:
  // Numbering the native menu puts before each item's text: its one-based
  // number as "%1d: ", "%02d: " or "%03d: ".
  enum EPrefix { kNoPrefix = 0, kPrefix1Digit = 1, kPrefix2Digits = 2, kPrefix3Digits = 3 };

  IPopupMenu() : mItems(4096) {}
  ~IPopupMenu();
  IPopupMenu(const IPopupMenu&) = delete;
  IPopupMenu& operator=(const IPopupMenu&) = delete;

  int GetNItems() const { return mItems.GetSize(); }
  // Null when idx names no item.
  IPopupMenuItem* GetItem(int idx) const { return mItems.Get(idx); }
  // "" when idx names no item.
  const char* GetItemText(int idx) const;

  // pos -1 appends; any other pos is clamped into [0, count] and later
  // items move up. The menu takes the item; when the list cannot grow it is
  // not stored, false comes back and the caller keeps it.
  bool InsertItem(IPopupMenuItem* item, int pos = -1);
  // These return the new item, or null when it could not be stored.
  IPopupMenuItem* AddItem(const char* text, int pos = -1, int flags = IPopupMenuItem::kNoFlags);
  IPopupMenuItem* AddSubmenu(const char* text, IPopupMenu* submenu);
  IPopupMenuItem* AddSeparator(int pos = -1);

  // Only the checked flag changes; false when idx names no item.
  bool CheckItem(int idx, bool checked);
  // Checks item idx and clears every other (all of them when idx names none).
  void CheckItemAlone(int idx);
  bool IsItemChecked(int idx) const;

  int GetPrefix() const { return mPrefix; }
  void SetPrefix(int prefix) { mPrefix = prefix; }
  // -1 until the native menu records a choice.
  int GetChosenItemIdx() const { return mChosenItemIdx; }
  void SetChosenItemIdx(int idx) { mChosenItemIdx = idx; }

 private:
  IPopupMenuItem* Store(IPopupMenuItem* item, int pos);

  int mPrefix = kNoPrefix;
  int mChosenItemIdx = -1;
  WDL_PtrList<IPopupMenuItem> mItems;
};
