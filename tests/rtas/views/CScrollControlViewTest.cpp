#include "rtas/views/CScrollControlView.h"

#include <memory>

#include "ViewTestSupport.h"
#include "rtas/views/CItemListView.h"
#include "rtas/views/DescriptionParser.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/ControlValue.h"

namespace {

// An item list of two children, 300 pixels of content in a 100-pixel frame.
class ScrollControl : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    mList = std::make_unique<CItemListView>();
    mList->SetFrameRect(Rect{0, 0, 100, 200});
    mTop = new CCustomView;
    mTop->SetFrameRect(Rect{0, 0, 150, 200});
    mBottom = new CCustomView;
    mBottom->SetFrameRect(Rect{150, 0, 300, 200});
    mList->AddChild(mTop, false);
    mList->AddChild(mBottom, false);
  }
  std::unique_ptr<CItemListView> mList;
  CCustomView* mTop;
  CCustomView* mBottom;
};

}  // namespace

TEST_F(ScrollControl, OneStepPerPixelOfHiddenContent) {
  Rect content;
  mList->GetContentBounds(&content);
  EXPECT_EQ(content, (Rect{0, 0, 300, 200}));
  CScrollControlView scroll;
  scroll.SetScrolledView(mList.get(), CScrollControlView::kVertical);
  EXPECT_EQ(scroll.GetStepCount(), 201);
  EXPECT_EQ(scroll.GetValue(), INT32_MIN);
  scroll.SetValue(IntToControlValue(50, 0, 200));
  EXPECT_EQ(mTop->Frame().top, -50);
  EXPECT_EQ(mBottom->Frame().top, 100);
  scroll.SetValue(IntToControlValue(200, 0, 200));
  EXPECT_EQ(mBottom->Frame().bottom, 100);
  // Horizontally everything fits: one step.
  CScrollControlView across;
  across.SetScrolledView(mList.get(), CScrollControlView::kHorizontal);
  EXPECT_EQ(across.GetStepCount(), 1);
  EXPECT_EQ(across.GetValue(), INT32_MIN);
}

TEST_F(ScrollControl, ContentStartingInsideTheFrameIsRefused) {
  mTop->OffsetBy(0, 10);
  mBottom->OffsetBy(0, 10);
  CScrollControlView scroll;
  EXPECT_THROW(scroll.SetScrolledView(mList.get(), CScrollControlView::kVertical), CDAEError);
}

TEST_F(ScrollControl, AListBindsTheScrollControlsItNames) {
  CCustomView root;
  root.SetFrameRect(Rect{0, 0, 400, 400});
  CScrollControlView* scroll = new CScrollControlView;
  scroll->SetViewID(FourCC("vscr"));
  root.AddChild(scroll, false);
  ViewItem item;
  item.text = "!ItemList[('list')(128 'NONE' 'vscr')]";
  DescriptionParser parser(&item);
  ASSERT_TRUE(parser.ParseViewDescription());
  mList->ApplyDescription(&parser);
  EXPECT_EQ(mList->GetItemListID(), 128);
  EXPECT_EQ(mList->GetVerticalScrollID(), FourCC("vscr"));
  root.AddChild(mList.release(), false);
  root.RealizeTree();
  EXPECT_EQ(scroll->GetStepCount(), 201);
  EXPECT_NE(scroll->GetScrolledView(), nullptr);
  root.UnrealizeTree();
  EXPECT_EQ(scroll->GetScrolledView(), nullptr);
}
