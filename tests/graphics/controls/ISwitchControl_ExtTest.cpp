#include "graphics/controls/ISwitchControl_Ext.h"

#include "tests/graphics/controls/ControlsFixture.h"

namespace {

class Switch : public ControlsFixture {
 protected:
  // A switch over the positions bitmap cut into n frames, bound to the
  // three-way parameter.
  ISwitchControl_Ext* Make(int frames) {
    IBitmap bitmap = graphics->LoadBitmap(kPositions, "positions.png", frames);
    return Attach(new ISwitchControl_Ext(&plug, 0, 0, ControlsTestPlug::kSwitch, &bitmap));
  }
  // The values the plug-in was sent, in order.
  std::vector<double> Sent() const {
    std::vector<double> values;
    for (const auto& s : plug.mFromGUI) values.push_back(s.second);
    return values;
  }
};

TEST_F(Switch, EachClickStepsOneFrameAndWrapsPastTheLast) {
  ISwitchControl_Ext* sw = Make(3);
  std::vector<double> values;
  for (int i = 0; i < 4; ++i) {
    Click(5, 5);
    values.push_back(sw->GetValue());
  }
  EXPECT_EQ(values, (std::vector<double>{0.5, 1.0, 0.0, 0.5}));
  EXPECT_EQ(Sent(), values);
  // Each click is an edit of the parameter for the host.
  EXPECT_EQ(plug.mEdits.size(), 8u);
  EXPECT_EQ(plug.mEdits[0], "B0");
  EXPECT_EQ(plug.mEdits[1], "E0");
  EXPECT_EQ(plug.GetParam(ControlsTestPlug::kSwitch)->Int(), 1);
}

TEST_F(Switch, TheClicksOfADoubleClickEachStepIt) {
  ISwitchControl_Ext* sw = Make(3);
  Click(5, 5);
  DoubleClick(5, 5);
  EXPECT_EQ(Sent(), (std::vector<double>{0.5, 1.0, 0.0}));
  EXPECT_EQ(sw->GetValue(), 0.0);
}

TEST_F(Switch, StepsFollowTheFrameCount) {
  const struct {
    int frames;
    std::vector<double> values;
  } rows[] = {
      {2, {1.0, 0.0, 1.0}},
      {1, {1.0, 0.0, 1.0}},  // a single frame toggles over the whole range
      // Six sums of 1/6 land within rounding of 1, which still counts as
      // the last frame; the seventh step wraps.
      {7, {1.0 / 6, 2.0 / 6, 3.0 / 6, 4.0 / 6, 5.0 / 6, 1.0, 0.0}},
  };
  for (const auto& r : rows) {
    ISwitchControl_Ext* sw = Make(r.frames);
    for (size_t i = 0; i < r.values.size(); ++i) {
      Click(5, 5);
      EXPECT_NEAR(sw->GetValue(), r.values[i], 1e-12) << r.frames << " frames, click " << i + 1;
      const int frame = r.frames < 2 ? 1 : static_cast<int>(r.values[i] * (r.frames - 1) + 0.5) + 1;
      EXPECT_EQ(sw->Frame(), frame);
    }
    graphics->ResetControls();
  }
}

TEST_F(Switch, DrawsTheFrameOfItsValue) {
  Make(4);  // 40 x 100 frames
  Click(5, 5);
  Click(5, 5);
  const std::vector<LICE_pixel> drawn = Drawn();
  // Frame 3 of 4 starts at row 2 x 400 / 4 = 200.
  for (int y = 0; y < 100; y += 9) {
    for (int x = 0; x < 40; x += 7) ASSERT_EQ(drawn[y * kWidth + x], PositionPixel(x, 200 + y)) << x << "," << y;
  }
}

}  // namespace
