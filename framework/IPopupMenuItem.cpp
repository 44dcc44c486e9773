#include "framework/IPopupMenuItem.h"

IPopupMenuItem::IPopupMenuItem(const char* text, int flags, IPopupMenu* submenu)
    : mText(text ? text : ""), mSubmenu(submenu), mFlags(flags) {}

void IPopupMenuItem::SetChecked(bool checked) {
  if (checked) {
    mFlags |= kChecked;
  } else {
    mFlags &= ~kChecked;
  }
}
