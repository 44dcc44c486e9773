#include "rtas/library/CPluginControl_Discrete.h"

#include <gtest/gtest.h>

#include <limits>

#include "ControlTestHelpers.h"
#include "rtas/library/ControlValue.h"
#include "rtas/library/FourCC.h"

namespace {

constexpr int32_t kBottom = std::numeric_limits<int32_t>::min();
constexpr int32_t kTop = std::numeric_limits<int32_t>::max();

// A control whose constructor does not apply a default.
class BareControl : public CPluginControl {
 public:
  BareControl() : CPluginControl(FourCC("bare"), "Bare") {}
  int32_t GetDefaultValue() const override { return 0; }
  int32_t GetNumSteps() const override { return 0; }
  int32_t ConvertStringToValue(const char*) const override { return 0; }
  bool IsKeyAcceptable(unsigned char) const override { return false; }
  bool IsContinuous() const override { return false; }
  void ConvertValueToString(char* buffer, int32_t, int32_t) const override { buffer[0] = 0; }
  bool IsAutomatable() const override { return false; }
};

}  // namespace

TEST(CPluginControl, ValueStartsAtTheBottomAndNameFormsFit) {
  BareControl bare;
  EXPECT_EQ(bare.GetValue(), kBottom);
  EXPECT_EQ(bare.GetID(), static_cast<uint32_t>(FourCC("bare")));
  EXPECT_EQ(bare.GetAttribute1(), 0);
  EXPECT_EQ(bare.GetAttribute2(), 0);

  CPluginControl_Discrete bypass(FourCC("bypa"), "Master Bypass\nMastrByp\nMByp\nByp", 0, 1, 0, true);
  char name[40];
  bypass.GetNameOfLength(name, 8, FourCC("PcTL"));
  EXPECT_STREQ(name, "MastrByp");
  bypass.GetNameOfLength(name, 31, 0);
  EXPECT_STREQ(name, "Master Bypass");
  bypass.GetNameOfLength(name, 2, 0);
  EXPECT_STREQ(name, "By");
  CPluginControl_Discrete unnamed(FourCC("none"), nullptr, 0, 1, 0, true);
  unnamed.GetNameOfLength(name, 31, 0);
  EXPECT_STREQ(name, "");
}

TEST(CPluginControl_Discrete, DefaultStepsAndFlags) {
  CPluginControl_Discrete control(FourCC("disc"), "Mode", 0, 3, 2, false);
  EXPECT_EQ(control.GetValue(), IntToControlValue(2, 0, 3));
  EXPECT_EQ(control.GetDefaultValue(), IntToControlValue(2, 0, 3));
  EXPECT_EQ(control.GetIntValue(), 2);
  EXPECT_EQ(control.GetNumSteps(), 4);
  EXPECT_FALSE(control.IsContinuous());
  EXPECT_FALSE(control.IsAutomatable());
  control.SetDefaultValue(kTop);
  EXPECT_EQ(control.GetDefaultValue(), kTop);

  CPluginControl_Discrete everything(FourCC("full"), "Full", kBottom, kTop, 0, true);
  EXPECT_EQ(everything.GetNumSteps(), kTop);  // 2^32 steps do not fit a count
  EXPECT_TRUE(everything.IsAutomatable());
}

TEST(CPluginControl_Discrete, TextRoundTripAtEndsAndMiddle) {
  CPluginControl_Discrete control(FourCC("disc"), "Offset", -1000, 1000, 0, true);
  for (int32_t n : {-1000, -1, 0, 1, 999, 1000}) {
    const std::string text = ValueText(control, control.IntToValue(n), 31);
    EXPECT_EQ(text, std::to_string(n));
    EXPECT_EQ(ControlValueToInt(control.ConvertStringToValue(text.c_str()), -1000, 1000), n);
  }
  EXPECT_EQ(ValueText(control, kBottom, 31), "-1000");
  EXPECT_EQ(ValueText(control, kTop, 31), "1000");
}

TEST(CPluginControl_Discrete, TooManyDigitsShowAStar) {
  CPluginControl_Discrete control(FourCC("disc"), "Offset", -1000, 1000, 0, true);
  EXPECT_EQ(ValueText(control, control.IntToValue(999), 3), "999");
  EXPECT_EQ(ValueText(control, control.IntToValue(1000), 3), "*");
  EXPECT_EQ(ValueText(control, control.IntToValue(-10), 2), "*");
  EXPECT_EQ(ValueText(control, control.IntToValue(5), 0), "");
}

TEST(CPluginControl_Discrete, TextIsReadAsAtolAndClamped) {
  CPluginControl_Discrete control(FourCC("disc"), "Mode", 0, 3, 0, true);
  struct Row {
    const char* text;
    int32_t n;
  };
  const Row rows[] = {{"7", 3},  {"2", 2},       {"  1", 1},     {"2 dB", 2}, {"-4", 0},
                      {"abc", 0}, {"", 0},       {"+3", 3},      {"99999999999999999999", 3}};
  for (const Row& row : rows) {
    EXPECT_EQ(control.ConvertStringToValue(row.text), IntToControlValue(row.n, 0, 3)) << row.text;
  }
}

TEST(CPluginControl_Discrete, AcceptsDigitsSignsAndEditingKeys) {
  CPluginControl_Discrete control(FourCC("disc"), "Mode", 0, 3, 0, true);
  std::set<int> expected = Digits();
  expected.insert({8, 28, 29, '+', '-', '.', ':', '|'});
  EXPECT_EQ(AcceptedKeys(control), expected);
}
