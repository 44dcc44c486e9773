#include "graphics/controls/IKnobControlExt.h"

#include <algorithm>
#include <functional>
#include <iterator>

#include "graphics/controls/IKnobMultiControlText_New.h"
#include "graphics/controls/IParameterButtonExt.h"
#include "graphics/controls/IParameterButtonExtHz.h"
#include "tests/graphics/controls/ControlsFixture.h"

namespace {

// Every control built on the geared drag, with a gearing of 1 and the
// given direction, bound to the gain parameter.
struct Kind {
  const char* name;
  std::function<IKnobControlExt*(IPlugBase*, IGraphics*, int direction)> make;
  bool wheelMarksMouseDown;
};

const Kind kKinds[] = {
    {"knob",
     [](IPlugBase* plug, IGraphics* g, int direction) -> IKnobControlExt* {
       IBitmap bitmap = g->LoadBitmap(kPositions, "knob.png", 4);  // 40 x 100
       return new IKnobMultiControlText_New(plug, 10, 20, ControlsTestPlug::kGain, &bitmap, nullptr, nullptr,
                                            true, direction, 1.0);
     },
     true},
    {"button",
     [](IPlugBase* plug, IGraphics*, int direction) -> IKnobControlExt* {
       auto* button = new IParameterButtonExt(plug, IRECT(10, 20, 70, 42), ControlsTestPlug::kGain, nullptr);
       button->SetDirection(direction);
       button->SetGearing(1.0);
       return button;
     },
     true},
    {"Hz button",
     [](IPlugBase* plug, IGraphics*, int direction) -> IKnobControlExt* {
       auto* button = new IParameterButtonExtHz(plug, IRECT(10, 20, 70, 42), ControlsTestPlug::kGain, nullptr);
       button->SetDirection(direction);
       button->SetGearing(1.0);
       return button;
     },
     false},
};

class GearedDrag : public ControlsFixture, public ::testing::WithParamInterface<Kind> {
 protected:
  IKnobControlExt* Make(int direction) {
    IKnobControlExt* control = GetParam().make(&plug, graphics, direction);
    graphics->AttachControl(control);
    return control;
  }
};

const IMouseMod kNone(true), kShift(true, false, true), kControl(true, false, false, true),
    kShiftControl(true, false, true, true);

TEST_P(GearedDrag, AFullSizeDragSweepsTheRangeOverTheGearing) {
  // A move of one control size up (or left) with gearing 1 adds 1; Shift
  // makes it a tenth, Control twice as much, and Shift wins over Control.
  const struct {
    int direction;
    double start, sizes;
    IMouseMod mod;
    double factor;
  } rows[] = {
      {IKnobControlExt::kVertical, 0.0, 1.0, kNone, 1.0},
      {IKnobControlExt::kVertical, 0.0, 1.0, kShift, 0.1},
      {IKnobControlExt::kVertical, 0.0, 1.0, kControl, 2.0},  // then clamped to 1
      {IKnobControlExt::kVertical, 0.0, 0.25, kControl, 2.0},
      {IKnobControlExt::kVertical, 0.0, 0.25, kNone, 1.0},
      {IKnobControlExt::kVertical, 0.0, 1.0, kShiftControl, 0.1},
      {IKnobControlExt::kVertical, 0.75, -0.5, kNone, 1.0},
      {IKnobControlExt::kVertical, 0.5, -1.0, kNone, 1.0},  // clamped at the bottom
      {IKnobControlExt::kHorizontal, 0.0, 0.5, kNone, 1.0},
      {IKnobControlExt::kHorizontal, 0.5, 0.25, kShift, 0.1},
  };
  for (const auto& r : rows) {
    IKnobControlExt* control = Make(r.direction);
    const IRECT rect = control->GetRECT();
    control->SetValueFromPlug(r.start);
    plug.mFromGUI.clear();
    const bool vertical = r.direction == IKnobControlExt::kVertical;
    const int size = vertical ? rect.H() : rect.W();
    const int moved = static_cast<int>(r.sizes * size);
    const int x = rect.L + 5, y = rect.T + 5;
    Drag(x, y, vertical ? x : x - moved, vertical ? y - moved : y, r.mod);
    const double value = std::min(1.0, std::max(0.0, r.start + static_cast<double>(moved) / size * r.factor));
    EXPECT_DOUBLE_EQ(control->GetValue(), value) << GetParam().name << " " << r.sizes << " from " << r.start;
    // The press sends the value as it stands, the move the new one.
    ASSERT_EQ(plug.mFromGUI.size(), 2u);
    EXPECT_EQ(plug.mFromGUI[0].second, r.start);
    EXPECT_EQ(plug.mFromGUI[1].second, control->GetValue());
    graphics->ResetControls();
  }
}

TEST_P(GearedDrag, TheWheelStepsAHundredthAFiftiethOrAThousandth) {
  const struct {
    int d;
    IMouseMod mod;
    double step;
  } rows[] = {{1, IMouseMod(), 0.01},
              {1, IMouseMod(false, false, false, true), 0.05},
              {1, IMouseMod(false, false, true), 0.001},
              {1, IMouseMod(false, false, true, true), 0.001},
              {-3, IMouseMod(), 0.01},
              {2, IMouseMod(false, false, false, true), 0.05}};
  IKnobControlExt* control = Make(IKnobControlExt::kVertical);
  std::vector<bool> mouseDownDuringSet;
  plug.mDuringSet = [&](int) { mouseDownDuringSet.push_back(graphics->mMouseDown); };
  for (const auto& r : rows) {
    control->SetValueFromPlug(0.5);
    Wheel(control->GetRECT().L + 1, control->GetRECT().T + 1, r.d, r.mod);
    EXPECT_DOUBLE_EQ(control->GetValue(), 0.5 + r.d * r.step) << GetParam().name << " " << r.d;
    EXPECT_EQ(plug.mFromGUI.back().second, control->GetValue());
    EXPECT_FALSE(graphics->mMouseDown);
  }
  EXPECT_EQ(mouseDownDuringSet, std::vector<bool>(std::size(rows), GetParam().wheelMarksMouseDown));
}

INSTANTIATE_TEST_SUITE_P(Kinds, GearedDrag, ::testing::ValuesIn(kKinds),
                         [](const ::testing::TestParamInfo<Kind>& info) {
                           return std::string(info.param.name) == "knob" ? "Knob"
                                  : std::string(info.param.name) == "button" ? "Button"
                                                                             : "HzButton";
                         });

// A control with no size (its bitmap missing) or a gearing of 0 has no
// finite step: a drag must not throw the value to an end of the range.
TEST_F(ControlsFixture, ADragWithoutAFiniteStepLeavesTheValue) {
  IBitmap missing = graphics->LoadBitmap(99, "missing.png", 4);
  auto* knob = Attach(new IKnobMultiControlText_New(&plug, 10, 20, ControlsTestPlug::kGain, &missing, nullptr,
                                                    nullptr, true, IKnobControlExt::kVertical, 1.0));
  knob->SetTargetRECT(IRECT(10, 20, 50, 60));
  auto* geared = Attach(new IParameterButtonExt(&plug, IRECT(100, 20, 160, 42), ControlsTestPlug::kGain, nullptr));
  geared->SetGearing(0.0);
  knob->SetValueFromPlug(0.5);
  geared->SetValueFromPlug(0.5);
  Drag(20, 30, 20, 10);
  Drag(110, 30, 110, 10);
  EXPECT_EQ(knob->GetValue(), 0.5);
  EXPECT_EQ(geared->GetValue(), 0.5);
  for (const auto& sent : plug.mFromGUI) EXPECT_EQ(sent.second, 0.5);
  EXPECT_EQ(plug.mFromGUI.size(), 4u);  // each press and each move
}

}  // namespace
