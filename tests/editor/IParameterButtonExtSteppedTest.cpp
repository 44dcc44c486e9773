#include "editor/IParameterButtonExtStepped.h"

#include <gtest/gtest.h>

#include "tests/editor/EditorFixture.h"

namespace {

struct WheelCase {
  int param;
  double start;
  int d;
  IMouseMod mod;
  double expected;  // the value rounded to the step's multiple, plus d steps, kept in range
};

void PrintTo(const WheelCase& c, std::ostream* os) {
  *os << "param " << c.param << " at " << c.start << ", " << c.d << " notches" << (c.mod.S ? " Shift" : "")
      << (c.mod.C ? " Control" : "");
}

class SteppedWheel : public EditorFixture, public ::testing::WithParamInterface<WheelCase> {};

TEST_P(SteppedWheel, RoundsToTheStepThenStepsByTheNotches) {
  const WheelCase& c = GetParam();
  auto* field = Attach(new IParameterButtonExtStepped(&plug, IRECT(100, 100, 160, 122), c.param, nullptr));
  const IParam* param = plug.GetParam(c.param);
  plug.SetValue(c.param, c.start);
  field->SetValueFromPlug(param->GetNormalized());
  bool flagDuringPush = false;
  plug.mDuringSet = [&](int) { flagDuringPush = graphics->mMouseDown; };

  IMouseMod mod = c.mod;
  graphics->OnMouseWheel(130, 110, &mod, c.d);
  EXPECT_NEAR(param->Value(), c.expected, 1e-9);
  // Through the control, so the host hears of it; as a mouse gesture, so
  // the plug-in's band edits treat it as the user's.
  ASSERT_EQ(plug.mFromGUI.size(), 1u);
  EXPECT_EQ(plug.mFromGUI[0].first, c.param);
  EXPECT_TRUE(flagDuringPush);
  EXPECT_FALSE(graphics->mMouseDown);
}

INSTANTIATE_TEST_SUITE_P(
    GainAndSlope, SteppedWheel,
    ::testing::Values(
        // 2.34 rounds to 2, one notch adds 1.
        WheelCase{EditorTestPlug::kGain, 2.34, 1, IMouseMod(), 3.0},
        // Shift: 2.34 rounds to 2.3, plus 0.1.
        WheelCase{EditorTestPlug::kGain, 2.34, 1, IMouseMod(false, false, true), 2.4},
        // Control: -47.5 rounds to -48, minus 3, kept at the minimum.
        WheelCase{EditorTestPlug::kGain, -47.5, -1, IMouseMod(false, false, false, true), -48.0},
        // Shift wins over Control.
        WheelCase{EditorTestPlug::kGain, 10.04, -2, IMouseMod(false, false, true, true), 9.8},
        // Half-way rounds up: 2.5 is 3, three notches down 0.
        WheelCase{EditorTestPlug::kGain, 2.5, -3, IMouseMod(), 0.0},
        WheelCase{EditorTestPlug::kGain, 47.2, 2, IMouseMod(), 48.0},
        // The spectrum slope's unit is 1 as well; 4 is nearest to 3 of the
        // multiples of 3.
        WheelCase{EditorTestPlug::kSlope, -0.6, 1, IMouseMod(), 0.0},
        WheelCase{EditorTestPlug::kSlope, 4.0, 1, IMouseMod(false, false, false, true), 6.0}));

TEST_F(EditorFixture, SteppedFieldStartsAsThePlainFieldWithItsThreeSteps) {
  const IText style(14, kColorWhite);
  auto* field = Attach(new IParameterButtonExtStepped(&plug, IRECT(802, 397, 862, 419), EditorTestPlug::kGain, &style));
  EXPECT_EQ(field->GetStep(), 1.0);
  EXPECT_EQ(field->GetFineStep(), 0.1);
  EXPECT_EQ(field->GetCoarseStep(), 3.0);
  EXPECT_EQ(field->GetDirection(), IKnobControlExt::kVertical);
  EXPECT_EQ(field->GetGearing(), 8.0);
  EXPECT_EQ(field->GetTextEntryLength(), 8);
  EXPECT_FALSE(field->IsPromptDisabled());
  EXPECT_EQ(field->GetDisplayParamIdx(), EditorTestPlug::kGain);
  EXPECT_EQ(field->GetTextRECT(), IRECT(802, 397, 862, 419));

  // A right-click opens the text entry over the field for the gain.
  IMouseMod right(false, true);
  graphics->OnMouseDown(830, 405, &right);
  EXPECT_EQ(graphics->mEntryControl, field);
  EXPECT_EQ(graphics->mEntryParam, plug.GetParam(EditorTestPlug::kGain));
  EXPECT_EQ(graphics->mEntryRect, IRECT(802, 397, 862, 419));
}

}  // namespace
