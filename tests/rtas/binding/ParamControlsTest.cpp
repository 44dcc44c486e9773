#include "rtas/binding/ParamControls.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "framework/IParam.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/CPluginControl_Linear.h"
#include "rtas/library/CPluginControl_List.h"

namespace {

IParam Enumeration(int kind, int defaultValue, const std::vector<std::string>& texts) {
  IParam param;
  param.SetType(kind);
  param.InitEnum("Choice", defaultValue, static_cast<int>(texts.size()));
  for (size_t i = 0; i < texts.size(); ++i) param.SetDisplayText(static_cast<int>(i), texts[i].c_str());
  return param;
}

}  // namespace

TEST(ParamControls, EachKindGetsItsControl) {
  IParam gain;
  gain.InitDouble("Gain", 1.5, -24.0, 24.0, 0.1);
  gain.Set(-3.0);
  IParam mode = Enumeration(IParam::kTypeEnum, 2, {"A", "B", "C"});
  IParam flag = Enumeration(IParam::kTypeBool, 0, {"Off", "On"});
  IParam steps;
  steps.SetType(IParam::kTypeInt);
  steps.InitEnum("Steps", 4, 10);
  steps.Set(6);
  IParam untyped;  // kind 0, no name

  auto gainControl = paramcontrols::MakeParamControl(gain, 0, true);
  auto* linear = dynamic_cast<CPluginControl_Linear*>(gainControl.get());
  ASSERT_NE(linear, nullptr);
  EXPECT_EQ(linear->GetMin(), -24.0);
  EXPECT_EQ(linear->GetMax(), 24.0);
  EXPECT_EQ(linear->GetNumSteps(), 481);
  // The default is the current value, not the parameter's default.
  EXPECT_NEAR(linear->ValueToDouble(linear->GetDefaultValue()), -3.0, 1e-6);

  auto modeControl = paramcontrols::MakeParamControl(mode, 1, false);
  auto* list = dynamic_cast<CPluginControl_List*>(modeControl.get());
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->GetItems(), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(list->GetIntValue(), 2);
  EXPECT_FALSE(list->IsAutomatable());

  auto flagControl = paramcontrols::MakeParamControl(flag, 2, true);
  auto* flagList = dynamic_cast<CPluginControl_List*>(flagControl.get());
  ASSERT_NE(flagList, nullptr);
  EXPECT_EQ(flagList->GetItems(), (std::vector<std::string>{"Off", "On"}));

  for (const IParam* discrete : {&steps, &untyped}) {
    auto control = paramcontrols::MakeParamControl(*discrete, 3, true);
    ASSERT_NE(dynamic_cast<CPluginControl_Discrete*>(control.get()), nullptr);
    EXPECT_EQ(dynamic_cast<CPluginControl_List*>(control.get()), nullptr);
  }
  auto stepsControl = paramcontrols::MakeParamControl(steps, 3, true);
  auto* range = static_cast<CPluginControl_Discrete*>(stepsControl.get());
  EXPECT_EQ(range->GetMin(), 0);
  EXPECT_EQ(range->GetMax(), 9);
  EXPECT_EQ(range->GetIntValue(), 6);
  auto untypedControl = paramcontrols::MakeParamControl(untyped, 133, true);
  auto* unit = static_cast<CPluginControl_Discrete*>(untypedControl.get());
  EXPECT_EQ(unit->GetMin(), 0);
  EXPECT_EQ(unit->GetMax(), 1);
  EXPECT_EQ(unit->GetName(), "");
}

TEST(ParamControls, IdsCountFromTheBase) {
  IParam param;
  param.InitDouble("x", 0.0, 0.0, 1.0, 0.01);
  EXPECT_EQ(paramcontrols::MakeParamControl(param, 0, true)->GetID(), 0x206c6420u);
  EXPECT_EQ(paramcontrols::MakeParamControl(param, 137, true)->GetID(), 0x206c64a9u);
}

TEST(ParamControls, ValuesRoundTripThroughTheControl) {
  IParam gain;
  gain.InitDouble("Gain", 0.0, -24.0, 24.0, 0.1);
  IParam mode = Enumeration(IParam::kTypeEnum, 0, {"A", "B", "C", "D"});
  IParam untyped;
  auto gainControl = paramcontrols::MakeParamControl(gain, 0, true);
  auto modeControl = paramcontrols::MakeParamControl(mode, 1, true);
  auto untypedControl = paramcontrols::MakeParamControl(untyped, 2, true);

  for (double x : {-24.0, -7.25, 0.0, 3.1, 24.0}) {
    gainControl->SetValue(paramcontrols::ToControlValue(*gainControl, gain, x));
    EXPECT_NEAR(paramcontrols::FromControlValue(*gainControl, gain), x, 48.0 / 4294967295.0 * 2) << x;
  }
  for (int n = 0; n < 4; ++n) {
    modeControl->SetValue(paramcontrols::ToControlValue(*modeControl, mode, n + 0.75));  // truncated
    EXPECT_EQ(paramcontrols::FromControlValue(*modeControl, mode), n);
  }
  // The range ends are the host range's ends.
  EXPECT_EQ(paramcontrols::ToControlValue(*gainControl, gain, 24.0), INT_MAX);
  EXPECT_EQ(paramcontrols::ToControlValue(*gainControl, gain, -24.0), INT_MIN);
  EXPECT_EQ(paramcontrols::ToControlValue(*untypedControl, untyped, 1.0), INT_MAX);
  EXPECT_EQ(paramcontrols::ToControlValue(*untypedControl, untyped, 0.0), INT_MIN);
}

TEST(ParamControls, ContinuousTextsStartAtTheUnprefixedRecord) {
  // The host sees values below 1 in plain digits; only magnitudes past
  // 1000 take a prefix ("k" and up).
  IParam q;
  q.InitDouble("Q", 0.7, 0.1, 10.0, 0.0001);
  IParam gain;
  gain.InitDouble("Gain", 0.0, -48.0, 48.0, 0.01);
  IParam freq;
  freq.InitDouble("Freq", 30.0, 10.0, 48000.0, 0.001);
  struct Case {
    const IParam* param;
    double value;
    const char* text;
  } const cases[] = {
      {&q, 0.7, "0.7"},      {&q, 0.1, "0.1"},         {&gain, 0.0, "0.0"},     {&gain, -0.5, "-0.5"},
      {&gain, 12.0, "12.0"}, {&freq, 1000.0, "1000.0"}, {&freq, 2500.0, "2.5k"}, {&freq, 48000.0, "48.0k"},
  };
  for (const Case& c : cases) {
    auto control = paramcontrols::MakeParamControl(*c.param, 0, true);
    char text[64] = {};
    control->ConvertValueToString(text, 31, paramcontrols::ToControlValue(*control, *c.param, c.value));
    EXPECT_STREQ(text, c.text) << c.param->GetNameForHost() << " " << c.value;
  }
  // A small-unit prefix is no text of these controls.
  auto control = paramcontrols::MakeParamControl(q, 0, true);
  EXPECT_THROW(control->ConvertStringToValue("700m"), CDAEError);
  EXPECT_EQ(control->ConvertStringToValue("0.7"), paramcontrols::ToControlValue(*control, q, 0.7));
}
