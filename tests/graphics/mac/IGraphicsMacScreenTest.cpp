#include <gtest/gtest.h>

#include "graphics/mac/SurfaceDoubling.h"
#include "lice/LICE_SysBitmap.h"
#include "platform/cocoa/NSWindow.h"
#include "platform/coregraphics/CGContext.h"
#include "platform/coregraphics/CGImage.h"
#include "tests/graphics/mac/MacWindowFixture.h"

namespace {

const IColor kRed(255, 200, 0, 0);
const IColor kBlue(255, 0, 0, 200);

// The editor is red in its top-left 50 x 30 pixels, blue elsewhere.
class MacScreen : public MacWindowFixture {
 protected:
  void SetUp() override {
    AddPanel(IRECT(0, 0, kWidth, kHeight), kBlue);
    AddPanel(IRECT(0, 0, 50, 30), kRed);
  }
  // Whether the window's device pixel shows the editor pixel the mapping
  // puts there: device (x, y) shows editor (x / scale, y / scale).
  void ExpectPicture(double scale) {
    const platform::ScreenWindow* screen = Screen();
    ASSERT_EQ(screen->PixelWidth(), static_cast<int>(kWidth * scale + 0.999));
    for (int y = 0; y < screen->PixelHeight(); y += 3) {
      for (int x = 0; x < screen->PixelWidth(); x += 3) {
        const int ex = static_cast<int>((x + 0.5) / scale);
        const int ey = static_cast<int>((y + 0.5) / scale);
        const IColor& expected = ex < 50 && ey < 30 ? kRed : kBlue;
        uint8_t rgb[3];
        screen->PixelRGB(x, y, rgb);
        ASSERT_EQ(rgb[0], expected.R) << x << "," << y;
        ASSERT_EQ(rgb[2], expected.B) << x << "," << y;
      }
    }
  }
};

TEST_F(MacScreen, WithoutAViewOrAContextNothingIsDrawn) {
  IRECT all(0, 0, kWidth, kHeight);
  EXPECT_FALSE(graphics->DrawScreen(&all));
  OpenCarbon();
  // Outside a draw event the Carbon view has no context, not even the one
  // of the last draw, which belonged to that event.
  EXPECT_GT(platform::DrawEventCount(), 0);
  EXPECT_FALSE(graphics->DrawScreen(&all));
}

struct ScaleCase {
  double scale;
  bool doubled;
};

class MacScreenScales : public MacScreen, public ::testing::WithParamInterface<ScaleCase> {};

TEST_P(MacScreenScales, ScreensOfMoreThan1Point9PixelsAPointGetTheDoubledSurface) {
  const ScaleCase c = GetParam();
  MakeWindow();
  Screen()->SetDeviceScale(c.scale);
  graphics->OpenWindowCarbon(window, nullptr);
  platform::RunLoopPass();
  const platform::DrawnImage image = platform::LastDrawnImage();
  const int span = graphics->GetDrawBitmap()->getRowSpan();
  EXPECT_EQ(image.width, c.doubled ? 2 * kWidth : kWidth);
  EXPECT_EQ(image.height, c.doubled ? 2 * kHeight : kHeight);
  EXPECT_EQ(image.rowSpan, c.doubled ? DoubledRowSpan(kWidth) : span);
  // Either way the picture fills the editor's area the right way up.
  ExpectPicture(c.scale);
}

INSTANTIATE_TEST_SUITE_P(Table, MacScreenScales,
                         ::testing::Values(ScaleCase{1.0, false}, ScaleCase{1.5, false}, ScaleCase{1.9, false},
                                           ScaleCase{1.91, true}, ScaleCase{2.0, true}));

TEST_F(MacScreen, TheCocoaViewDrawsTheSameWayUp) {
  auto* window = new NSWindow(NSMakeRect(0, 0, kWidth, kHeight), 1, NSBackingStoreBuffered, false);
  window->makeKeyAndOrderFront(nullptr);
  graphics->OpenWindow(window->contentView());
  Ticks(1);  // a Cocoa timer's first tick comes after one interval
  const platform::ScreenWindow* screen = window->ScreenWindow();
  uint8_t rgb[3];
  screen->PixelRGB(10, 10, rgb);
  EXPECT_EQ(rgb[0], kRed.R);
  screen->PixelRGB(10, kHeight - 5, rgb);
  EXPECT_EQ(rgb[2], kBlue.B);
  screen->PixelRGB(kWidth - 5, 10, rgb);
  EXPECT_EQ(rgb[2], kBlue.B);
  graphics->CloseWindow();
  window->close();
}

TEST_F(MacScreen, TheColourSpaceIsMadeOnceAndImagesDoNotOutliveTheDraw) {
  OpenCarbon();
  const int spaces = platform::ColorSpacesCreated();
  for (int i = 0; i < 3; ++i) {
    graphics->SetAllControlsDirty(false);
    Ticks(1);
  }
  EXPECT_EQ(platform::ColorSpacesCreated(), spaces);
  EXPECT_EQ(platform::LiveImageCount(), 0);
}

}  // namespace
