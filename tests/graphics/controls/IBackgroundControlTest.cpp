#include "graphics/controls/IBackgroundControl.h"

#include "tests/graphics/controls/ControlsFixture.h"

namespace {

// The background answers the hit test (so nothing below it is reached)
// but does nothing with the mouse, the double-click's return to a default
// included.
TEST_F(ControlsFixture, TheBackgroundSitsAtTheTopLeftAndIgnoresTheMouse) {
  IBitmap bitmap = graphics->LoadBitmap(kPositions, "positions.png", 2);
  auto* background = Attach(new IBackgroundControl(&plug, &bitmap));
  EXPECT_EQ(background->GetRECT(), IRECT(0, 0, 40, 200));
  graphics->SetControlFromPlug(0, 0.0);  // as the plug-in would: this becomes its default as well
  background->SetValueFromPlug(0.7);

  DoubleClick(10, 10);
  IMouseMod right(false, true);
  Click(10, 10, right);
  EXPECT_EQ(background->GetValue(), 0.7);
  EXPECT_TRUE(plug.mFromGUI.empty());
  EXPECT_TRUE(plug.mTags.empty());
  EXPECT_EQ(graphics->mEntryControl, nullptr);
}

TEST_F(ControlsFixture, TheBackgroundDrawsItsFirstFrame) {
  IBitmap bitmap = graphics->LoadBitmap(kPositions, "positions.png", 2);
  Attach(new IBackgroundControl(&plug, &bitmap));
  const std::vector<LICE_pixel> drawn = Drawn();
  for (int y = 0; y < 200; y += 13) {
    for (int x = 0; x < 40; x += 7) ASSERT_EQ(drawn[y * kWidth + x], PositionPixel(x, y)) << x << "," << y;
  }
  EXPECT_EQ(drawn[200 * kWidth], kClear);
}

}  // namespace
