#include "graphics/controls/ISwitchControl_ExtActive.h"

#include "tests/graphics/controls/ControlsFixture.h"

namespace {

class LabelledSwitch : public ControlsFixture {
 protected:
  LabelledSwitch() : active(12, IColor(255, 200, 30, 30)), inactive(12, IColor(255, 30, 30, 200)) {
    bitmap = graphics->LoadBitmap(kPositions, "positions.png", 2);
  }

  TestFontScope testFont;
  IText active, inactive;
  IBitmap bitmap;
};

TEST_F(LabelledSwitch, TheLabelTakesTheInactiveStyleOnTheFirstFrameOnly) {
  auto* sw = Attach(new ISwitchControl_ExtActive(&plug, 20, 10, ControlsTestPlug::kToggle, &bitmap, &active,
                                                 &inactive, "12"));
  const IRECT rect(20, 10, 60, 210);
  EXPECT_EQ(sw->GetRECT(), rect);
  ReferencePicture reference(kWidth, kHeight);
  const auto expected = [&](int frame, const IText& style) {
    return reference.Draw([&](IGraphics* g) {
      IRECT r = rect;
      IText s = style;
      g->DrawBitmapFrame(&bitmap, &r, frame);
      g->DrawIText(&s, "12", &r);
    });
  };
  EXPECT_TRUE(SamePicture(Drawn(), expected(1, inactive), kWidth));
  Click(30, 30);
  EXPECT_EQ(sw->GetValue(), 1.0);
  EXPECT_TRUE(SamePicture(Drawn(), expected(2, active), kWidth));
  EXPECT_EQ(plug.mFromGUI, (std::vector<std::pair<int, double>>{{ControlsTestPlug::kToggle, 1.0}}));
}

TEST_F(LabelledSwitch, BothStylesFollowTheScaleAndTheLabelIsCut) {
  auto* sw = Attach(new ISwitchControl_ExtActive(&plug, 20, 10, ControlsTestPlug::kToggle, &bitmap, &active,
                                                 &inactive, "a label of twenty-five ch"));
  EXPECT_STREQ(sw->GetLabel(), "a label of twenty-f");
  EXPECT_EQ(sw->GetActiveText().mColor, active.mColor);
  EXPECT_EQ(sw->GetInactiveText().mColor, inactive.mColor);
  for (double scale : {0.5, 1.0, 1.5, 2.0}) {
    graphics->RescaleControls(100, 100, scale, scale);
    EXPECT_EQ(sw->GetActiveText().mSize, static_cast<int>(12 * scale)) << scale;
    EXPECT_EQ(sw->GetInactiveText().mSize, static_cast<int>(12 * scale)) << scale;
  }
}

}  // namespace
