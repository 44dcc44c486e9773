#include "rtas/views/ViewFactory.h"

#include <memory>

#include "ViewTestSupport.h"
#include "rtas/views/CCustomView.h"
#include "rtas/views/CStaticTextView.h"
#include "rtas/views/DescriptionParser.h"
#include "rtas/library/CDAEError.h"
#include "rtas/views/ViewRegistry.h"

namespace {

// Stands for the binding's editor view: a custom view and nothing more.
class DigiView : public CCustomView {};

// Refuses any description and counts how many of it are alive.
class RefusingView : public CCustomView {
 public:
  RefusingView() { ++sLive; }
  ~RefusingView() override { --sLive; }
  void ApplyDescription(DescriptionParser* parser) override {
    CCustomView::ApplyDescription(parser);
    throw CDAEError(-7400);
  }
  static int sLive;
};
int RefusingView::sLive = 0;

CPlugInView* MakeDigiView() { return new DigiView; }
CPlugInView* MakeRefusingView() { return new RefusingView; }
CPlugInView* MakeNothing() { return nullptr; }

class ViewFactory : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    RegisterViewClass("IPlugDigiView", MakeDigiView);
    RegisterViewClass("TestRefusing", MakeRefusingView);
    RegisterViewClass("TestNothing", MakeNothing);
    SetViewSize(&mContainer, 872, 632);
  }
  CCustomView mContainer;
};

}  // namespace

TEST_F(ViewFactory, TheEditorsDescriptionMakesItsViewDisabledAndFramed) {
  EXPECT_TRUE(SameRect(mContainer.Frame(), 0, 0, 632, 872));
  CPlugInView* view = CreateViewFromDescription(&mContainer, "!IPlugDigiView[('NoID')]", 0, 0, 872, 632, false);
  ASSERT_NE(dynamic_cast<DigiView*>(view), nullptr);
  EXPECT_EQ(view->GetViewID(), FourCC("NoID"));
  EXPECT_FALSE(view->IsEnabled());
  EXPECT_TRUE(SameRect(view->Frame(), 0, 0, 632, 872));
  EXPECT_EQ(mContainer.GetFirstChild(), view);
  EXPECT_EQ(view->GetParentView(), &mContainer);
}

TEST_F(ViewFactory, ABackgroundWithAPlate) {
  CPlugInView* view = CreateViewFromDescription(&mContainer, "!Background[('abcd' plate)]", 10, 20, 30, 40, true);
  CCustomView* custom = dynamic_cast<CCustomView*>(view);
  ASSERT_NE(custom, nullptr);
  EXPECT_EQ(typeid(*custom), typeid(CCustomView));
  EXPECT_EQ(custom->GetViewID(), FourCC("abcd"));
  EXPECT_TRUE(custom->HasPlate());
  EXPECT_FALSE(custom->IsInversePlate());
  EXPECT_EQ(custom->GetPlateColorIndex(), 0);
  EXPECT_TRUE(custom->IsEnabled());
  EXPECT_TRUE(SameRect(custom->Frame(), 20, 10, 60, 40));
}

TEST_F(ViewFactory, TextThatIsNoUsableDescriptionBecomesAStaticTextShowingIt) {
  for (const char* text : {"Hello", "!Unregistered[('abcd')]", "!Background[('ab')]", "!Background[('abcd')](1)",
                           "!Background[('abcd') 5]", "!Background[(12)]", "!TestRefusing[('abcd')]"}) {
    CCustomView container;
    SetViewSize(&container, 200, 100);
    CPlugInView* view = CreateViewFromDescription(&container, text, 5, 6, 50, 20, true);
    CStaticTextView* fallback = dynamic_cast<CStaticTextView*>(view);
    ASSERT_NE(fallback, nullptr) << text;
    EXPECT_EQ(typeid(*fallback), typeid(CStaticTextView)) << text;
    EXPECT_EQ(fallback->GetText(), text);
    // Placed where the view would have gone, so that the text shows.
    EXPECT_TRUE(SameRect(fallback->Frame(), 6, 5, 26, 55)) << text;
    EXPECT_EQ(container.GetFirstChild(), view) << text;
  }
  // The refused view was deleted, not leaked.
  EXPECT_EQ(RefusingView::sLive, 0);
}

TEST_F(ViewFactory, BackquotesAreReadAsDoubleQuotes) {
  CPlugInView* view =
      CreateViewFromDescription(&mContainer, "!StaticText[('text')(`a string` center)]", 0, 0, 80, 20, true);
  CStaticTextView* text = dynamic_cast<CStaticTextView*>(view);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->GetViewID(), FourCC("text"));
  EXPECT_EQ(text->GetText(), "a string");
  EXPECT_EQ(text->GetJustification(), teCenter);
}

TEST_F(ViewFactory, ADescriptionLongerThanALengthByteIsReadWhole) {
  // 300 bytes: a length byte would wrap to 44 and cut the description short.
  std::string text = "!StaticText[('text')(\"" + std::string(250, 'x') + "\")";
  text += std::string(300 - text.size() - 1, ' ') + "]";
  ASSERT_EQ(text.size(), 300u);
  CStaticTextView* view =
      dynamic_cast<CStaticTextView*>(CreateViewFromDescription(&mContainer, text.c_str(), 0, 0, 10, 10, true));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->GetViewID(), FourCC("text"));
  EXPECT_EQ(view->GetText(), std::string(250, 'x'));
}

TEST_F(ViewFactory, ANewChildNestsInTheChildThatHoldsIt) {
  CPlugInView* outer = CreateViewFromDescription(&mContainer, "!Background[('outr')]", 0, 0, 100, 100, true);
  CPlugInView* inner = CreateViewFromDescription(&mContainer, "!Background[('innr')]", 10, 10, 20, 20, true);
  EXPECT_EQ(inner->GetParentView(), outer);
  EXPECT_EQ(mContainer.FindViewByID(FourCC("innr")), inner);
}

TEST_F(ViewFactory, CreateViewFromItemReportsWhatItMade) {
  ViewItem item;
  item.bounds = Rect{1, 2, 3, 4};
  item.type = ViewItem::kStaticText | ViewItem::kDisabled;
  item.text = "!Background[('abcd' 3 inversePlate)]";
  bool ok = false;
  std::unique_ptr<CPlugInView> view(CreateViewFromItem(&item, &ok));
  EXPECT_TRUE(ok);
  CCustomView* custom = dynamic_cast<CCustomView*>(view.get());
  ASSERT_NE(custom, nullptr);
  EXPECT_FALSE(custom->IsEnabled());
  EXPECT_TRUE(SameRect(custom->Frame(), 1, 2, 3, 4));
  EXPECT_TRUE(custom->IsInversePlate());
  EXPECT_EQ(custom->GetStoredPlateColorIndex(), 3);

  item.text = "plain";
  EXPECT_EQ(CreateViewFromItem(&item, &ok), nullptr);
  EXPECT_FALSE(ok);
}

TEST_F(ViewFactory, FailuresOutsideTheDescriptionRaise) {
  bool ok = true;
  try {
    CreateViewFromItem(nullptr, &ok);
    FAIL();
  } catch (const CDAEError& e) {
    EXPECT_EQ(e.Code(), -7053);
  }
  try {
    CreateViewFromDescription(&mContainer, "!TestNothing[('abcd')]", 0, 0, 1, 1, true);
    FAIL();
  } catch (const CDAEError& e) {
    EXPECT_EQ(e.Code(), -7053);
  }
  EXPECT_EQ(mContainer.GetFirstChild(), nullptr);
}
