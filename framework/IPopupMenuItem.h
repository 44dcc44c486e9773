#pragma once

#include "framework/containers/WDL_String.h"

class IPopupMenu;

// One entry of a popup menu: its text, an optional submenu (not owned) and
// its flags. The native menu greys a disabled item, indents an indented one
// by one level, ticks a checked one and draws a separator for kSeparator;
// an item with a submenu opens it whatever its flags.
class IPopupMenuItem {
 public:
  enum EFlags { kNoFlags = 0, kDisabled = 1, kIndented = 2, kChecked = 4, kSeparator = 8 };

  IPopupMenuItem(const char* text, int flags, IPopupMenu* submenu = nullptr);

  const char* GetText() const { return mText.Get(); }
  void SetText(const char* text) { mText.Set(text); }
  IPopupMenu* GetSubmenu() const { return mSubmenu; }
  int GetFlags() const { return mFlags; }
  void SetFlags(int flags) { mFlags = flags; }
  bool GetEnabled() const { return !(mFlags & kDisabled); }
  bool GetChecked() const { return (mFlags & kChecked) != 0; }
  bool GetIsIndented() const { return (mFlags & kIndented) != 0; }
  bool GetIsSeparator() const { return (mFlags & kSeparator) != 0; }
  void SetChecked(bool checked);

 private:
  WDL_String mText;  // granularity 128
  IPopupMenu* mSubmenu;
  int mFlags;
};
