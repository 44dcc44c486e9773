#include "rtas/views/CMacControlView.h"

#include <memory>

#include "ViewTestSupport.h"
#include "platform/hitoolbox/Controls.h"
#include "rtas/views/CButtonView.h"
#include "rtas/views/CCheckBoxView.h"
#include "rtas/views/CRadioButtonView.h"
#include "rtas/views/DescriptionParser.h"
#include "rtas/library/CDAEError.h"

namespace {

class MacControl : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    platform::ClearControlCalls();
    platform::SetTrackControlAnswer(0);
  }
  void TearDown() override { ViewTest::TearDown(); }
};

}  // namespace

TEST_F(MacControl, TheControlLivesWhileThereIsAPort) {
  const int live = platform::LiveControlCount();
  {
    CCheckBoxView box;
    ViewItem item;
    item.text = "!CheckBox[('chck')(\"Loud\" 0 1 1)]";
    DescriptionParser parser(&item);
    ASSERT_TRUE(parser.ParseViewDescription());
    box.ApplyDescription(&parser);
    box.SetFrameRect(Rect{5, 6, 25, 106});
    box.AttachPort(mPort);
    ControlRef control = box.GetControl();
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->window, mWindow);
    EXPECT_EQ(control->procID, checkBoxProc);
    EXPECT_EQ(control->title, "Loud");
    EXPECT_EQ(control->value, 1);
    EXPECT_EQ(control->maximum, 1);
    EXPECT_FALSE(control->visible);
    EXPECT_EQ(control->refCon, reinterpret_cast<intptr_t>(&box));
    EXPECT_EQ(control->bounds, (Rect{5, 6, 25, 106}));
    // Shown on the first draw, drawn after that.
    box.DrawRect(nullptr);
    box.DrawRect(nullptr);
    const auto& calls = platform::ControlCalls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[1].kind, platform::ControlCallKind::kShow);
    EXPECT_EQ(calls[2].kind, platform::ControlCallKind::kDraw);
    box.OffsetBy(10, 20);
    EXPECT_EQ(control->bounds, (Rect{25, 16, 45, 116}));
    EventRecord click = Click(20, 30);
    box.HandleClick(&click);
    EXPECT_EQ(platform::ControlCalls().back().kind, platform::ControlCallKind::kTrack);
    box.AttachPort(nullptr);
    EXPECT_EQ(box.GetControl(), nullptr);
    EXPECT_EQ(platform::LiveControlCount(), live);
    box.AttachPort(mPort);
  }
  // Deleted with the view.
  EXPECT_EQ(platform::LiveControlCount(), live);
}

TEST_F(MacControl, EachKindHasItsDefinition) {
  EXPECT_EQ(CButtonView().GetProcID(), pushButProc);
  EXPECT_EQ(CCheckBoxView().GetProcID(), checkBoxProc);
  EXPECT_EQ(CRadioButtonView().GetProcID(), radioButProc);
  CMacControlView plain;
  EXPECT_THROW(plain.GetProcID(), CDAEError);
}

TEST_F(MacControl, DescriptionsNeedTitleAndThreeNumbers) {
  for (const char* bad : {"!Button[('bttn')(\"T\" 0 1)]", "!Button[('bttn')(\"T\" 0 1 0 9)]",
                          "!Button[('bttn')(0 1 0)]", "!Button[('bttn')]"}) {
    ViewItem item;
    item.text = bad;
    DescriptionParser parser(&item);
    ASSERT_TRUE(parser.ParseViewDescription()) << bad;
    CButtonView button;
    EXPECT_THROW(button.ApplyDescription(&parser), CDAEError) << bad;
  }
}
