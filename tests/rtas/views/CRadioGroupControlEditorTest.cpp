#include "rtas/views/CRadioGroupControlEditor.h"

#include <memory>

#include "ProbeView.h"
#include "ViewTestSupport.h"
#include "rtas/views/CControlView.h"
#include "rtas/views/DescriptionParser.h"

namespace {

class RadioGroup : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    mRoot.SetFrameRect(Rect{0, 0, kHeight, kWidth});
    mControl = new CControlView;
    mControl->SetViewID(FourCC("ctrl"));
    mControl->SetStepCount(3);
    mRoot.AddChild(mControl, false);
    ViewItem item;
    item.text = "!RadioGroup[('grup')('ctrl')(\"EnableHighlight\" \"other\")]";
    DescriptionParser parser(&item);
    ASSERT_TRUE(parser.ParseViewDescription());
    mGroup = new CRadioGroupControlEditor;
    mGroup->SetFrameRect(Rect{10, 10, 40, 130});
    mGroup->SetEnabled(true);
    mGroup->ApplyDescription(&parser);
    mRoot.AddChild(mGroup, false);
    // Four buttons for three steps: the last one is never a step.
    for (int i = 0; i < 4; ++i) {
      mButtons[i] = new ProbeView(nullptr, "button", Rect{10, static_cast<int16_t>(10 + 30 * i), 40,
                                                          static_cast<int16_t>(40 + 30 * i)});
      mGroup->AddChild(mButtons[i], true);
    }
    mRoot.Realize();
  }
  CCustomView mRoot;
  CControlView* mControl;
  CRadioGroupControlEditor* mGroup;
  ProbeView* mButtons[4];
};

}  // namespace

TEST_F(RadioGroup, AClickPicksTheButtonsStep) {
  EXPECT_TRUE(mGroup->IsHighlightEnabled());
  ASSERT_EQ(mGroup->GetControlView(), mControl);
  platform::ScriptMouse(Point{20, 55}, true, {At(55, 20, false)});
  EventRecord click = Click(55, 20);
  mGroup->TrackClick(&click, false);
  EXPECT_EQ(mGroup->GetStep(), 1);
  EXPECT_EQ(mControl->GetValue(), 0);  // the middle of three
  EXPECT_TRUE(mButtons[1]->IsHilited());
  EXPECT_FALSE(mButtons[0]->IsHilited());
  // The fourth button is past the steps.
  EventRecord past = Click(115, 20);
  mGroup->TrackClick(&past, false);
  EXPECT_EQ(mGroup->GetStep(), 1);
}

TEST_F(RadioGroup, ASyntheticClickKeepsPickingWhileTheButtonIsDown) {
  platform::ScriptMouse(Point{20, 15}, true, {At(45, 20), At(75, 20), At(75, 20, false)});
  EventRecord click = Click(15, 20, 0, CPlugInView::kSyntheticClick);
  mGroup->TrackClick(&click, true);
  EXPECT_EQ(mGroup->GetStep(), 2);
  EXPECT_TRUE(mButtons[2]->IsHilited());
  EXPECT_FALSE(mButtons[1]->IsHilited());
}

TEST_F(RadioGroup, AHighlightedControlFramesTheGroupInItsColour) {
  mRoot.AttachPort(mPort);
  struct Case {
    uint16_t color;
    RGBColor frame;
  };
  for (const Case& c : {Case{0, {0xFFFF, 0, 0}}, Case{1, {0, 0, 0xAAAA}}, Case{3, {0xFFFF, 0xCCCC, 0}},
                        Case{2, {0, 0xDDDD, 0}}, Case{9, {0, 0xDDDD, 0}}}) {
    mControl->SetHighlighted(true);
    mControl->SetHighlight(c.color, 0, "");
    ClearLog();
    mGroup->DrawRect(nullptr);
    const auto frames = Ops(platform::DrawOp::kFrameRect);
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.back().rect, mGroup->Frame());
    EXPECT_EQ(frames.back().fore, c.frame) << c.color;
  }
  platform::ValidateWindow(mWindow);
  mControl->SetHighlighted(false);
  EXPECT_EQ(platform::InvalidArea(mWindow), 30L * 120L);  // the frame's area, to clear the frame
}
