#include "graphics/controls/IParameterButtonExtHz.h"

#include "tests/graphics/controls/ControlsFixture.h"

namespace {

// Five significant digits, whole Hertz from 10 kHz up.
TEST_F(ControlsFixture, AFrequencyShowsFiveSignificantDigits) {
  auto* button = Attach(new IParameterButtonExtHz(&plug, IRECT(20, 30, 80, 52), ControlsTestPlug::kFreq, nullptr));
  const struct {
    double hz;
    const char* text;
  } rows[] = {{99.5, "99.500"},      {999.5, "999.50"}, {12000.0, "12000"}, {10.0, "10.000"},
              {99.9999, "100.000"},  // still below 100: three decimals, then rounded
              {100.0, "100.00"},     {9999.5, "9999.5"}, {10000.0, "10000"}, {30000.0, "30000"}};
  for (const auto& r : rows) {
    plug.GetParam(ControlsTestPlug::kFreq)->Set(r.hz);
    char text[32];
    button->GetValueText(text, sizeof text);
    EXPECT_STREQ(text, r.text) << r.hz;
  }
}

TEST_F(ControlsFixture, AFrequencyButtonDrawsItsHertzText) {
  TestFontScope testFont;
  const IText style(13, kColorWhite, "Verdana", IText::kStyleBold);
  Attach(new IParameterButtonExtHz(&plug, IRECT(20, 30, 80, 52), ControlsTestPlug::kFreq, &style));
  plug.GetParam(ControlsTestPlug::kFreq)->Set(999.5);
  ReferencePicture reference(kWidth, kHeight);
  const auto expected = reference.Draw([&](IGraphics* g) {
    IRECT r(20, 30, 80, 52);
    IText s = style;
    g->DrawIText(&s, "999.50", &r);
  });
  EXPECT_TRUE(SamePicture(Drawn(), expected, kWidth));
}

}  // namespace
