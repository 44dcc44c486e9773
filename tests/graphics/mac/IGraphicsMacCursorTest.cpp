#include <gtest/gtest.h>

#include "platform/cocoa/NSCursor.h"
#include "platform/cocoa/NSWindow.h"
#include "tests/graphics/mac/MacWindowFixture.h"

namespace {

class MacCursor : public MacWindowFixture {
 protected:
  void OpenCocoa() {
    cocoaWindow = new NSWindow(NSMakeRect(0, 0, kWidth, kHeight), 1, NSBackingStoreBuffered, false);
    graphics->OpenWindow(cocoaWindow->contentView());
  }
  void TearDown() override {
    graphics->CloseWindow();
    if (cocoaWindow) cocoaWindow->close();
  }
  NSWindow* cocoaWindow = nullptr;
};

TEST_F(MacCursor, TheResizeCursorIsASixteenPixelDoubleArrowAroundItsCentre) {
  OpenCocoa();
  graphics->SetMouseCursor(1);
  EXPECT_EQ(Log().cursor, platform::CursorKind::kDiagonalResize);
  NSCursor* cursor = NSCursor::currentCursor();
  ASSERT_NE(cursor->image(), nullptr);
  EXPECT_EQ(cursor->hotSpot().x, 8);
  EXPECT_EQ(cursor->hotSpot().y, 8);
  NSBitmapImageRep* rep = cursor->image()->firstRepresentation();
  ASSERT_NE(rep, nullptr);
  ASSERT_EQ(rep->pixelsWide(), 16);
  ASSERT_EQ(rep->samplesPerPixel(), 2);
  const uint8_t* p = rep->bitmapData();
  auto white = [&](int x, int y) { return p[y * 32 + 2 * x]; };
  auto alpha = [&](int x, int y) { return p[y * 32 + 2 * x + 1]; };
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      // The arrow is the same turned half a turn about the centre.
      EXPECT_EQ(white(x, y), white(15 - x, 15 - y)) << x << "," << y;
      EXPECT_EQ(alpha(x, y), alpha(15 - x, 15 - y)) << x << "," << y;
      // A nibble n widens to the byte nn.
      EXPECT_EQ(white(x, y) % 0x11, 0);
      EXPECT_EQ(alpha(x, y) % 0x11, 0);
    }
  }
  // Black along the diagonal, opaque; nothing in the far corners.
  EXPECT_EQ(white(8, 8), 0x00);
  EXPECT_EQ(alpha(8, 8), 0xFF);
  EXPECT_EQ(alpha(15, 0), 0x00);
  EXPECT_EQ(alpha(0, 15), 0x00);
  // The outline's half-transparent white: 0xF8.
  EXPECT_EQ(white(1, 1), 0xFF);
  EXPECT_EQ(alpha(1, 1), 0x88);

  graphics->SetMouseCursor(0);
  EXPECT_EQ(Log().cursor, platform::CursorKind::kArrow);
  const int sets = Log().cursorSets;
  graphics->SetMouseCursor(2);
  EXPECT_EQ(Log().cursorSets, sets);
}

TEST_F(MacCursor, WithTheCarbonViewNoKindChangesTheCursor) {
  OpenCarbon();
  const int sets = Log().cursorSets;
  graphics->SetMouseCursor(1);
  graphics->SetMouseCursor(0);
  EXPECT_EQ(Log().cursorSets, sets);
}

TEST_F(MacCursor, HidingKeepsThePositionAndShowingPutsTheCursorBackThere) {
  platform::Headless()->SetDisplayPixelsHigh(900);
  platform::Headless()->SetMouseLocation(platform::ScreenPoint{300.6, 200.2});
  graphics->HideMouseCursor();
  EXPECT_TRUE(Log().cursorHidden);
  // A second hide before the show keeps the first position.
  platform::Headless()->SetMouseLocation(platform::ScreenPoint{10, 10});
  graphics->HideMouseCursor();
  graphics->ShowMouseCursor();
  EXPECT_FALSE(Log().cursorHidden);
  EXPECT_EQ(Log().cursorPosition.x, 300);
  // The stored y counts from the top of the display: 900 - (900 - 200.2).
  EXPECT_EQ(Log().cursorPosition.y, static_cast<int>(900 - (900 - 200.2)));
  // Shown already: nothing moves.
  platform::Headless()->SetMouseLocation(platform::ScreenPoint{5, 5});
  graphics->ShowMouseCursor();
  EXPECT_EQ(Log().cursorPosition.x, 300);
}

}  // namespace
