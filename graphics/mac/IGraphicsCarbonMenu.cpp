#include <string>

#include "framework/IPopupMenu.h"
#include "graphics/IRECT.h"
#include "graphics/mac/IGraphicsCarbon.h"
#include "graphics/mac/MenuItemPrefix.h"
#include "platform/carboncore/Resources.h"

// Carbon popup menus built from IPopupMenus. Every menu carries its
// IPopupMenu in item 0's reference value, so that a choice made in a
// submenu finds the submenu it was made in.

namespace {

constexpr ResType kMenuResType = 0x4d454e55;  // 'MENU'
constexpr int kMaxMenuDepth = 32;

}  // namespace

MenuRef IGraphicsCarbon::CreateMenu(IPopupMenu* menu, int depth) {
  const int n = menu ? menu->GetNItems() : 0;
  if (n == 0 || depth > kMaxMenuDepth) return nullptr;
  MenuRef built = nullptr;
  if (CreateNewMenu(UniqueID(kMenuResType), kMenuAttrCondenseSeparators, &built) != noErr || !built) return nullptr;
  for (int i = 0; i < n; ++i) {
    const IPopupMenuItem* item = menu->GetItem(i);
    const MenuItemIndex position = static_cast<MenuItemIndex>(i + 1);
    if (item->GetIsSeparator()) {
      AppendMenuItemTextWithCFString(built, CFSTR(""), kMenuItemAttrSeparator, 0, nullptr);
      continue;
    }
    // Numbered by position, so a separator uses up a number too.
    const std::string text = PrefixedItemText(menu->GetPrefix(), i + 1, item->GetText());
    CFStringRef title = CFStringCreateWithCString(nullptr, text.c_str(), kCFStringEncodingUTF8);
    MenuItemAttributes attributes = kMenuItemAttrIgnoreMeta;
    if (!item->GetEnabled()) attributes |= kMenuItemAttrDisabled;
    if (item->GetIsIndented()) attributes |= kMenuItemAttrSectionHeader;
    InsertMenuItemTextWithCFString(built, title, static_cast<MenuItemIndex>(i), attributes, 0);
    CFRelease(title);
    if (item->GetChecked()) CheckMenuItem(built, position, true);
    if (IPopupMenu* submenu = item->GetSubmenu()) {
      if (MenuRef sub = CreateMenu(submenu, depth + 1)) {
        SetMenuItemHierarchicalMenu(built, position, sub);
        ReleaseMenu(sub);
      }
    }
  }
  SetMenuItemRefCon(built, 0, reinterpret_cast<uintptr_t>(menu));
  InsertMenu(built, hierMenu);
  return built;
}

IPopupMenu* IGraphicsCarbon::CreateIPopupMenu(IPopupMenu* menu, IRECT* area) {
  if (!area) return nullptr;
  MenuRef built = CreateMenu(menu);
  if (!built) return nullptr;
  Rect content{0, 0, 0, 0};
  GetWindowBounds(mWindow, kWindowContentRgn, &content);
  // Just below the control's area.
  const int16_t left = static_cast<int16_t>(content.left + mLeftOffset + area->L);
  const int16_t top = static_cast<int16_t>(content.top + mTopOffset + area->B + 5);
  // The menu runs its own loop, in which this view may go: only locals
  // from here on.
  const int32_t answer = PopUpMenuSelect(built, top, left, 1);
  IPopupMenu* chosen = nullptr;
  if (answer >= 0x10000) {
    const MenuID id = static_cast<MenuID>(answer >> 16);
    const int item = answer & 0xFFFF;
    uintptr_t refCon = 0;
    MenuRef holder = GetMenuHandle(id);
    if (holder && GetMenuItemRefCon(holder, 0, &refCon) == noErr && refCon) {
      chosen = reinterpret_cast<IPopupMenu*>(refCon);
      chosen->SetChosenItemIdx(item - 1);
    }
  }
  ReleaseMenu(built);
  return chosen;
}
