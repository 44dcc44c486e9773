#pragma once

#include <vector>

#include "framework/IPopupMenu.h"
#include "framework/containers/WDL_String.h"
#include "graphics/IBitmap.h"
#include "graphics/IControl.h"

// The display's options button: one popup menu of check-mark toggles bound
// to two-state parameters, submenus of an enumerated parameter's display
// texts, and command tags, some behind an open or save dialog. A choice is
// stored straight into the parameter and handed to the plug-in's
// OnParamChange; the host is not told (its controls catch up with the next
// state it reads). The plug-in reads the dialogs' file names from here
// while it handles the command.
class IAnalyzerMenu : public IControl {
 public:
  enum EKind {
    kKindToggle = 0,      // a toggle, or a separator for a negative parameter
    kKindSubmenu1 = 1,    // kinds 1, 3, 4 and 5: one submenu each
    kKindCommand = 2,
    kKindSubmenu3 = 3,
    kKindSubmenu4 = 4,
    kKindSubmenu5 = 5,
  };
  enum EAction { kActionNone = -1, kActionOpenFile = 0, kActionSaveFile = 1, kActionCommand = 2 };

  struct AnalyzerMenuEntry {
    WDL_String text;
    int param;  // the parameter; a command's tag; -1 for a separator
    bool isSubmenu;
    bool isCommand;
    int action;  // commands only; kActionNone otherwise
  };

  // The control is one frame of the two-frame bitmap at (x, y).
  IAnalyzerMenu(IPlugBase* plug, int x, int y, IBitmap* bitmap);

  // One entry by kind; see EKind. A submenu kind binds once: a second call
  // for it changes nothing. Unknown kinds change nothing.
  void AddMenuEntry(const char* text, int param, int kind, int action = kActionNone);

  void Rescale(double scaleX, double scaleY) override;
  // Any button opens the menu.
  void OnMouseDown(int x, int y, IMouseMod* mod) override;
  bool Draw(IGraphics* graphics) override;

  // Where each dialog opens, and the extensions it offers (without dots,
  // separated by blanks). A confirmed dialog moves its folder to the chosen
  // file's, so it reopens there.
  void SetOpenFolder(const char* folder) { mOpenFolder.Set(folder ? folder : ""); }
  void SetSaveFolder(const char* folder) { mSaveFolder.Set(folder ? folder : ""); }
  void SetOpenExtensions(const char* extensions) { mOpenExtensions.Set(extensions ? extensions : ""); }
  void SetSaveExtensions(const char* extensions) { mSaveExtensions.Set(extensions ? extensions : ""); }
  const char* GetOpenFolder() const { return mOpenFolder.Get(); }
  const char* GetSaveFolder() const { return mSaveFolder.Get(); }
  // The file the last dialog of each kind chose; empty after a cancel.
  const char* GetOpenFileName() const { return mOpenFileName.Get(); }
  const char* GetSaveFileName() const { return mSaveFileName.Get(); }

  const IPopupMenu& GetMainMenu() const { return mMainMenu; }
  int NEntries() const { return static_cast<int>(mEntries.size()); }
  const AnalyzerMenuEntry& GetEntry(int idx) const { return mEntries[static_cast<size_t>(idx)]; }
  bool IsMenuOpen() const { return mMenuOpen; }
  const IBitmap& GetBitmap() const { return mBitmap; }

 protected:
  struct SubmenuSlot {
    IPopupMenu menu;
    int param = -1;  // -1 while free
  };
  static constexpr int kNumSlots = 4;

  // The slot a submenu kind fills, or -1.
  static int SlotOfKind(int kind);
  void ShowAnalyzerMenu();
  void UpdateCheckMarks();
  void ChooseMainItem(int item);
  // The value clamped into the parameter's range, stored under the plug
  // mutex together with the plug-in's handling of it.
  void StoreValue(int paramIdx, double value);

  IPopupMenu mMainMenu;
  SubmenuSlot mSlots[kNumSlots];
  std::vector<AnalyzerMenuEntry> mEntries;
  // The entry of each main-menu item: a command with a negative tag has an
  // entry but no item.
  std::vector<int> mItemEntries;
  IBitmap mBitmap;
  IBitmap mSourceBitmap;
  bool mMenuOpen = false;
  WDL_String mOpenFolder;
  WDL_String mOpenFileName;
  WDL_String mOpenExtensions;
  WDL_String mSaveFolder;
  WDL_String mSaveFileName;
  WDL_String mSaveExtensions;
};
