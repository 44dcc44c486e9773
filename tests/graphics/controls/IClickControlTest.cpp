#include "graphics/controls/IClickControl.h"

#include "tests/graphics/controls/ControlsFixture.h"

namespace {

class ClickButton : public ControlsFixture {
 protected:
  // The stripes bitmap at full size: two frames of 60 x 22.
  IClickControl* Button(int tag) {
    IBitmap bitmap = graphics->LoadBitmap(kStripes, "stripes.png", kStripesFrames);
    return Attach(new IClickControl(&plug, 10, 20, tag, &bitmap));
  }
  // The frame on screen, told by the colour at the button's centre.
  LICE_pixel Shown() { return Drawn()[31 * kWidth + 40]; }
};

TEST_F(ClickButton, APressShowsTheSecondFrameAndTellsThePluginOnce) {
  IClickControl* button = Button(ControlsTestPlug::kTag);
  EXPECT_EQ(button->GetRECT(), IRECT(10, 20, 70, 42));
  std::vector<double> valuesSeen;
  plug.mDuringTag = [&](int) { valuesSeen.push_back(button->GetValue()); };

  IMouseMod left(true);
  graphics->OnMouseDown(40, 31, &left);
  EXPECT_EQ(button->GetValue(), 1.0);
  EXPECT_EQ(Shown(), StripeColor(1));
  graphics->OnMouseUp(40, 31, &left);
  EXPECT_EQ(button->GetValue(), 0.0);
  EXPECT_EQ(Shown(), StripeColor(0));

  EXPECT_EQ(plug.mTags, std::vector<int>{ControlsTestPlug::kTag});
  EXPECT_EQ(valuesSeen, std::vector<double>{1.0});  // the plug-in sees the press
  EXPECT_TRUE(plug.mFromGUI.empty());               // and no parameter changes
}

TEST_F(ClickButton, TheSecondClickOfADoubleClickIsNoPress) {
  Button(ControlsTestPlug::kTag);
  DoubleClick(40, 31);
  EXPECT_EQ(plug.mTags, std::vector<int>{ControlsTestPlug::kTag});
}

TEST_F(ClickButton, WithoutATagItStillShowsThePressButSendsNothing) {
  IClickControl* button = Button(-1);
  IMouseMod left(true);
  graphics->OnMouseDown(40, 31, &left);
  EXPECT_EQ(Shown(), StripeColor(1));
  graphics->OnMouseUp(40, 31, &left);
  EXPECT_EQ(button->GetValue(), 0.0);
  EXPECT_TRUE(plug.mChanged.empty());
}

}  // namespace
