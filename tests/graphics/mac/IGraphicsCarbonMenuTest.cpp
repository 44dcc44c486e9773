#include <gtest/gtest.h>

#include "framework/IPopupMenu.h"
#include "tests/graphics/mac/MacWindowFixture.h"

namespace {

class CarbonMenu : public MacWindowFixture {
 protected:
  void SetUp() override { OpenCarbon(true, 4, 6); }

  // The texts of the menu the backend was last asked to show.
  std::vector<std::string> ShownTexts() {
    std::vector<std::string> texts;
    if (Log().menus.empty()) return texts;
    for (const platform::MenuTree::Item& item : Log().menus.back().menu->items) {
      texts.push_back(item.separator ? "-" : item.text);
    }
    return texts;
  }
};

TEST_F(CarbonMenu, ItemsAreNumberedByPositionAndASeparatorUsesUpANumber) {
  IPopupMenu menu;
  menu.SetPrefix(IPopupMenu::kPrefix2Digits);
  menu.AddItem("Bell");
  menu.AddSeparator();
  for (const char* text : {"Low Shelf", "High Shelf", "Notch", "Band Pass", "Low Pass", "High Pass", "Tilt", "Flat"}) {
    menu.AddItem(text);
  }
  IRECT area(10, 20, 60, 30);
  EXPECT_EQ(graphics->CreateIPopupMenu(&menu, &area), nullptr);
  const std::vector<std::string> shown = ShownTexts();
  ASSERT_EQ(shown.size(), 10u);
  EXPECT_EQ(shown[0], "01: Bell");
  EXPECT_EQ(shown[1], "-");
  EXPECT_EQ(shown[2], "03: Low Shelf");
  EXPECT_EQ(shown[9], "10: Flat");
  // Just below the area, in global coordinates: content (100, 50), offsets (4, 6).
  EXPECT_EQ(Log().menus.back().topLeft.x, 100 + 4 + 10);
  EXPECT_EQ(Log().menus.back().topLeft.y, 50 + 6 + 30 + 5);
}

TEST_F(CarbonMenu, FlagsBecomeDisabledCheckedAndSectionTitleItems) {
  IPopupMenu menu;
  menu.AddItem("Off", -1, IPopupMenuItem::kDisabled);
  menu.AddItem("Filters", -1, IPopupMenuItem::kIndented);
  menu.AddItem("Bell", -1, IPopupMenuItem::kChecked);
  IRECT area(0, 0, 10, 10);
  graphics->CreateIPopupMenu(&menu, &area);
  ASSERT_EQ(Log().menus.size(), 1u);
  const auto& items = Log().menus.back().menu->items;
  ASSERT_EQ(items.size(), 3u);
  EXPECT_FALSE(items[0].enabled);
  EXPECT_TRUE(items[1].header);
  EXPECT_TRUE(items[2].checked);
  EXPECT_FALSE(items[0].checked);
  EXPECT_TRUE(items[2].enabled);
}

TEST_F(CarbonMenu, AChoiceInASubmenuReturnsTheSubmenuWithTheChosenIndex) {
  IPopupMenu types;
  types.AddItem("Bell");
  types.AddItem("Notch", -1, IPopupMenuItem::kChecked);
  IPopupMenu menu;
  menu.SetPrefix(IPopupMenu::kPrefix1Digit);
  menu.AddItem("Solo");
  menu.AddSubmenu("Type", &types);
  const int menusBefore = platform::LiveMenuCount();

  platform::ScriptAnswer(platform::MenuItemChoice("2: Type", 1));
  IRECT area(0, 0, 10, 10);
  EXPECT_EQ(graphics->CreateIPopupMenu(&menu, &area), &types);
  EXPECT_EQ(types.GetChosenItemIdx(), 1);
  EXPECT_EQ(menu.GetChosenItemIdx(), -1);

  platform::ScriptAnswer(platform::MenuItemChoice("", 0));
  EXPECT_EQ(graphics->CreateIPopupMenu(&menu, &area), &menu);
  EXPECT_EQ(menu.GetChosenItemIdx(), 0);
  // Every Carbon menu built for the popups is gone again.
  EXPECT_EQ(platform::LiveMenuCount(), menusBefore);
}

TEST_F(CarbonMenu, NothingChosenAndAnEmptyMenuGiveNull) {
  IPopupMenu empty;
  IRECT area(0, 0, 10, 10);
  EXPECT_EQ(graphics->CreateIPopupMenu(&empty, &area), nullptr);
  EXPECT_TRUE(Log().menus.empty());

  IPopupMenu menu;
  menu.AddItem("Bell");
  platform::ScriptAnswer(platform::CancelAnswer(platform::ScriptedAnswer::kMenu));
  EXPECT_EQ(graphics->CreateIPopupMenu(&menu, &area), nullptr);
  EXPECT_EQ(menu.GetChosenItemIdx(), -1);
}

TEST_F(CarbonMenu, AMenuHoldingItselfIsBuiltOnlySoDeep) {
  IPopupMenu menu;
  menu.AddItem("Again");
  menu.AddSubmenu("More", &menu);
  const int menusBefore = platform::LiveMenuCount();
  IRECT area(0, 0, 10, 10);
  EXPECT_EQ(graphics->CreateIPopupMenu(&menu, &area), nullptr);
  EXPECT_EQ(Log().menus.size(), 1u);
  EXPECT_EQ(platform::LiveMenuCount(), menusBefore);
}

TEST_F(CarbonMenu, AChoiceArrivingAfterTheEditorClosedChangesNothing) {
  graphics->AttachPanelBackground(&kColorBlack);
  ProbeControl* mode = Add(IRECT(10, 10, 60, 30), GraphicsTestPlug::kMode);
  mode->SetPromptDisabled(false);
  const double before = plug.GetParam(GraphicsTestPlug::kMode)->Value();
  platform::ScriptedAnswer choice = platform::MenuItemChoice("", 2);
  choice.before = [this] { graphics->CloseWindow(); };
  platform::ScriptAnswer(choice);

  // A right click opens the value's menu.
  Pointer(platform::PointerInput::kDown, 20, 20, 0, 2);
  ASSERT_EQ(Log().menus.size(), 1u);
  EXPECT_FALSE(graphics->WindowIsOpen());
  EXPECT_EQ(plug.GetParam(GraphicsTestPlug::kMode)->Value(), before);
  EXPECT_TRUE(plug.EditsBalanced());
}

TEST_F(CarbonMenu, TheValuesMenuSetsTheParameterWhenTheEditorStaysOpen) {
  graphics->AttachPanelBackground(&kColorBlack);
  ProbeControl* mode = Add(IRECT(10, 10, 60, 30), GraphicsTestPlug::kMode);
  mode->SetPromptDisabled(false);
  platform::ScriptAnswer(platform::MenuItemChoice("", 2));
  Pointer(platform::PointerInput::kDown, 20, 20, 0, 2);
  EXPECT_EQ(ShownTexts(), (std::vector<std::string>{"Low", "Mid", "High"}));
  EXPECT_EQ(plug.GetParam(GraphicsTestPlug::kMode)->Value(), 2.0);
}

}  // namespace
