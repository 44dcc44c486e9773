#include "editor/EditorControls.h"

#include <gtest/gtest.h>

#include <memory>

#include "graphics/controls/ITextControlClick.h"
#include "tests/editor/EditorFixture.h"

namespace {

struct HexCase {
  const char* hex;
  int alpha;
  IColor expected;
};

class HexToIColorCases : public ::testing::TestWithParam<HexCase> {};

TEST_P(HexToIColorCases, SkipsTheFirstCharacterAndReadsHexDigits) {
  const HexCase& c = GetParam();
  EXPECT_EQ(EditorControls::HexToIColor(c.hex, c.alpha), c.expected) << c.hex;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, HexToIColorCases,
    ::testing::Values(
        // The layout's two colours: 0xc5 = 197, 0xc6 = 198, 0xc7 = 199; 0x13 = 19, 0x16 = 22, 0x1a = 26.
        HexCase{"#c5c6c7", 255, IColor(255, 197, 198, 199)}, HexCase{"#13161a", 128, IColor(128, 19, 22, 26)},
        HexCase{"#FFA07A", 255, IColor(255, 255, 160, 122)},
        // Any first character is skipped; reading stops at a non-digit.
        HexCase{"x0000ff", 10, IColor(10, 0, 0, 255)}, HexCase{"#12zz", 255, IColor(255, 0, 0, 0x12)},
        // Nothing to read: black at the alpha.
        HexCase{"#", 255, IColor(255, 0, 0, 0)}, HexCase{"", 77, IColor(77, 0, 0, 0)},
        HexCase{nullptr, 255, IColor(255, 0, 0, 0)}));

TEST_F(EditorFixture, AClickableReadoutDrawsOneSizeBelowItsStyleAtEveryScale) {
  const IText style(13, kColorWhite);
  auto* readout = Attach(EditorControls::NewTextControlClick(&plug, IRECT(10, 20, 40, 32), style, "-inf", 151));
  EXPECT_STREQ(readout->GetText(), "-inf");
  EXPECT_EQ(readout->GetTag(), 151);
  EXPECT_EQ(readout->GetRECT(), IRECT(10, 20, 40, 32));
  EXPECT_EQ(readout->GetUnscaledText().mSize, 12);
  EXPECT_EQ(readout->GetUnscaledText().mColor, kColorWhite);
  graphics->SetGUIScale(2.0, 2.0);
  graphics->RescaleControls(kWidth, kHeight, 2.0, 2.0);
  EXPECT_EQ(readout->GetIText()->mSize, 24);

  // A click tells the plug-in its tag.
  graphics->SetGUIScale(1.0, 1.0);
  graphics->RescaleControls(kWidth, kHeight, 1.0, 1.0);
  Click(15, 25);
  ASSERT_FALSE(plug.mChanged.empty());
  EXPECT_EQ(plug.mChanged.back(), 151);
}

}  // namespace
