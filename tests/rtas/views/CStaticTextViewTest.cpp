#include "rtas/views/CStaticTextView.h"

#include <memory>

#include "ViewTestSupport.h"
#include "rtas/views/DescriptionParser.h"
#include "rtas/views/PlatePalette.h"
#include "rtas/library/CDAEError.h"

namespace {

class StaticText : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    mRoot.SetFrameRect(Rect{0, 0, kHeight, kWidth});
    mText = new CStaticTextView;
    mText->SetFrameRect(Rect{10, 20, 40, 120});
    mText->SetEnabled(true);
    mRoot.AddChild(mText, false);
  }
  void Apply(const char* description) {
    ViewItem item;
    item.text = description;
    DescriptionParser parser(&item);
    ASSERT_TRUE(parser.ParseViewDescription()) << description;
    mText->ApplyDescription(&parser);
  }
  CCustomView mRoot;
  CStaticTextView* mText;
};

}  // namespace

TEST_F(StaticText, DrawsItsTextWrappedInTheFrameLessThree) {
  mText->SetText("Hello world");
  mText->SetJustification(teCenter);
  mRoot.AttachPort(mPort);
  SetPort(mPort);
  TextFont(7);
  TextSize(14);
  ClearLog();
  mText->DrawRect(nullptr);
  const auto boxes = Ops(platform::DrawOp::kTextBox);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Hello world");
  EXPECT_TRUE(SameRect(boxes[0].rect, 13, 23, 37, 117));
  EXPECT_EQ(boxes[0].justification, teCenter);
  EXPECT_EQ(boxes[0].textFont, 3);
  EXPECT_EQ(boxes[0].textSize, 9);
  EXPECT_EQ(boxes[0].textMode, srcOr);
  EXPECT_EQ(boxes[0].fore, (RGBColor{0x0000, 0x0000, 0x2222}));
  // The port's text settings come back.
  EXPECT_EQ(GetPortTextFont(mPort), 7);
  EXPECT_EQ(GetPortTextSize(mPort), 14);
}

TEST_F(StaticText, BelowOneLineEachLineIsDrawnCutToFit) {
  // Font 3 size 9: ascent 7, descent 2, leading 1 make a 10-pixel line; each
  // character is 4 pixels wide.
  mText->SetFrameRect(Rect{10, 20, 18, 52});  // text rect 26 wide, 2 high
  mText->SetText("abcdefghij\rxy");
  mRoot.AttachPort(mPort);
  ClearLog();
  mText->DrawRect(nullptr);
  EXPECT_TRUE(Ops(platform::DrawOp::kTextBox).empty());
  const auto texts = Ops(platform::DrawOp::kText);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "abcdef");  // 6 characters fill 24 of 26 pixels
  EXPECT_EQ(texts[0].from, (Point{13 + 7, 23}));
  EXPECT_EQ(texts[1].text, "xy");
  EXPECT_EQ(texts[1].from.v, 13 + 7 + 10);
}

TEST_F(StaticText, SettingTheSameTextDoesNotRedraw) {
  mText->SetText("one");
  mRoot.AttachPort(mPort);
  ClearLog();
  mText->SetText("one");
  EXPECT_TRUE(Log().empty());
  mText->SetText("two");
  // Redrawn through the parent, background first.
  ASSERT_FALSE(Log().empty());
  EXPECT_EQ(Log().front().op, platform::DrawOp::kEraseRect);
  EXPECT_TRUE(SameRect(Log().front().rect, 10, 20, 40, 120));
  mText->SetText(std::string(300, 'x'));
  EXPECT_EQ(mText->GetText().size(), 255u);
}

TEST_F(StaticText, DescriptionsSetTextAndJustification) {
  Apply("!StaticText[('text')(\"left text\" left)]");
  EXPECT_EQ(mText->GetText(), "left text");
  EXPECT_EQ(mText->GetJustification(), teFlushLeft);
  Apply("!StaticText[('text')(right)]");
  EXPECT_EQ(mText->GetJustification(), teFlushRight);
  EXPECT_EQ(mText->GetText(), "");  // the description is not the text
  Apply("!StaticText[('text')(default)]");
  EXPECT_EQ(mText->GetJustification(), teFlushDefault);
  for (const char* bad : {"!StaticText[('text')(12)]", "!StaticText[('text')(plate)]", "!StaticText[('text')]"}) {
    EXPECT_THROW(Apply(bad), CDAEError) << bad;
  }
}

TEST_F(StaticText, ForeColourFollowsTheHighlightAndThePlateIndex) {
  RGBColor color;
  mText->SetPlate(false, 4, 0);
  mText->GetForeColor(&color);
  EXPECT_EQ(color, (RGBColor{0x0000, 0x0000, 0xAAAA}));
  mText->SetPlate(false, 1, 0);
  mText->GetForeColor(&color);
  EXPECT_EQ(color, (RGBColor{0x0000, 0x6666, 0xFFFF}));
  mText->SetPlate(false, 2, 0);
  mText->GetForeColor(&color);
  EXPECT_EQ(color, (RGBColor{0x0000, 0x0000, 0x2222}));
  EXPECT_FALSE(mText->CanTakeFocus());
  std::string scrap;
  mText->SetText("copy me");
  mText->GetScrapText(&scrap);
  EXPECT_EQ(scrap, "copy me");
}
