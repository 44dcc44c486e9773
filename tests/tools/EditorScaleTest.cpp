#include "tools/EditorScale.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

// The editor is 872 x 632 at 100 %.
constexpr double kBaseWidth = 872.0, kBaseHeight = 632.0;

TEST(EditorScale, EveryScaleSizesTheWindowAsTheEditorDoes) {
  // A quarter step of 872 x 632 is 218 x 158, so each size is exact.
  for (const int percent : kGuiScalePercents) {
    const PixelSize size = EditorSizeAt(kBaseWidth, kBaseHeight, percent);
    EXPECT_EQ(size.width, 218 * percent / 25) << percent;
    EXPECT_EQ(size.height, 158 * percent / 25) << percent;
  }
  // A base that does not divide: rounded down, never up past the screen.
  const PixelSize odd = EditorSizeAt(873.0, 633.0, 75);
  EXPECT_EQ(odd.width, 654);  // 654.75
  EXPECT_EQ(odd.height, 474);  // 474.75
}

struct FitCase {
  PixelSize screen;
  int wanted, expected;
};

void PrintTo(const FitCase& c, std::ostream* os) {
  *os << c.screen.width << " x " << c.screen.height << " at most " << c.wanted << " %";
}

class ScreenFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(ScreenFit, IsTheLargestNotAboveTheWantedOne) {
  const FitCase& c = GetParam();
  EXPECT_EQ(LargestScaleThatFits(kBaseWidth, kBaseHeight, c.screen, c.wanted), c.expected);
}

// Widths 436, 654, 872, 1090, 1308, 1526, 1744; heights 316, 474, 632,
// 790, 948, 1106, 1264.
INSTANTIATE_TEST_SUITE_P(
    Screens, ScreenFit,
    ::testing::Values(FitCase{{1280, 900}, 200, 125},     // 150 % is 1308 wide
                      FitCase{{1280, 1024}, 200, 125},    // the same width bounds it
                      FitCase{{1920, 1080}, 200, 150},    // 175 % is 1106 high
                      FitCase{{1920, 1200}, 200, 175},    // 200 % is 1264 high
                      FitCase{{3840, 2160}, 200, 200},    // all fit
                      FitCase{{3840, 2160}, 100, 100},    // never above the wanted scale
                      FitCase{{1090, 790}, 200, 125},     // an exact fit fits
                      FitCase{{1089, 790}, 200, 100},     // one pixel short in width
                      FitCase{{1090, 789}, 200, 100},     // one pixel short in height
                      FitCase{{800, 600}, 100, 75},
                      FitCase{{400, 300}, 200, 50}));     // none fits: the smallest

TEST(EditorScale, KnowsTheScalesItOffers) {
  for (const long long percent : {50, 75, 100, 125, 150, 175, 200}) EXPECT_TRUE(IsGuiScalePercent(percent));
  for (const long long percent : {0, 49, 51, 90, 225, 250, -100}) EXPECT_FALSE(IsGuiScalePercent(percent));
  EXPECT_EQ(SizeText({1744, 1264}), "1744 x 1264");
}

}  // namespace
