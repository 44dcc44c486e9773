#include "graphics/controls/IParameterButtonExt.h"

#include "tests/graphics/controls/ControlsFixture.h"

namespace {

class ValueButton : public ControlsFixture {
 protected:
  ValueButton() : style(13, kColorWhite) {
    button = Attach(new IParameterButtonExt(&plug, IRECT(20, 30, 80, 52), ControlsTestPlug::kGain, &style));
    button->SetValueFromPlug(0.5);
  }

  TestFontScope testFont;
  IText style;
  IParameterButtonExt* button;
};

TEST_F(ValueButton, TheFieldIsItsOwnTextAndPromptRectangle) {
  EXPECT_EQ(button->GetRECT(), IRECT(20, 30, 80, 52));
  EXPECT_EQ(button->GetTextRECT(), button->GetRECT());
  EXPECT_EQ(button->GetPromptRECT(), button->GetRECT());
  EXPECT_EQ(button->GetDirection(), IKnobControlExt::kVertical);
  EXPECT_EQ(button->GetGearing(), 8.0);
  EXPECT_EQ(button->GetTextEntryLength(), 8);
  EXPECT_FALSE(button->IsPromptDisabled());
  EXPECT_EQ(button->GetDisplayParamIdx(), ControlsTestPlug::kGain);
}

TEST_F(ValueButton, OptionClickReturnsToTheDefaultWhenThereIsOne) {
  const IMouseMod option(true, false, false, false, true);
  button->SetValueFromPlug(0.8);
  Click(30, 40, option);
  EXPECT_EQ(button->GetValue(), 0.5);
  EXPECT_EQ(plug.mFromGUI.back().second, 0.5);

  plug.mFromGUI.clear();
  button->SetValueFromPlug(0.8);
  button->SetDefaultValue(-1.0);
  Click(30, 40, option);
  EXPECT_EQ(button->GetValue(), 0.8);
  EXPECT_TRUE(plug.mFromGUI.empty());
}

TEST_F(ValueButton, ADoubleClickTakesEvenANegativeDefaultClampedToTheBottom) {
  button->SetValueFromPlug(0.8);
  IMouseMod left(true);
  graphics->OnMouseDblClick(30, 40, &left);
  EXPECT_EQ(button->GetValue(), 0.5);
  button->SetDefaultValue(-1.0);
  graphics->OnMouseDblClick(30, 40, &left);
  EXPECT_EQ(button->GetValue(), 0.0);
  EXPECT_EQ(plug.mFromGUI.back().second, 0.0);
}

TEST_F(ValueButton, ARightClickPromptsOverThePromptRectangle) {
  Click(30, 40, IMouseMod(false, true));
  EXPECT_EQ(graphics->mEntryControl, button);
  EXPECT_EQ(graphics->mEntryRect, button->GetPromptRECT());
  EXPECT_EQ(graphics->mEntryText, "0.00");
}

TEST_F(ValueButton, ShowsTheDisplayParametersTextAtHalfAlphaWhenGreyed) {
  plug.GetParam(ControlsTestPlug::kGain)->Set(12.25);
  plug.GetParam(ControlsTestPlug::kFreq)->Set(440.0);
  ReferencePicture reference(kWidth, kHeight);
  const auto expected = [&](const char* text, int alpha) {
    return reference.Draw([&](IGraphics* g) {
      IRECT r(20, 30, 80, 52);
      IText s = style;
      s.mColor.A = alpha;
      g->DrawIText(&s, text, &r);
    });
  };
  EXPECT_TRUE(SamePicture(Drawn(), expected("12.25", 255), kWidth));
  button->GrayOut(true);
  EXPECT_TRUE(SamePicture(Drawn(), expected("12.25", 127), kWidth));
  button->GrayOut(false);
  // The value shown is the display parameter's, not the bound one's.
  button->SetDisplayParamIdx(ControlsTestPlug::kFreq);
  EXPECT_TRUE(SamePicture(Drawn(), expected("440.000", 255), kWidth));
}

TEST_F(ValueButton, AnEmptyTextDrawsNothing) {
  button->SetDisplayParamIdx(-1);
  EXPECT_EQ(Drawn(), std::vector<LICE_pixel>(kWidth * kHeight, kClear));
}

}  // namespace
