#include "graphics/controls/IInvisibleClickControl.h"

#include "tests/graphics/controls/ControlsFixture.h"

namespace {

TEST_F(ControlsFixture, AnInvisibleAreaTellsThePluginOfEveryClick) {
  auto* area = Attach(new IInvisibleClickControl(&plug, IRECT(0, 0, 136, 32), ControlsTestPlug::kTag));
  Attach(new IInvisibleClickControl(&plug, IRECT(150, 0, 200, 32), -1));
  EXPECT_EQ(area->GetRECT(), IRECT(0, 0, 136, 32));
  Click(10, 10);
  DoubleClick(10, 10);  // two clicks, and the second is a double-click
  Click(160, 10);
  EXPECT_EQ(plug.mTags, std::vector<int>(3, ControlsTestPlug::kTag));
  EXPECT_EQ(Drawn(), std::vector<LICE_pixel>(kWidth * kHeight, kClear));
}

}  // namespace
