#include "graphics/controls/ITextControlExt.h"

#include "tests/graphics/controls/ControlsFixture.h"

namespace {

class TextReadout : public ControlsFixture {
 protected:
  TextReadout() : style(12, IColor(255, 230, 220, 210), "Verdana", IText::kStyleNormal, IText::kAlignFar) {}

  // The text drawn into the rectangle with the style at the given size.
  std::vector<LICE_pixel> Expected(const char* text, const IRECT& rect, int size) {
    return reference.Draw([&](IGraphics* g) {
      IText s = style;
      s.mSize = size;
      s.mCached = nullptr;
      IRECT r = rect;
      g->DrawIText(&s, text, &r);
    });
  }

  TestFontScope testFont;
  IText style;
  ReferencePicture reference{kWidth, kHeight};
};

TEST_F(TextReadout, DrawsOnePixelSmallerUntilTheFirstRescale) {
  auto* text = Attach(new ITextControlExt(&plug, IRECT(20, 30, 120, 45), &style, "-inf"));
  EXPECT_EQ(text->GetIText()->mSize, 11);
  EXPECT_EQ(text->GetUnscaledText().mSize, 12);
  EXPECT_EQ(text->ParamIdx(), -1);
  EXPECT_TRUE(SamePicture(Drawn(), Expected("-inf", IRECT(20, 30, 120, 45), 11), kWidth));

  graphics->RescaleControls(100, 100, 1.0, 1.0);
  EXPECT_TRUE(SamePicture(Drawn(), Expected("-inf", IRECT(20, 30, 120, 45), 12), kWidth));
  graphics->RescaleControls(100, 100, 2.0, 1.5);
  // Left 40, top 45, width 200, height trunc(15 x 1.5) = 22; size 12 x 1.5.
  EXPECT_EQ(text->GetRECT(), IRECT(40, 45, 240, 67));
  EXPECT_TRUE(SamePicture(Drawn(), Expected("-inf", IRECT(40, 45, 240, 67), 18), kWidth));
}

// A style that has already drawn holds the font of its size; taken over
// with another size, that font must not come with it.
TEST_F(TextReadout, AStyleThatHasDrawnBeforeTakesItsNewSize) {
  IRECT r(0, 0, 10, 10);
  graphics->DrawIText(&style, "x", &r);
  ASSERT_NE(style.mCached, nullptr);
  Attach(new ITextControlExt(&plug, IRECT(20, 30, 120, 45), &style, "-inf"));
  EXPECT_TRUE(SamePicture(Drawn(), Expected("-inf", IRECT(20, 30, 120, 45), 11), kWidth));
}

TEST_F(TextReadout, OnlyANewTextMarksItForRedraw) {
  auto* text = Attach(new ITextControlExt(&plug, IRECT(20, 30, 120, 45), &style, "-inf"));
  Drawn();
  EXPECT_FALSE(text->IsDirty());
  text->SetTextFromPlug("-inf");
  EXPECT_FALSE(text->IsDirty());
  text->SetTextFromPlug("-3.5");
  EXPECT_TRUE(text->IsDirty());
  EXPECT_STREQ(text->GetText(), "-3.5");
  EXPECT_TRUE(SamePicture(Drawn(), Expected("-3.5", IRECT(20, 30, 120, 45), 11), kWidth));
  text->SetTextFromPlug(nullptr);
  EXPECT_STREQ(text->GetText(), "");
  EXPECT_EQ(Drawn(), std::vector<LICE_pixel>(kWidth * kHeight, kClear));
}

// As the value display of a bound control: the parameter's text and unit.
TEST_F(TextReadout, ShowsABoundControlsValue) {
  auto* text = Attach(new ITextControlExt(&plug, IRECT(20, 30, 120, 45), &style, ""));
  auto* bound = Attach(new ITextControlExt(&plug, IRECT(20, 60, 120, 75), &style, ""));
  IControl* knob = Attach(new IControl(&plug, IRECT(150, 30, 200, 80), ControlsTestPlug::kGain));
  knob->SetValueDisplayControl(text);
  knob->SetNameDisplayControl(bound);
  graphics->SetParameterViaControls(ControlsTestPlug::kGain, 0.75, true);
  EXPECT_STREQ(text->GetText(), "24.00 dB");
  EXPECT_STREQ(bound->GetText(), "Gain");
}

}  // namespace
