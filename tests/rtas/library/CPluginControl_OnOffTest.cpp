#include "rtas/library/CPluginControl_OnOff.h"

#include <gtest/gtest.h>

#include <limits>

#include "ControlTestHelpers.h"
#include "rtas/library/FourCC.h"

namespace {

constexpr int32_t kBottom = std::numeric_limits<int32_t>::min();
constexpr int32_t kTop = std::numeric_limits<int32_t>::max();

}  // namespace

TEST(CPluginControl_OnOff, ShowsTheStateTextOrADigit) {
  const CPluginControl_OnOff control(FourCC("bypa"), "Master Bypass", 0, true);
  struct Row {
    int32_t value;
    int32_t maxLength;
    const char* text;
  };
  // Values from 0 up map to 1: 0 lies a hair above the middle of the range.
  const Row rows[] = {{kTop, 31, "On"}, {0, 31, "On"}, {-1, 31, "Off"}, {kBottom, 31, "Off"},
                      {kTop, 2, "On"},  {kBottom, 2, "Of"}, {kTop, 1, "1"}, {kBottom, 1, "0"}, {kTop, 0, ""}};
  for (const Row& row : rows) EXPECT_EQ(ValueText(control, row.value, row.maxLength), row.text) << row.value;
  EXPECT_EQ(control.GetValue(), kBottom);
  EXPECT_EQ(control.GetNumSteps(), 2);
}

TEST(CPluginControl_OnOff, TextsComeInPairs) {
  const CPluginControl_OnOff custom(FourCC("solo"), "Solo", 1, true, "Soloed", "Normal");
  EXPECT_EQ(ValueText(custom, kTop, 31), "Soloed");
  EXPECT_EQ(ValueText(custom, kBottom, 31), "Normal");
  EXPECT_EQ(custom.GetValue(), kTop);
  const CPluginControl_OnOff half(FourCC("solo"), "Solo", 0, true, "Soloed", nullptr);
  EXPECT_EQ(half.GetOnText(), "On");
  EXPECT_EQ(half.GetOffText(), "Off");
  const CPluginControl_OnOff longTexts(FourCC("long"), "Long", 0, true, std::string(300, 'x').c_str(), "y");
  EXPECT_EQ(longTexts.GetOnText().size(), 254u);
}

TEST(CPluginControl_OnOff, ReadsItsTextsIgnoringCaseAndDigits) {
  const CPluginControl_OnOff control(FourCC("bypa"), "Master Bypass", 0, true);
  struct Row {
    const char* text;
    int32_t value;
  };
  const Row rows[] = {{"on", kTop}, {"ON", kTop}, {"OFF", kBottom}, {"off", kBottom},
                      {"1", kTop},  {"0", kBottom}, {"5", kTop}, {"maybe", kBottom}};
  for (const Row& row : rows) EXPECT_EQ(control.ConvertStringToValue(row.text), row.value) << row.text;
}

TEST(CPluginControl_OnOff, AcceptsTheDiscreteKeysAndTheLettersOfOnAndOff) {
  const CPluginControl_OnOff control(FourCC("bypa"), "Master Bypass", 0, true);
  std::set<int> expected = Digits();
  expected.insert({8, 28, 29, '+', '-', '.', ':', '|', 'n', 'o', 'O'});
  EXPECT_EQ(AcceptedKeys(control), expected);
}
