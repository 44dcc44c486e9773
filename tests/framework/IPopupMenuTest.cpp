#include "framework/IPopupMenu.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Texts(const IPopupMenu& menu) {
  std::string texts;
  for (int i = 0; i < menu.GetNItems(); ++i) texts += std::string(menu.GetItemText(i)) + "|";
  return texts;
}

void AddThree(IPopupMenu& menu) {
  menu.AddItem("a");
  menu.AddItem("b");
  menu.AddItem("c");
}

}  // namespace

TEST(IPopupMenu, StartsEmptyWithNothingChosen) {
  IPopupMenu menu;
  EXPECT_EQ(menu.GetNItems(), 0);
  EXPECT_EQ(menu.GetPrefix(), IPopupMenu::kNoPrefix);
  EXPECT_EQ(menu.GetChosenItemIdx(), -1);
  EXPECT_EQ(menu.GetItem(0), nullptr);
  EXPECT_STREQ(menu.GetItemText(0), "");
}

TEST(IPopupMenu, InsertPositionsAreClampedAndMinusOneAppends) {
  struct Case { int pos; const char* texts; };
  const Case cases[] = {{0, "new|a|b|c|"}, {1, "a|new|b|c|"}, {3, "a|b|c|new|"}, {7, "a|b|c|new|"},
                        {-1, "a|b|c|new|"}, {-5, "new|a|b|c|"}};
  for (const Case& c : cases) {
    IPopupMenu menu;
    AddThree(menu);
    IPopupMenuItem* item = menu.AddItem("new", c.pos, IPopupMenuItem::kDisabled);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(Texts(menu), c.texts) << c.pos;
    EXPECT_EQ(item->GetFlags(), IPopupMenuItem::kDisabled);
    EXPECT_EQ(item->GetSubmenu(), nullptr);
  }
  IPopupMenu menu;
  AddThree(menu);
  ASSERT_TRUE(menu.InsertItem(new IPopupMenuItem("own", IPopupMenuItem::kIndented), 2));
  EXPECT_EQ(Texts(menu), "a|b|own|c|");
  EXPECT_TRUE(menu.GetItem(2)->GetIsIndented());
  EXPECT_FALSE(menu.InsertItem(nullptr, 0));
}

TEST(IPopupMenu, SeparatorsSubmenusAndNullTexts) {
  IPopupMenu sub;
  sub.AddItem("inner");
  {
    IPopupMenu menu;
    menu.AddItem(nullptr);
    IPopupMenuItem* separator = menu.AddSeparator(-1);
    IPopupMenuItem* entry = menu.AddSubmenu("More", &sub);
    EXPECT_STREQ(menu.GetItemText(0), "");
    EXPECT_STREQ(separator->GetText(), "");
    EXPECT_EQ(separator->GetFlags(), IPopupMenuItem::kSeparator);
    EXPECT_EQ(entry->GetSubmenu(), &sub);
    EXPECT_EQ(entry->GetFlags(), 0);
    EXPECT_EQ(menu.GetItem(2), entry);
    IPopupMenuItem* first = menu.AddSeparator(0);
    EXPECT_EQ(menu.GetItem(0), first);
  }
  // The submenu outlives the menu that pointed at it.
  EXPECT_STREQ(sub.GetItemText(0), "inner");
}

TEST(IPopupMenu, CheckingTouchesOnlyTheCheckedFlag) {
  IPopupMenu menu;
  menu.AddItem("a", -1, IPopupMenuItem::kDisabled);
  menu.AddItem("b", -1, IPopupMenuItem::kIndented);
  menu.AddItem("c", -1, IPopupMenuItem::kDisabled | IPopupMenuItem::kIndented);

  EXPECT_FALSE(menu.CheckItem(5, true));
  EXPECT_FALSE(menu.CheckItem(-1, true));
  EXPECT_FALSE(menu.IsItemChecked(5));
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(menu.IsItemChecked(i));

  EXPECT_TRUE(menu.CheckItem(0, true));
  EXPECT_TRUE(menu.CheckItem(2, true));
  menu.CheckItemAlone(1);
  EXPECT_FALSE(menu.IsItemChecked(0));
  EXPECT_TRUE(menu.IsItemChecked(1));
  EXPECT_FALSE(menu.IsItemChecked(2));
  EXPECT_EQ(menu.GetItem(0)->GetFlags(), IPopupMenuItem::kDisabled);
  EXPECT_EQ(menu.GetItem(1)->GetFlags(), IPopupMenuItem::kIndented | IPopupMenuItem::kChecked);
  EXPECT_EQ(menu.GetItem(2)->GetFlags(), IPopupMenuItem::kDisabled | IPopupMenuItem::kIndented);

  menu.CheckItemAlone(9);  // names no item: all cleared
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(menu.IsItemChecked(i));
  EXPECT_TRUE(menu.CheckItem(1, true));
  EXPECT_TRUE(menu.CheckItem(1, false));
  EXPECT_EQ(menu.GetItem(1)->GetFlags(), IPopupMenuItem::kIndented);
}

TEST(IPopupMenu, KeepsPrefixAndChoice) {
  IPopupMenu menu;
  menu.SetPrefix(IPopupMenu::kPrefix2Digits);
  menu.SetChosenItemIdx(4);
  EXPECT_EQ(menu.GetPrefix(), 2);
  EXPECT_EQ(menu.GetChosenItemIdx(), 4);
}
