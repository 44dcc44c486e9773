#include "editor/IMyPopupMenu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/editor/EditorFixture.h"

namespace {

using Lines = std::vector<std::string>;

class PopupMenu : public EditorFixture {
 protected:
  IMyPopupMenu* Make(int param, bool leftClickOnly = false, bool buttonLook = false) {
    IBitmap bitmap = param == EditorTestPlug::kType ? SixteenFrames() : TwoFrames();
    return Attach(new IMyPopupMenu(&plug, 100, 50, param, &bitmap, true, buttonLook, leftClickOnly));
  }
  // The last value sent through the control, in the parameter's values.
  double Sent(int param) const {
    EXPECT_FALSE(plug.mFromGUI.empty());
    return plug.mFromGUI.empty() ? -1.0 : plug.GetParam(param)->FromNormalizedParam(plug.mFromGUI.back().second);
  }
};

TEST_F(PopupMenu, TheMenuListsTheTextsWithTheCurrentOneCheckedAndTheChoiceIsSent) {
  IMyPopupMenu* menu = Make(EditorTestPlug::kFilterMode);
  // One frame of the two-frame bitmap, at 100 %.
  EXPECT_EQ(menu->GetRECT(), IRECT(100, 50, 130, 72));
  plug.SetValue(EditorTestPlug::kFilterMode, 4);  // "LinearPhase Eco"

  bool openDuringPopup = false;
  graphics->mDuringPopup = [&] { openDuringPopup = menu->IsMenuOpen(); };
  bool mouseDuringPush = false;
  plug.mDuringSet = [&](int) { mouseDuringPush = graphics->mMouseDown && graphics->mLastMouseMod.L; };
  graphics->Choose({0});  // "Zero Latency"
  IMouseMod right(false, true);
  Click(110, 60, right);

  EXPECT_EQ(graphics->LastMenu().Lines(), (Lines{"Zero Latency", "MinimumPhase Eco", "MinimumPhase High",
                                                 "MinimumPhase Max", "LinearPhase Eco*", "LinearPhase High",
                                                 "LinearPhase Max"}));
  EXPECT_EQ(graphics->mPopupArea, IRECT(100, 50, 130, 72));
  EXPECT_TRUE(openDuringPopup);
  EXPECT_FALSE(menu->IsMenuOpen());
  EXPECT_EQ(menu->GetValue(), 0.0);
  EXPECT_EQ(Sent(EditorTestPlug::kFilterMode), 0.0);
  EXPECT_EQ(plug.GetParam(EditorTestPlug::kFilterMode)->Value(), 0.0);
  // The plug-in sees a left click of the mouse while the value arrives.
  EXPECT_TRUE(mouseDuringPush);
  EXPECT_TRUE(menu->GetMenu().IsItemChecked(0));
  EXPECT_FALSE(menu->GetMenu().IsItemChecked(4));

  // The third text: 2 / 6 of the range.
  graphics->Choose({2});
  Click(110, 60);
  EXPECT_DOUBLE_EQ(menu->GetValue(), 2.0 / 6.0);
  EXPECT_EQ(plug.GetParam(EditorTestPlug::kFilterMode)->Value(), 2.0);
}

TEST_F(PopupMenu, ADismissedMenuSendsTheCurrentValueAgain) {
  Make(EditorTestPlug::kFilterMode);
  plug.SetValue(EditorTestPlug::kFilterMode, 5);
  plug.RedrawParamControls();
  graphics->Dismiss();
  Click(110, 60);
  ASSERT_EQ(plug.mFromGUI.size(), 1u);
  EXPECT_EQ(Sent(EditorTestPlug::kFilterMode), 5.0);
  EXPECT_EQ(graphics->LastMenu().Lines()[5], "LinearPhase High*");
  EXPECT_FALSE(graphics->mMouseDown);
}

TEST_F(PopupMenu, LeftClickOnlyIgnoresOtherButtonsButStillSends) {
  Make(EditorTestPlug::kFilterMode, true);
  IMouseMod right(false, true);
  Click(110, 60, right);
  EXPECT_TRUE(graphics->mShown.empty());
  EXPECT_EQ(plug.mFromGUI.size(), 1u);
  graphics->Dismiss();
  Click(110, 60);
  EXPECT_EQ(graphics->mShown.size(), 1u);
}

struct PopupWheelCase {
  double start;
  int d;
  double expected;
};

class PopupWheel : public PopupMenu, public ::testing::WithParamInterface<PopupWheelCase> {};

TEST_P(PopupWheel, StepsThroughTheTextsWithoutTheMenuAndStopsAtTheEnds) {
  const PopupWheelCase& c = GetParam();
  Make(EditorTestPlug::kFilterMode);
  plug.SetValue(EditorTestPlug::kFilterMode, c.start);
  Wheel(110, 60, c.d);
  EXPECT_TRUE(graphics->mShown.empty());
  EXPECT_EQ(Sent(EditorTestPlug::kFilterMode), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Notches, PopupWheel,
                         ::testing::Values(
                             // Up moves to the previous text.
                             PopupWheelCase{3, 1, 2}, PopupWheelCase{3, -1, 4}, PopupWheelCase{3, -2, 5},
                             PopupWheelCase{0, 1, 0}, PopupWheelCase{6, -1, 6}, PopupWheelCase{1, 5, 0}));

TEST_F(PopupMenu, AParameterOfOneTextStaysAtTheBottomOfItsRange) {
  IMyPopupMenu* menu = Make(EditorTestPlug::kSingle);
  EXPECT_EQ(menu->GetNumItems(), 1);
  graphics->Choose({0});
  Click(110, 60);
  EXPECT_EQ(menu->GetValue(), 0.0);
  Wheel(110, 60, -1);
  EXPECT_EQ(menu->GetValue(), 0.0);
  ASSERT_EQ(plug.mFromGUI.size(), 2u);
  EXPECT_EQ(plug.mFromGUI[0].second, 0.0);
  EXPECT_EQ(plug.mFromGUI[1].second, 0.0);
}

TEST_F(PopupMenu, EachValueShowsItsOwnFrame) {
  IMyPopupMenu* menu = Make(EditorTestPlug::kType);
  EXPECT_EQ(menu->GetRECT(), IRECT(100, 50, 120, 70));
  for (int k = 0; k < 16; ++k) {
    plug.SetValue(EditorTestPlug::kType, k);
    menu->SetValueFromPlug(plug.GetParam(EditorTestPlug::kType)->GetNormalized());
    DrawAll();
    // Frame k + 1 of the bitmap, whose rows k * 40 .. k * 40 + 39 hold colour k.
    EXPECT_EQ(PixelAt(110, 60), FrameColor(k)) << k;
  }
}

TEST_F(PopupMenu, TheButtonLookShowsTheSecondFrameWhileTheMenuIsOpen) {
  Make(EditorTestPlug::kFilterMode, false, true);
  plug.SetValue(EditorTestPlug::kFilterMode, 6);
  plug.RedrawParamControls();
  LICE_pixel duringPopup = 0;
  graphics->mDuringPopup = [&] {
    DrawAll();
    duringPopup = PixelAt(110, 60);
  };
  graphics->Dismiss();
  Click(110, 60);
  EXPECT_EQ(duringPopup, FrameColor(1));
  DrawAll();
  EXPECT_EQ(PixelAt(110, 60), FrameColor(0));
}

}  // namespace
