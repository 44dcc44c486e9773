#include "framework/IPopupMenu.h"

#include <algorithm>

IPopupMenu::~IPopupMenu() { mItems.Empty(true); }

const char* IPopupMenu::GetItemText(int idx) const {
  const IPopupMenuItem* item = GetItem(idx);
  return item ? item->GetText() : "";
}

bool IPopupMenu::InsertItem(IPopupMenuItem* item, int pos) {
  if (!item) return false;
  // The list appends for any negative position; only -1 means append here.
  if (pos != -1) pos = std::clamp(pos, 0, GetNItems());
  return mItems.Insert(item, pos) != nullptr;
}

IPopupMenuItem* IPopupMenu::Store(IPopupMenuItem* item, int pos) {
  if (InsertItem(item, pos)) return item;
  delete item;
  return nullptr;
}

IPopupMenuItem* IPopupMenu::AddItem(const char* text, int pos, int flags) {
  return Store(new IPopupMenuItem(text, flags), pos);
}

IPopupMenuItem* IPopupMenu::AddSubmenu(const char* text, IPopupMenu* submenu) {
  return Store(new IPopupMenuItem(text, IPopupMenuItem::kNoFlags, submenu), -1);
}

IPopupMenuItem* IPopupMenu::AddSeparator(int pos) {
  return Store(new IPopupMenuItem("", IPopupMenuItem::kSeparator), pos);
}

bool IPopupMenu::CheckItem(int idx, bool checked) {
  IPopupMenuItem* item = GetItem(idx);
  if (!item) return false;
  item->SetChecked(checked);
  return true;
}

void IPopupMenu::CheckItemAlone(int idx) {
  for (int i = 0; i < GetNItems(); ++i) GetItem(i)->SetChecked(i == idx);
}

bool IPopupMenu::IsItemChecked(int idx) const {
  const IPopupMenuItem* item = GetItem(idx);
  return item && item->GetChecked();
}
