#include "platform/hitoolbox/Menus.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/hitoolbox/Events.h"
#include "platform/carboncore/Resources.h"
#include "platform/quickdraw/DrawLog.h"
#include "platform/windowserver/HeadlessBackend.h"
#include "platform/windowserver/ScriptedAnswers.h"

namespace {

std::vector<int16_t> gRequests;

// A definition whose rows are 10 pixels high, 3 of them, 50 wide.
void Definition(int16_t message, MenuRef menu, Rect* menuRect, Point hitPt, int16_t* whichItem) {
  gRequests.push_back(message);
  switch (message) {
    case kMenuSizeMsg:
      SetMenuWidth(menu, 50);
      SetMenuHeight(menu, 30);
      break;
    case kMenuPopUpMsg:
      *menuRect = Rect{hitPt.v, hitPt.h, static_cast<int16_t>(hitPt.v + 30), static_cast<int16_t>(hitPt.h + 50)};
      break;
    case kMenuDrawMsg:
      EraseRect(menuRect);
      break;
    case kMenuFindItemMsg:
      *whichItem = PtInRect(hitPt, menuRect) ? static_cast<int16_t>((hitPt.v - menuRect->top) / 10 + 1) : 0;
      break;
    default:
      break;
  }
}

}  // namespace

TEST(StandInMenus, ACustomDefinitionIsSizedPlacedDrawnAndTracked) {
  platform::ResetEvents();
  platform::ResetMenus();
  gRequests.clear();
  MenuRef menu = nullptr;
  const MenuDefSpec def{kMenuDefProcPtr, Definition};
  ASSERT_EQ(CreateCustomMenu(&def, 1000, 0, &menu), noErr);
  int marker = 0;
  SetMenuItemRefCon(menu, 0, reinterpret_cast<uintptr_t>(&marker));
  InsertMenu(menu, hierMenu);
  EXPECT_EQ(GetMenuHandle(1000), menu);
  platform::ScriptMouse(Point{100, 200}, true, {{Point{105, 210}, true}, {Point{125, 210}, true}, {Point{125, 210}, false}});
  const int32_t answer = PopUpMenuSelect(menu, 100, 200, 1);
  EXPECT_EQ(answer, (1000 << 16) | 3);
  EXPECT_EQ(gRequests, (std::vector<int16_t>{kMenuSizeMsg, kMenuPopUpMsg, kMenuDrawMsg, kMenuFindItemMsg,
                                             kMenuHiliteItemMsg, kMenuFindItemMsg, kMenuHiliteItemMsg}));
  // The menu's port has global coordinates.
  GrafPtr port = platform::LastMenuPort();
  ASSERT_NE(port, nullptr);
  ASSERT_EQ(platform::PortLog(port).size(), 1u);
  EXPECT_EQ(platform::PortLog(port)[0].rect, (Rect{100, 200, 130, 250}));
  uintptr_t refCon = 0;
  GetMenuItemRefCon(menu, 0, &refCon);
  EXPECT_EQ(refCon, reinterpret_cast<uintptr_t>(&marker));

  // A scripted choice wins over the mouse; 0 means nothing chosen.
  platform::ScriptMenuChoice(0);
  EXPECT_EQ(PopUpMenuSelect(menu, 0, 0, 1), 0);
  SetItemMark(menu, 2, checkMark);
  int16_t mark = 0;
  GetItemMark(menu, 2, &mark);
  EXPECT_EQ(mark, checkMark);
  DeleteMenu(1000);
  EXPECT_EQ(GetMenuHandle(1000), nullptr);
  DisposeMenu(menu);
  EXPECT_EQ(platform::LiveMenuCount(), 0);
}

TEST(StandInMenus, TheSystemFontAndTheScreen) {
  platform::ResetMenus();
  LMSetSysFontFam(3);
  LMSetSysFontSize(9);
  EXPECT_EQ(LMGetSysFontFam(), 3);
  EXPECT_EQ(LMGetSysFontSize(), 9);
  EXPECT_EQ(platform::MenuCalls().back().kind, platform::MenuCallKind::kSysFont);
  platform::SetScreenBounds(Rect{0, 0, 480, 640});
  Rect gray;
  GetRegionBounds(GetGrayRgn(), &gray);
  EXPECT_EQ(gray, (Rect{0, 0, 480, 640}));
  EXPECT_EQ((*GetDeviceList())->gdRect, gray);
  platform::ResetMenus();
  EXPECT_EQ(LMGetSysFontSize(), 12);
}

namespace {

CFStringRef Text(const char* text) { return CFStringMakeConstantString(text); }

}  // namespace

TEST(StandInMenus, AStandardMenuIsShownByTheWindowServerAndAnswersForTheSubmenuChosenIn) {
  platform::ResetMenus();
  platform::ResetWindowServer();
  const int live = platform::LiveMenuCount();
  MenuRef top = nullptr, sub = nullptr;
  CreateNewMenu(300, 0, &top);
  CreateNewMenu(301, 0, &sub);
  AppendMenuItemTextWithCFString(top, Text("Solo"), 0, 0, nullptr);
  AppendMenuItemTextWithCFString(top, Text(""), kMenuItemAttrSeparator, 0, nullptr);
  InsertMenuItemTextWithCFString(top, Text("Type"), 2, kMenuItemAttrDisabled, 0);
  AppendMenuItemTextWithCFString(sub, Text("Bell"), 0, 0, nullptr);
  AppendMenuItemTextWithCFString(sub, Text("Notch"), 0, 0, nullptr);
  CheckMenuItem(sub, 2, true);
  ASSERT_EQ(SetMenuItemHierarchicalMenu(top, 3, sub), noErr);
  ReleaseMenu(sub);  // the item holds it now
  InsertMenu(top, hierMenu);
  InsertMenu(sub, hierMenu);

  platform::ScriptAnswer(platform::MenuItemChoice("Type", 1));
  EXPECT_EQ(PopUpMenuSelect(top, 40, 30, 1), (301 << 16) | 2);
  const auto& shown = platform::Headless()->Log().menus.back();
  EXPECT_EQ(shown.topLeft.x, 30);
  EXPECT_EQ(shown.topLeft.y, 40);
  ASSERT_EQ(shown.menu->items.size(), 3u);
  EXPECT_TRUE(shown.menu->items[1].separator);
  EXPECT_FALSE(shown.menu->items[2].enabled);
  EXPECT_TRUE(shown.menu->items[2].submenu->items[1].checked);
  // Nothing scripted: nothing chosen.
  EXPECT_EQ(PopUpMenuSelect(top, 40, 30, 1), 0);

  ReleaseMenu(top);
  EXPECT_EQ(platform::LiveMenuCount(), live);
  EXPECT_EQ(GetMenuHandle(301), nullptr);
}

TEST(StandInMenus, ItemTextsAttributesAndUniqueIds) {
  MenuRef menu = nullptr;
  CreateNewMenu(UniqueID(0x4d454e55), 0, &menu);
  AppendMenuItemTextWithCFString(menu, Text("b"), 0, 0, nullptr);
  MenuItemIndex first = 0;
  InsertMenuItemTextWithCFString(menu, Text("a"), 0, kMenuItemAttrSectionHeader, 0);
  AppendMenuItemTextWithCFString(menu, Text("c"), 0, 0, &first);
  EXPECT_EQ(first, 3);
  EXPECT_EQ(GetMenuItemTextString(menu, 1), "a");
  EXPECT_EQ(GetMenuItemTextString(menu, 2), "b");
  EXPECT_EQ(GetMenuItemAttributes(menu, 1), kMenuItemAttrSectionHeader);
  EXPECT_EQ(SetMenuItemHierarchicalMenu(menu, 9, nullptr), menuItemNotFoundErr);
  EXPECT_NE(UniqueID(0x4d454e55), UniqueID(0x4d454e55));
  ReleaseMenu(menu);
}
