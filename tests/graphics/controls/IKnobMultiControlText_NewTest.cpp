#include "graphics/controls/IKnobMultiControlText_New.h"

#include <cstring>

#include "graphics/controls/IInvisibleClickControl.h"
#include "tests/graphics/controls/ControlsFixture.h"

namespace {

class Knob : public ControlsFixture {
 protected:
  Knob() : style(13, IColor(255, 197, 198, 199)) {
    bitmap = graphics->LoadBitmap(kPositions, "knob.png", 4);  // frames of 40 x 100
    graphics->SetHandleMouseOver(true);
  }
  IKnobMultiControlText_New* Make(const IColor& background, bool showLabel = true) {
    knob = Attach(new IKnobMultiControlText_New(&plug, 10, 20, ControlsTestPlug::kGain, &bitmap, &style,
                                                &background, showLabel, IKnobControlExt::kVertical, 8.0));
    return knob;
  }

  TestFontScope testFont;
  IText style;
  IBitmap bitmap;
  IKnobMultiControlText_New* knob = nullptr;
};

TEST_F(Knob, TheValueBoxLiesAlongTheKnobsBottomAndThePromptReachesBelowIt) {
  Make(kColorBlack);
  EXPECT_EQ(knob->GetRECT(), IRECT(10, 20, 50, 120));
  EXPECT_EQ(knob->GetKnobRECT(), knob->GetRECT());
  EXPECT_EQ(knob->GetTextRECT(), IRECT(10, 120 - 1 - 13, 50, 120));
  EXPECT_EQ(knob->GetPromptRECT(), IRECT(10, 106, 50, 120 + 13 / 2));
  EXPECT_FALSE(knob->IsPromptDisabled());
  EXPECT_EQ(knob->GetDefaultValue(), 0.5);  // 0 dB of -48..48
}

TEST_F(Knob, RightAndOptionClicksOpenAPromptOverThePromptRectangle) {
  Make(kColorBlack);
  for (IMouseMod mod : {IMouseMod(false, true), IMouseMod(true, false, false, false, true)}) {
    graphics->mEntryControl = nullptr;
    Click(30, 40, mod);
    EXPECT_EQ(graphics->mEntryControl, knob);
    EXPECT_EQ(graphics->mEntryRect, knob->GetPromptRECT());
  }
  EXPECT_TRUE(plug.mFromGUI.empty());
}

TEST_F(Knob, ADoubleClickPromptsOnTheValueBoxAndResetsElsewhere) {
  Make(kColorBlack);
  knob->SetValueFromPlug(0.9);
  IMouseMod left(true);
  graphics->OnMouseDblClick(30, 110, &left);
  EXPECT_EQ(graphics->mEntryControl, knob);
  EXPECT_EQ(knob->GetValue(), 0.9);

  graphics->OnMouseDblClick(30, 40, &left);
  EXPECT_EQ(knob->GetValue(), 0.5);
  ASSERT_FALSE(plug.mFromGUI.empty());
  EXPECT_EQ(plug.mFromGUI.back().second, 0.5);
}

TEST_F(Knob, TheValueTextCarriesTheUnitWhenTheLabelIsShown) {
  Make(kColorBlack, true);
  plug.GetParam(ControlsTestPlug::kGain)->Set(-3.5);
  char text[64];
  knob->GetValueText(text, sizeof text);
  EXPECT_STREQ(text, "-3.50 dB");
  graphics->ResetControls();
  Make(kColorBlack, false);
  knob->GetValueText(text, sizeof text);
  EXPECT_STREQ(text, "-3.50");
}

// The frame of the value; while the mouse is over the knob, the value box
// in the background colour (rounded when opaque) with the value text.
TEST_F(Knob, HoveringShowsTheValueBox) {
  const IColor backgrounds[] = {IColor(255, 19, 22, 26), IColor(128, 19, 22, 26)};
  for (const IColor& background : backgrounds) {
    Make(background);
    Attach(new IInvisibleClickControl(&plug, IRECT(100, 20, 140, 60), -1));
    knob->SetValueFromPlug(0.7);  // 3 x 0.7 + 0.5 = 2.6: frame 3, from row 200
    const IRECT knobRect = knob->GetRECT();
    const IRECT box = knob->GetTextRECT();
    ReferencePicture reference(kWidth, kHeight);
    const auto plain = reference.Draw([&](IGraphics* g) {
      IRECT r = knobRect;
      g->DrawBitmapFrame(&bitmap, &r, 3);
    });
    const auto hovered = reference.Draw([&](IGraphics* g) {
      IRECT r = knobRect;
      IRECT b = box;
      IText s = style;
      const IChannelBlend blend;
      g->DrawBitmapFrame(&bitmap, &r, 3);
      if (background.A == 255) {
        g->FillRoundRect(&background, &b, &blend, 2, true);
      } else {
        g->FillIRect(&background, &b, &blend);
      }
      g->DrawIText(&s, "0.00 dB", &b);
    });
    ASSERT_NE(plain, hovered);

    EXPECT_TRUE(SamePicture(Drawn(), plain, kWidth));
    IMouseMod none;
    graphics->OnMouseOver(30, 40, &none);
    EXPECT_TRUE(knob->IsHovering());
    EXPECT_TRUE(SamePicture(Drawn(), hovered, kWidth)) << background.A;
    graphics->OnMouseOver(110, 30, &none);
    EXPECT_FALSE(knob->IsHovering());
    EXPECT_TRUE(SamePicture(Drawn(), plain, kWidth));
    graphics->ResetControls();
  }
}

}  // namespace
