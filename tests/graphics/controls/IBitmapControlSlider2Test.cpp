#include "graphics/controls/IBitmapControlSlider2.h"

#include <limits>

#include "tests/graphics/controls/ControlsFixture.h"

namespace {

constexpr IColor kLine(255, 120, 130, 140);

class PositionLine : public ControlsFixture {
 protected:
  // Over the positions bitmap at (10, 20): 40 x 400.
  IBitmapControlSlider2* Make(int resource = kPositions) {
    IBitmap bitmap = graphics->LoadBitmap(resource, "positions.png");
    slider = Attach(new IBitmapControlSlider2(&plug, 10, 20, &bitmap, ControlsTestPlug::kTag, kLine));
    plug.mDuringTag = [this](int) {
      seen.push_back({slider->GetDragPosition(), slider->GetWheelDelta(), slider->IsDragging(), slider->IsWheeling()});
    };
    return slider;
  }

  struct Seen {
    double position;
    int wheelDelta;
    bool dragging, wheeling;
    bool operator==(const Seen& s) const {
      return position == s.position && wheelDelta == s.wheelDelta && dragging == s.dragging &&
             wheeling == s.wheeling;
    }
  };
  IBitmapControlSlider2* slider = nullptr;
  std::vector<Seen> seen;  // what the plug-in read at each tag
};

TEST_F(PositionLine, PressAndDragReportTheirPositionInBitmapHeights) {
  Make();
  IMouseMod left(true);
  graphics->OnMouseDown(15, 120, &left);
  graphics->OnMouseDrag(15, 320, &left);
  graphics->OnMouseUp(15, 320, &left);
  EXPECT_EQ(seen, (std::vector<Seen>{{100.0 / 400, 0, true, false}, {300.0 / 400, 0, true, false}}));
  EXPECT_FALSE(slider->IsDragging());
  EXPECT_EQ(slider->GetValue(), 0.0);  // the plug-in sets it, not the slider
  EXPECT_TRUE(plug.mFromGUI.empty());
}

TEST_F(PositionLine, AnOptionClickWithTheLeftButtonReportsTheTop) {
  Make();
  IMouseMod optionLeft(true, false, false, false, true);
  graphics->OnMouseDown(15, 220, &optionLeft);
  IMouseMod optionRight(false, true, false, false, true);
  graphics->OnMouseDown(15, 220, &optionRight);
  EXPECT_EQ(seen, (std::vector<Seen>{{0.0, 0, true, false}, {0.5, 0, true, false}}));
}

TEST_F(PositionLine, TheWheelReportsItsStepsNegated) {
  Make();
  Wheel(15, 100, 3);
  Wheel(15, 100, -2);
  EXPECT_EQ(seen, (std::vector<Seen>{{0.0, -3, false, true}, {0.0, 2, false, true}}));
  EXPECT_FALSE(slider->IsWheeling());
}

TEST_F(PositionLine, WithoutItsBitmapThePositionIsTheTop) {
  Make(99);  // no such resource: the control has no size
  IMouseMod left(true);
  slider->SetTargetRECT(IRECT(10, 20, 50, 60));
  graphics->OnMouseDown(15, 40, &left);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].position, 0.0);
  EXPECT_EQ(Drawn(), std::vector<LICE_pixel>(kWidth * kHeight, kClear));
}

// One row of the line colour across the bitmap's width, at the value's
// height: 400 x value rows below the top, but never below the last row.
TEST_F(PositionLine, TheLineStaysOnTheControlsRows) {
  Make();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    double value;
    int row;
  } rows[] = {{0.0, 20}, {0.25, 120}, {0.3337, 153}, {1.0, 419}, {1.5, 419}, {-0.5, 20}, {nan, 20}};
  for (const auto& r : rows) {
    slider->SetValueFromPlug(r.value);
    std::vector<LICE_pixel> expected(kWidth * kHeight, kClear);
    for (int x = 10; x < 50; ++x) expected[r.row * kWidth + x] = kLine.ToPixel();
    EXPECT_TRUE(SamePicture(Drawn(), expected, kWidth)) << r.value;
  }
}

}  // namespace
