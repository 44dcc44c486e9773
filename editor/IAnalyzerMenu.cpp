#include "editor/IAnalyzerMenu.h"

#include "framework/IPlugBase.h"
#include "graphics/IGraphics.h"
#include "graphics/controls/BitmapFrame.h"

IAnalyzerMenu::IAnalyzerMenu(IPlugBase* plug, int x, int y, IBitmap* bitmap)
    : IControl(plug, BitmapFrame::FrameRECT(x, y, bitmap)),
      mBitmap(bitmap ? *bitmap : IBitmap()),
      mSourceBitmap(mBitmap) {}

int IAnalyzerMenu::SlotOfKind(int kind) {
  switch (kind) {
    case kKindSubmenu1: return 0;
    case kKindSubmenu3: return 1;
    case kKindSubmenu4: return 2;
    case kKindSubmenu5: return 3;
    default: return -1;
  }
}

void IAnalyzerMenu::AddMenuEntry(const char* text, int param, int kind, int action) {
  if (!text) text = "";
  const int entryIdx = static_cast<int>(mEntries.size());
  switch (kind) {
    case kKindToggle:
      mEntries.push_back({WDL_String(text), param, false, false, kActionNone});
      if (param >= 0) {
        mMainMenu.AddItem(text);
      } else {
        mMainMenu.AddSeparator();
      }
      mItemEntries.push_back(entryIdx);
      return;
    case kKindCommand:
      mEntries.push_back({WDL_String(text), param, false, true, action});
      if (param >= 0) {
        mMainMenu.AddItem(text);
        mItemEntries.push_back(entryIdx);
      }
      return;
    default:
      break;
  }
  const int slot = SlotOfKind(kind);
  if (slot < 0 || mSlots[slot].param >= 0) return;
  const IParam* p = mPlug ? mPlug->GetParam(param) : nullptr;
  // A submenu needs its parameter's texts; without a parameter the slot
  // stays free.
  if (!p) return;
  SubmenuSlot& s = mSlots[slot];
  s.param = param;
  mEntries.push_back({WDL_String(text), param, true, false, kActionNone});
  mMainMenu.AddSubmenu(text, &s.menu);
  mItemEntries.push_back(entryIdx);
  for (int v = 0; v < p->GetNDisplayTexts(); ++v) s.menu.AddItem(p->GetDisplayText(v));
}

void IAnalyzerMenu::Rescale(double scaleX, double scaleY) {
  IControl::Rescale(scaleX, scaleY);
  mBitmap = BitmapFrame::Rescaled(mPlug ? mPlug->GetGUI() : nullptr, mSourceBitmap, scaleX, scaleY);
}

void IAnalyzerMenu::OnMouseDown(int, int, IMouseMod*) { ShowAnalyzerMenu(); }

bool IAnalyzerMenu::Draw(IGraphics* graphics) {
  graphics->DrawBitmapFrame(&mBitmap, &mRECT, mMenuOpen ? 2 : 1, &mBlend);
  return true;
}

void IAnalyzerMenu::UpdateCheckMarks() {
  const auto valueOf = [this](int paramIdx) {
    const IParam* p = mPlug->GetParam(paramIdx);
    return p ? p->Int() : 0;
  };
  for (int i = 0; i < mMainMenu.GetNItems(); ++i) {
    const AnalyzerMenuEntry& e = mEntries[static_cast<size_t>(mItemEntries[static_cast<size_t>(i)])];
    // A submenu's parent item is flagged too; the menu does not show a
    // check mark on an item that opens a submenu.
    if (e.param >= 0 && !e.isCommand) mMainMenu.CheckItem(i, valueOf(e.param) == 1);
  }
  for (SubmenuSlot& s : mSlots) {
    if (s.param < 0) continue;
    const int current = valueOf(s.param);
    for (int j = 0; j < s.menu.GetNItems(); ++j) s.menu.CheckItem(j, j == current);
  }
}

void IAnalyzerMenu::ShowAnalyzerMenu() {
  IGraphics* graphics = mPlug ? mPlug->GetGUI() : nullptr;
  if (!graphics) return;
  UpdateCheckMarks();
  mMenuOpen = true;
  IRECT area = mRECT;
  IPopupMenu* chosen = graphics->CreateIPopupMenu(&mMainMenu, &area);
  mMenuOpen = false;
  // The plug-in's command handlers act only on a mouse gesture; the next
  // mouse-up clears the flag again.
  graphics->mMouseDown = true;
  if (!chosen) return;
  if (chosen == &mMainMenu) {
    ChooseMainItem(mMainMenu.GetChosenItemIdx());
    return;
  }
  for (SubmenuSlot& s : mSlots) {
    if (chosen != &s.menu || s.param < 0) continue;
    const int j = s.menu.GetChosenItemIdx();
    if (j >= 0 && j < s.menu.GetNItems()) StoreValue(s.param, j);
    return;
  }
}

void IAnalyzerMenu::ChooseMainItem(int item) {
  const IPopupMenuItem* menuItem = mMainMenu.GetItem(item);
  if (!menuItem || menuItem->GetIsSeparator()) return;
  const AnalyzerMenuEntry& e = mEntries[static_cast<size_t>(mItemEntries[static_cast<size_t>(item)])];
  if (e.isCommand) {
    IGraphics* graphics = mPlug->GetGUI();
    switch (e.action) {
      case kActionCommand:
        break;
      case kActionOpenFile:
        graphics->PromptForFile(&mOpenFileName, kActionOpenFile, &mOpenFolder, mOpenExtensions.Get());
        break;
      case kActionSaveFile:
        graphics->PromptForFile(&mSaveFileName, kActionSaveFile, &mSaveFolder, mSaveExtensions.Get());
        break;
      default:
        return;
    }
    // A cancelled dialog is announced too, with an empty file name, which
    // the plug-in takes as nothing chosen.
    mPlug->OnParamChange(e.param);
    return;
  }
  if (e.param < 0 || e.isSubmenu) return;
  StoreValue(e.param, mMainMenu.IsItemChecked(item) ? 0.0 : 1.0);
}

void IAnalyzerMenu::StoreValue(int paramIdx, double value) {
  IParam* param = mPlug->GetParam(paramIdx);
  if (!param) return;
  // A state save on another thread sees the value and what the plug-in
  // made of it change together.
  WDL_MutexLock lock(mPlug->GetMutex());
  param->Set(value);
  mPlug->OnParamChange(paramIdx);
}
