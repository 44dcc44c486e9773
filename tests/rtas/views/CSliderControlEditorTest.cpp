#include "rtas/views/CSliderControlEditor.h"

#include <memory>

#include "ViewTestSupport.h"
#include "rtas/views/CControlView.h"
#include "rtas/views/DescriptionParser.h"

namespace {

class Slider : public ViewTest {
 protected:
  CSliderControlEditor* Make(const Rect& frame, bool reverse = false) {
    mRoot = std::make_unique<CCustomView>();
    mRoot->SetFrameRect(Rect{0, 0, kHeight, kWidth});
    mControl = new CControlView;
    mControl->SetViewID(FourCC("ctrl"));
    mRoot->AddChild(mControl, false);
    ViewItem item;
    item.bounds = frame;
    item.text = reverse ? "!Slider[('sldr')('ctrl')(reverse)]" : "!Slider[('sldr')('ctrl')()]";
    DescriptionParser parser(&item);
    EXPECT_TRUE(parser.ParseViewDescription());
    CSliderControlEditor* slider = new CSliderControlEditor;
    slider->SetFrameRect(frame);
    slider->SetEnabled(true);
    slider->ApplyDescription(&parser);
    mRoot->AddChild(slider, false);
    mRoot->Realize();
    return slider;
  }
  std::unique_ptr<CCustomView> mRoot;
  CControlView* mControl = nullptr;
};

}  // namespace

TEST_F(Slider, TheThumbRunsTheTravelFromEndToEnd) {
  CSliderControlEditor* slider = Make(Rect{0, 0, 20, 200});  // horizontal
  ASSERT_TRUE(slider->IsHorizontal());
  EXPECT_EQ(slider->ThumbLength(), 15);  // 0.75 of 20
  EXPECT_EQ(slider->Travel(), 185);
  EXPECT_EQ(slider->ThumbOffset(INT32_MIN), 0);
  EXPECT_EQ(slider->ThumbOffset(INT32_MAX), 185);
  // The middle: (0 + 32768) / 2^17 + 16384 of 32767.
  EXPECT_EQ(slider->ThumbOffset(0), 16384 * 185 / 32767);
  CSliderControlEditor* reversed = Make(Rect{0, 0, 20, 200}, true);
  EXPECT_EQ(reversed->ThumbOffset(INT32_MIN), 185);
  EXPECT_EQ(reversed->ThumbOffset(INT32_MAX), 0);
}

TEST_F(Slider, AVerticalSliderMeasuresFromTheBottomAndRidgesItsKnobAcross) {
  CSliderControlEditor* slider = Make(Rect{10, 10, 110, 30});  // 20 wide, 100 tall
  ASSERT_FALSE(slider->IsHorizontal());
  mControl->SetValue(INT32_MIN);
  EXPECT_EQ(slider->ThumbRect(INT32_MIN), (Rect{95, 10, 110, 30}));
  EXPECT_EQ(slider->ThumbRect(INT32_MAX), (Rect{10, 10, 25, 30}));
  CCustomView* knob = slider->GetKnob();
  ASSERT_NE(knob, nullptr);
  EXPECT_EQ(knob->GetViewID(), FourCC("Knob"));
  EXPECT_EQ(knob->GetParentView(), slider);
  EXPECT_TRUE(knob->HasPlate());
  EXPECT_EQ(knob->GetRidgeMarks(), CCustomView::kHorizontalRidges);
  EXPECT_FALSE(knob->IsEnabled());
  EXPECT_EQ(knob->Frame(), (Rect{95, 10, 110, 30}));
  CSliderControlEditor* wide = Make(Rect{0, 0, 20, 200});
  EXPECT_EQ(wide->GetKnob()->GetRidgeMarks(), CCustomView::kVerticalRidges);
}

TEST_F(Slider, DraggingTheThumbSetsTheValueAlongTheAxis) {
  CSliderControlEditor* slider = Make(Rect{0, 0, 20, 200});
  mControl->SetValue(0);
  slider->ValueChanged();
  const Rect thumb = slider->ThumbRect(0);
  const int16_t h = static_cast<int16_t>((thumb.left + thumb.right) / 2);
  // The whole travel to the right saturates at the top of the range.
  platform::ScriptMouse(Point{10, h}, true, {At(static_cast<int16_t>(h + 10), 10), At(static_cast<int16_t>(h + 400), 10),
                                             At(static_cast<int16_t>(h + 400), 10, false)});
  EventRecord click = Click(h, 10);
  slider->TrackClick(&click, false);
  EXPECT_EQ(mControl->GetValue(), INT32_MAX);
  EXPECT_EQ(slider->GetKnob()->Frame(), slider->ThumbRect(INT32_MAX));
  EXPECT_FALSE(slider->GetKnob()->IsHilited());
  // Ten pixels: 10 / 185 of the range.
  mControl->SetValue(0);
  platform::ScriptMouse(Point{10, h}, true, {At(static_cast<int16_t>(h + 10), 10), At(0, 0, false)});
  slider->TrackClick(&click, false);
  EXPECT_EQ(mControl->GetValue(), 10 * (4294967295LL / 185));
  // A click off the thumb does nothing.
  mControl->SetValue(0);
  EventRecord away = Click(2, 10);
  platform::ScriptMouse(Point{10, 2}, true, {At(100, 10), At(0, 0, false)});
  slider->TrackClick(&away, false);
  EXPECT_EQ(mControl->GetValue(), 0);
}
