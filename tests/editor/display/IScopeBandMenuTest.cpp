#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "plugin/engine/BandTypes.h"
#include "tests/editor/display/ScopeFixture.h"

namespace {

constexpr int kDisabled = IPopupMenuItem::kDisabled;
constexpr int kChecked = IPopupMenuItem::kChecked;
constexpr int kSeparator = IPopupMenuItem::kSeparator;

class BandMenu : public ScopeFixture {
 protected:
  const IPopupMenu& Build(int b) {
    scope.BuildBandMenu(b, typeMap);
    return *scope.mBandMenu;
  }
  std::string Text(int item) const { return scope.mBandMenu->GetItemText(item); }
  int Flags(const IPopupMenu& menu, int item) const { return menu.GetItem(item)->GetFlags(); }
  // The command for item i chosen in menu, and its value.
  std::pair<int, int> Choose(IPopupMenu* menu, int i) {
    menu->SetChosenItemIdx(i);
    int value = -99;
    const int code = scope.BandMenuCommand(menu, typeMap, &value);
    return {code, value};
  }

  std::vector<int> typeMap;
};

TEST_F(BandMenu, TwentyItemsFromTheBandsValues) {
  active[11] = 1;
  type[11] = kTypeDLowCut;
  chMode[11] = 3;
  slope[11] = 1;
  freq[11] = 261.63;
  gain[11] = -3.25;
  q[11] = 1.41421;
  solo[11] = 1;
  const IPopupMenu& menu = Build(11);
  ASSERT_EQ(menu.GetNItems(), 20);
  const struct {
    int item;
    const char* text;
    int flags;
  } rows[] = {
      {0, "Filter 12", kChecked},
      {1, "", kSeparator},
      {2, "Type : D - Low Cut", kDisabled},
      {3, "Channel : Mid", kDisabled},
      {4, "Slope : 12 dB", kDisabled},
      {5, "Freq. : 261.63 Hz (C 4  +0C)", kDisabled},
      {6, "Gain : -3.25 dB", kDisabled},
      {7, "Q : 1.414", kDisabled},
      {8, "", kSeparator},
      {9, "Type", 0},
      {10, "Channel", 0},
      {11, "Slope", 0},
      {12, "", kSeparator},
      {13, "Solo", kChecked},
      {14, "Reset", 0},
      {15, "", kSeparator},
      {16, "Invert Gain", kDisabled},  // a cut has no gain
      {17, "Invert Gain All", kDisabled},
      {18, "", kSeparator},
      {19, "Move Out", 0},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(Text(r.item), r.text) << r.item;
    EXPECT_EQ(Flags(menu, r.item), r.flags) << r.item;
  }
  EXPECT_EQ(menu.GetItem(9)->GetSubmenu(), scope.mTypeMenu.get());
  EXPECT_EQ(menu.GetItem(10)->GetSubmenu(), scope.mChannelMenu.get());
  EXPECT_EQ(menu.GetItem(11)->GetSubmenu(), scope.mSlopeMenu.get());

  // Switched off and not soloed: neither line is ticked.
  active[11] = 0;
  solo[11] = 0;
  const IPopupMenu& off = Build(11);
  EXPECT_EQ(Flags(off, 0), 0);
  EXPECT_EQ(Flags(off, 13), 0);
  EXPECT_EQ(off.GetNItems(), 20);  // a new showing starts from empty menus
}

TEST_F(BandMenu, FrequencyLineKeepsFiveSignificantDigits) {
  const struct {
    double hz;
    const char* number;
  } rows[] = {{10000.0, "10000"}, {9999.0, "9999.0"}, {1000.0, "1000.0"}, {999.5, "999.5"},
              {999.0, "999.00"},  {100.0, "100.00"}, {99.0, "99.000"},   {12.3456, "12.346"}};
  for (const auto& r : rows) {
    freq[0] = r.hz;
    Build(0);
    const std::string prefix = std::string("Freq. : ") + r.number + " Hz (";
    EXPECT_EQ(Text(5).substr(0, prefix.size()), prefix) << r.hz;
  }
  freq[0] = 440.0;
  Build(0);
  EXPECT_EQ(Text(5), "Freq. : 440.00 Hz (A 4  +0C)");
}

TEST_F(BandMenu, TypeSubmenuPartsTheTwoFamiliesAndMapsItemsToTypes) {
  type[0] = kTypeDPeak;
  Build(0);
  IPopupMenu* types = scope.mTypeMenu.get();
  ASSERT_EQ(types->GetNItems(), 17);
  EXPECT_STREQ(types->GetItemText(8), "A - Notch");
  EXPECT_TRUE(types->GetItem(9)->GetIsSeparator());
  EXPECT_STREQ(types->GetItemText(10), "D - Peak");
  EXPECT_STREQ(types->GetItemText(16), "D - Band Pass");
  for (int i = 0; i < 17; ++i) EXPECT_EQ(types->IsItemChecked(i), i == 10) << i;

  EXPECT_EQ(Choose(types, 10), std::make_pair(int{GraphEventRecord::kCommandType}, 9));
  EXPECT_EQ(Choose(types, 3), std::make_pair(int{GraphEventRecord::kCommandType}, 3));
  EXPECT_EQ(Choose(types, 16), std::make_pair(int{GraphEventRecord::kCommandType}, 15));
  // The separator and indices the menu lacks stand for no type.
  for (int i : {9, 17, 40, -1}) EXPECT_EQ(Choose(types, i).first, GraphEventRecord::kCommandNone) << i;
}

TEST_F(BandMenu, ChannelAndSlopeChoicesReportTheirIndex) {
  chMode[2] = 4;
  slope[2] = 15;
  type[2] = kTypeDHighShelf;
  Build(2);
  IPopupMenu* channels = scope.mChannelMenu.get();
  IPopupMenu* slopes = scope.mSlopeMenu.get();
  ASSERT_EQ(channels->GetNItems(), 5);
  ASSERT_EQ(slopes->GetNItems(), 16);
  EXPECT_TRUE(channels->IsItemChecked(4));
  EXPECT_TRUE(slopes->IsItemChecked(15));
  EXPECT_STREQ(slopes->GetItemText(0), " 6 dB");
  EXPECT_EQ(Choose(channels, 1), std::make_pair(int{GraphEventRecord::kCommandChannel}, 1));
  EXPECT_EQ(Choose(slopes, 7), std::make_pair(int{GraphEventRecord::kCommandSlope}, 7));
  EXPECT_EQ(Choose(channels, 5).first, GraphEventRecord::kCommandNone);
  EXPECT_EQ(Choose(slopes, 16).first, GraphEventRecord::kCommandNone);
}

TEST_F(BandMenu, SlopeAndInvertFollowTheType) {
  // "A - " types without stages of their own grey "Slope"; types without a
  // gain grey both invert items.
  const bool slopeGreyed[16] = {true, false, false, true, true, true, true, false,
                                false, false, false, false, false, false, false, false};
  const bool invertGreyed[16] = {false, true, true, false, false, false, false, true,
                                 true, false, true, true, false, false, false, true};
  for (int t = 0; t < 16; ++t) {
    type[1] = t;
    const IPopupMenu& menu = Build(1);
    const IPopupMenuItem* slopeItem = menu.GetItem(11);
    EXPECT_STREQ(slopeItem->GetText(), "Slope");
    EXPECT_EQ(slopeItem->GetSubmenu() == nullptr, slopeGreyed[t]) << t;
    EXPECT_EQ(slopeItem->GetFlags(), slopeGreyed[t] ? kDisabled : 0) << t;
    EXPECT_EQ(Flags(menu, 16), invertGreyed[t] ? kDisabled : 0) << t;
    EXPECT_EQ(Flags(menu, 17), invertGreyed[t] ? kDisabled : 0) << t;
  }
}

TEST_F(BandMenu, CommandsOfTheBandMenuItself) {
  Build(0);
  IPopupMenu* menu = scope.mBandMenu.get();
  const int commands[20] = {GraphEventRecord::kCommandBandLine, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                            GraphEventRecord::kCommandSolo, GraphEventRecord::kCommandReset, -1,
                            GraphEventRecord::kCommandInvertGain, GraphEventRecord::kCommandInvertGainAll, -1,
                            GraphEventRecord::kCommandMoveOut};
  for (int i = 0; i < 20; ++i) EXPECT_EQ(Choose(menu, i).first, commands[i]) << i;
  EXPECT_EQ(Choose(menu, 20).first, GraphEventRecord::kCommandNone);
  int value = 0;
  EXPECT_EQ(scope.BandMenuCommand(nullptr, typeMap, &value), GraphEventRecord::kCommandNone);
}

// ---- Showing the menu through the graphics core ------------------------------

class ShownBandMenu : public BandMenu {
 protected:
  ShownBandMenu() {
    PlaceBand(6, 2000.0, 4.5, kTypeAPeak);
    gui = plug.Gui();
  }
  void Click(const IMouseMod& mod, int b = 6) {
    IMouseMod m = mod;
    gui->mLastMouseMod = m;  // as the graphics core records every event
    scope.OnMouseDown(Centre(b).x, Centre(b).y, &m);
  }
  IScope::Point Centre(int b) const { return scope.mHandleCentre[b]; }
  void ChooseSubmenu(int item, int subItem) {
    gui->mPopupChoice = item;
    gui->mSubmenuChoice = subItem;
  }

  ScopeFakeGraphics* gui = nullptr;
};

TEST_F(ShownBandMenu, RightClickOnAHandleShowsItThereAndReportsTheChoiceOnce) {
  ChooseSubmenu(9, 10);  // Type, "D - Peak"
  Click(IMouseMod(false, true));
  EXPECT_EQ(gui->mPopups, 1);
  EXPECT_EQ(Edges(gui->mPopupArea), Edges(scope.mHandleRect[6]));
  ASSERT_EQ(gui->mPopupItems.size(), 20u);
  EXPECT_EQ(gui->mPopupItems[0], "Filter 7*");
  const ScopeTestPlug::Notification& n = OnlyNote();
  EXPECT_EQ(n.event.mMenuAction, GraphEventRecord::kCommandType);
  EXPECT_EQ(n.event.mMenuValue, kTypeDPeak);
  EXPECT_EQ(n.event.mHitBand, 6);
  // The flags of the click that opened it; the plug-in sees a left click.
  EXPECT_TRUE(n.event.mEvMenu);
  EXPECT_FALSE(n.event.mEvDown);
  EXPECT_TRUE(n.lastMod.L);
  EXPECT_TRUE(n.lastMod.R);
  EXPECT_EQ(EventFlagsSet(scope.mEvent), 0);
}

TEST_F(ShownBandMenu, ShiftControlClickReportsWithTheDownFlag) {
  gui->mPopupChoice = 14;  // "Reset"
  Click(IMouseMod(true, false, true, true));
  const ScopeTestPlug::Notification& n = OnlyNote();
  EXPECT_EQ(n.event.mMenuAction, GraphEventRecord::kCommandReset);
  EXPECT_TRUE(n.event.mEvDown);
  EXPECT_FALSE(n.event.mEvMenu);
  EXPECT_TRUE(n.lastMod.S && n.lastMod.C && n.lastMod.L);
}

TEST_F(ShownBandMenu, NothingChosenOrNoHandleReportsNothing) {
  const struct {
    const char* name;
    int item, subItem;
  } rows[] = {{"dismissed", -1, -1}, {"a read-only line", 5, -1}, {"a separator", 12, -1},
              {"a submenu title", 10, -1}, {"the Type separator", 9, 9}, {"greyed Slope", 11, 3}};
  for (const auto& r : rows) {
    ChooseSubmenu(r.item, r.subItem);
    Click(IMouseMod(false, true));
    EXPECT_TRUE(plug.mNotes.empty()) << r.name;
  }
  // Off the handles no menu opens at all.
  const int shown = gui->mPopups;
  IMouseMod right(false, true);
  scope.OnMouseDown(440, 150, &right);
  EXPECT_EQ(gui->mPopups, shown);
  EXPECT_TRUE(plug.mNotes.empty());
}

TEST_F(ShownBandMenu, HoverWhileTheMenuIsOpenIsToldAsHoverAlone) {
  PlaceBand(2, 100.0, -6.0);
  gui->mPopupChoice = 13;  // "Solo"
  // The platform passes the mouse over another handle before the choice.
  gui->mDuringPopup = [&] {
    IMouseMod none(false);
    scope.OnMouseOver(Centre(2).x, Centre(2).y, &none);
  };
  Click(IMouseMod(true, false, true, true));
  ASSERT_EQ(plug.mNotes.size(), 2u);
  const GraphEventRecord& hover = plug.mNotes[0].event;
  EXPECT_TRUE(hover.mEvHover);
  EXPECT_EQ(EventFlagsSet(hover), 1);
  EXPECT_EQ(hover.mMenuAction, GraphEventRecord::kCommandNone);
  EXPECT_EQ(hover.mHitBand, 2);
  // The choice still belongs to the band the menu was opened for.
  const GraphEventRecord& choice = plug.mNotes[1].event;
  EXPECT_EQ(choice.mMenuAction, GraphEventRecord::kCommandSolo);
  EXPECT_EQ(choice.mHitBand, 6);
  EXPECT_TRUE(choice.mEvDown);
}

TEST_F(ShownBandMenu, ALaterShiftControlPressFindsNoOldCommand) {
  gui->mPopupChoice = 17;  // "Invert Gain All"
  Click(IMouseMod(false, true));
  ASSERT_EQ(OnlyNote().event.mMenuAction, GraphEventRecord::kCommandInvertGainAll);
  // Shift and Control held with neither button (a third button): a plain press.
  plug.mNotes.clear();
  Click(IMouseMod(false, false, true, true));
  EXPECT_TRUE(OnlyNote().event.mEvDown);
  EXPECT_EQ(OnlyNote().event.mMenuAction, GraphEventRecord::kCommandNone);
}

}  // namespace
