#include "rtas/library/CPluginControl_List.h"

#include <gtest/gtest.h>

#include "ControlTestHelpers.h"
#include "rtas/library/ControlValue.h"
#include "rtas/library/FourCC.h"

namespace {

CPluginControl_List FilterTypes() {
  return CPluginControl_List(FourCC("type"), "Type", {"Low Cut\nLoCut", "High Shelf\nHiShf", "Peak"}, 2, true);
}

int32_t Index(int32_t value) { return ControlValueToInt(value, 0, 2); }

}  // namespace

TEST(CPluginControl_List, RangeIsTheItemsAndTheDefaultApplied) {
  const CPluginControl_List control = FilterTypes();
  EXPECT_EQ(control.GetMin(), 0);
  EXPECT_EQ(control.GetMax(), 2);
  EXPECT_EQ(control.GetNumSteps(), 3);
  EXPECT_EQ(Index(control.GetValue()), 2);
}

TEST(CPluginControl_List, ItemTextsInTheFormThatFits) {
  const CPluginControl_List control = FilterTypes();
  EXPECT_EQ(ValueText(control, IntToControlValue(0, 0, 2), 31), "Low Cut");
  EXPECT_EQ(ValueText(control, IntToControlValue(1, 0, 2), 31), "High Shelf");
  EXPECT_EQ(ValueText(control, IntToControlValue(1, 0, 2), 5), "HiShf");
  EXPECT_EQ(ValueText(control, IntToControlValue(1, 0, 2), 3), "HiS");
  EXPECT_EQ(ValueText(control, std::numeric_limits<int32_t>::max(), 31), "Peak");
}

TEST(CPluginControl_List, TypedTextMatchesAnItemIgnoringCaseElseReadsAnIndex) {
  const CPluginControl_List control = FilterTypes();
  struct Row {
    const char* text;
    int32_t index;
  };
  const Row rows[] = {
      {"low cut", 0}, {"LOCUT", 0},  {"lo", 0},  // shorter than every form: the start of the last
      {"hishf", 1},   {"HIGH SHELF", 1}, {"peak", 2}, {"1", 1}, {"9", 2}, {"nothing", 0},
  };
  for (const Row& row : rows) EXPECT_EQ(Index(control.ConvertStringToValue(row.text)), row.index) << row.text;
  // Round trip of each item's own text.
  for (int32_t i = 0; i <= 2; ++i) {
    const std::string text = ValueText(control, IntToControlValue(i, 0, 2), 31);
    EXPECT_EQ(Index(control.ConvertStringToValue(text.c_str())), i);
  }
}

TEST(CPluginControl_List, AnEmptyListShowsNothing) {
  const CPluginControl_List control(FourCC("none"), "None", {}, 0, true);
  EXPECT_EQ(ValueText(control, 0, 31), "");
  EXPECT_EQ(ValueText(control, std::numeric_limits<int32_t>::max(), 31), "");
}

TEST(CPluginControl_List, AcceptsEveryKeyButTwo) {
  std::set<int> expected;
  for (int key = 0; key < 256; ++key) {
    if (key != 30 && key != 31) expected.insert(key);
  }
  EXPECT_EQ(AcceptedKeys(FilterTypes()), expected);
}
