#include "graphics/controls/ITextControlClick.h"

#include "tests/graphics/controls/ControlsFixture.h"

namespace {

TEST_F(ControlsFixture, AClickOnTheTextTellsThePlugin) {
  const IText style(13, kColorWhite);
  auto* text = Attach(new ITextControlClick(&plug, IRECT(20, 30, 50, 42), &style, "-inf", ControlsTestPlug::kTag));
  auto* silent = Attach(new ITextControlClick(&plug, IRECT(60, 30, 90, 42), &style, "-inf", -1));
  EXPECT_EQ(text->GetIText()->mSize, 12);
  EXPECT_EQ(text->GetTag(), ControlsTestPlug::kTag);
  Click(25, 35);
  Click(65, 35);
  EXPECT_EQ(plug.mTags, std::vector<int>{ControlsTestPlug::kTag});
  EXPECT_TRUE(plug.mFromGUI.empty());
  EXPECT_EQ(silent->GetValue(), 0.0);
}

TEST_F(ControlsFixture, AGreyedClickableTextDrawsAtHalfAlpha) {
  TestFontScope testFont;
  const IText style(13, IColor(255, 200, 100, 50), "Verdana", IText::kStyleNormal, IText::kAlignFar);
  auto* text = Attach(new ITextControlClick(&plug, IRECT(20, 30, 50, 42), &style, "-inf", ControlsTestPlug::kTag));
  ReferencePicture reference(kWidth, kHeight);
  const auto expected = [&](int alpha) {
    return reference.Draw([&](IGraphics* g) {
      IText s = style;
      s.mSize = 12;
      s.mColor.A = alpha;
      IRECT r(20, 30, 50, 42);
      g->DrawIText(&s, "-inf", &r);
    });
  };
  EXPECT_TRUE(SamePicture(Drawn(), expected(255), kWidth));
  text->GrayOut(true);
  EXPECT_TRUE(SamePicture(Drawn(), expected(127), kWidth));
  // Greyed, it takes no clicks.
  Click(25, 35);
  EXPECT_TRUE(plug.mTags.empty());
}

}  // namespace
