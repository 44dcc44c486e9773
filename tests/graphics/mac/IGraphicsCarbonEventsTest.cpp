#include <gtest/gtest.h>

#include "tests/graphics/mac/MacWindowFixture.h"

namespace {

using platform::PointerInput;

class CarbonEvents : public MacWindowFixture {
 protected:
  void SetUp() override {
    graphics->SetHandleMouseOver(true);
    graphics->AttachPanelBackground(&kColorBlack);
    probe = Add(IRECT(0, 0, kWidth, kHeight));
  }
  ProbeControl* probe = nullptr;
};

TEST_F(CarbonEvents, TheMouseIsPlacedFromTheWindowLessTheOffsetsAndTheTitleBar) {
  OpenCarbon(true, 10, 5);
  Pointer(PointerInput::kDown, 60.7, 40.2);
  // The window reports (60.7, 40.2 + 22); less (10, 5) and the title bar.
  const int x = static_cast<int>(60.7 - 10);
  const int y = static_cast<int>(40.2 + kTitleBar - 5 - kTitleBar);
  ASSERT_EQ(probe->mEvents.size(), 1u);
  EXPECT_EQ(probe->mEvents[0], "down " + std::to_string(x) + "," + std::to_string(y));
}

struct ModifierCase {
  int button;
  uint32_t keys;
  IMouseMod expected;
};

class CarbonModifiers : public CarbonEvents, public ::testing::WithParamInterface<ModifierCase> {};

TEST_P(CarbonModifiers, CommandTurnsThePrimaryButtonIntoTheSecondary) {
  OpenCarbon();
  const ModifierCase c = GetParam();
  Pointer(PointerInput::kDown, 20, 20, c.keys, c.button);
  const IMouseMod& m = graphics->mLastMouseMod;
  EXPECT_EQ(m.L, c.expected.L);
  EXPECT_EQ(m.R, c.expected.R);
  EXPECT_EQ(m.S, c.expected.S);
  EXPECT_EQ(m.C, c.expected.C);
  EXPECT_EQ(m.A, c.expected.A);
  EXPECT_FALSE(m.W);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CarbonModifiers,
    ::testing::Values(ModifierCase{1, 0, IMouseMod(true)}, ModifierCase{1, platform::kInputCommand, IMouseMod(true, true)},
                      ModifierCase{2, 0, IMouseMod(true, true)},
                      ModifierCase{1, platform::kInputShift, IMouseMod(true, false, true)},
                      ModifierCase{1, platform::kInputControl, IMouseMod(true, false, false, true)},
                      ModifierCase{1, platform::kInputOption, IMouseMod(true, false, false, false, true)},
                      ModifierCase{2, platform::kInputShift | platform::kInputOption,
                                   IMouseMod(true, true, true, false, true)}));

TEST_F(CarbonEvents, CommandControlClickOnAParameterControlGoesToTheHostOnly) {
  OpenCarbon();
  ProbeControl* bound = Add(IRECT(10, 10, 60, 60), GraphicsTestPlug::kFreq);
  platform::ClearHostEvents();

  Pointer(PointerInput::kDown, 20, 20, platform::kInputCommand | platform::kInputControl);
  EXPECT_TRUE(bound->mEvents.empty());
  EXPECT_TRUE(probe->mEvents.empty());
  EXPECT_TRUE(plug.mEdits.empty());
  EXPECT_EQ(HostEventCount(kEventClassMouse, kEventMouseDown), 1);
  EXPECT_EQ(graphics->TakeParamIdxAtPoint(), GraphicsTestPlug::kFreq);

  // The secondary button with control held is the same gesture.
  Pointer(PointerInput::kDown, 20, 20, platform::kInputControl, 2);
  EXPECT_TRUE(bound->mEvents.empty());
  // Over a control with no parameter the click is the editor's.
  Pointer(PointerInput::kDown, 150, 80, platform::kInputCommand | platform::kInputControl);
  EXPECT_EQ(probe->mEvents, std::vector<std::string>{"down 150,80"});
  // The host sees every click first, the editor's own too.
  EXPECT_EQ(HostEventCount(kEventClassMouse, kEventMouseDown), 3);
}

TEST_F(CarbonEvents, TheSecondClickOfAPairIsADoubleClickOnly) {
  OpenCarbon();
  Pointer(PointerInput::kDown, 30, 30, 0, 1, 1);
  Pointer(PointerInput::kUp, 30, 30);
  Pointer(PointerInput::kDown, 30, 30, 0, 1, 2);
  EXPECT_EQ(probe->mEvents, (std::vector<std::string>{"down 30,30", "up 30,30", "dbl 30,30"}));
}

TEST_F(CarbonEvents, OnlyTheVerticalWheelIsTheEditors) {
  OpenCarbon();
  platform::ClearHostEvents();
  Wheel(40, 40, 0, 3);
  EXPECT_TRUE(probe->mEvents.empty());
  EXPECT_EQ(HostEventCount(kEventClassMouse, kEventMouseWheelMoved), 1);
  Wheel(40, 40, 1, -2);
  EXPECT_EQ(probe->mEvents, std::vector<std::string>{"wheel -2 W"});
  EXPECT_EQ(HostEventCount(kEventClassMouse, kEventMouseWheelMoved), 1);
}

TEST_F(CarbonEvents, KeysGoToTheControlUnderTheLastMouseMoveOrBackToTheHost) {
  OpenCarbon();
  // A control that takes no keys sits over the left half.
  auto* deaf = new IControl(&plug, IRECT(0, 0, 100, kHeight));
  graphics->AttachControl(deaf);
  Pointer(PointerInput::kMoved, 150, 50);
  platform::ClearHostEvents();
  Key(26, '7');
  Key(12, 'Q');
  Key(49, ' ');
  Key(96, 0x10);  // F5
  EXPECT_EQ(probe->mEvents, (std::vector<std::string>{"over 150,50", "key 12", "key 31", "key 0"}));
  EXPECT_EQ(HostEventCount(kEventClassKeyboard, kEventRawKeyDown), 1);

  Pointer(PointerInput::kMoved, 50, 50);
  Key(26, '7');
  EXPECT_EQ(HostEventCount(kEventClassKeyboard, kEventRawKeyDown), 2);
}

TEST_F(CarbonEvents, TheDrawEventDrawsTheWholeEditorOnlyInACompositingWindow) {
  AddPanel(IRECT(0, 0, kWidth, kHeight), IColor(255, 10, 20, 30));
  for (bool compositing : {true, false}) {
    SCOPED_TRACE(compositing);
    OpenCarbon(compositing);
    probe->mDraws = 0;
    graphics->SetAllControlsDirty(false);
    Ticks(1);
    uint8_t rgb[3];
    Screen()->PixelRGB(kWidth / 2, kHeight / 2, rgb);
    EXPECT_EQ(rgb[0], compositing ? 10 : 0);
    EXPECT_EQ(rgb[2], compositing ? 30 : 0);
    EXPECT_EQ(probe->mDraws, compositing ? 1 : 0);
    graphics->CloseWindow();
    DisposeWindow(window);
    window = nullptr;
  }
}

}  // namespace
