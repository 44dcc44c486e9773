#include "platform/hitoolbox/MacWindows.h"

#include <gtest/gtest.h>

#include "platform/quickdraw/DrawLog.h"
#include "platform/quickdraw/QuickDraw.h"
#include "platform/windowserver/ScreenWindow.h"

TEST(StandInWindow, InvalidRectsAccumulateInPortPixels) {
  WindowRef window = platform::NewStandInWindow(200, 100, Point{50, 60});
  CGrafPtr port = GetWindowPort(window);
  EXPECT_EQ(GetWindowFromPort(port), window);
  const Rect a{0, 0, 10, 10}, b{5, 5, 15, 15};
  InvalWindowRect(window, &a);
  InvalWindowRect(window, &b);
  InvalWindowRect(window, &b);
  EXPECT_EQ(platform::InvalidArea(window), 100 + 100 - 25);
  ValidWindowRect(window, &a);
  EXPECT_EQ(platform::InvalidArea(window), 100 - 25);
  // A moved origin changes local coordinates, not pixels.
  SetPort(port);
  SetOrigin(100, 100);
  const Rect moved{100, 100, 102, 102};
  platform::ValidateWindow(window);
  InvalWindowRect(window, &moved);
  EXPECT_EQ(platform::InvalidRects(window), (std::vector<Rect>{Rect{0, 0, 2, 2}}));
  const GrafPtr loose = platform::NewStandInPort(5, 5);
  EXPECT_EQ(GetWindowFromPort(loose), nullptr);
  InvalWindowRect(nullptr, &a);
  platform::DisposeStandInPort(loose);
  platform::DisposeStandInWindow(window);
}

TEST(StandInWindow, MovedOnTheScreenItsGlobalCoordinatesGoAlongAndItsPixelsStay) {
  // As a window manager or the user moves it.
  const Rect content{80, 100, 200, 300};
  WindowRef window = nullptr;
  ASSERT_EQ(CreateNewWindow(kDocumentWindowClass, kWindowCompositingAttribute, &content, &window), noErr);
  platform::ScreenWindow* screen = platform::ScreenWindowOf(window);
  const uint8_t white[4] = {0, 255, 255, 255};
  screen->DrawImage(white, 1, 1, 1, 3, 4, 4, 5, platform::DeviceRect{0, 0, 200, 120});
  screen->MovedOnScreen(platform::ScreenPoint{250, 40});
  EXPECT_EQ(screen->Frame().x, 250);
  EXPECT_EQ(screen->Frame().y, 40);
  EXPECT_EQ(screen->Frame().width, 200);
  Rect bounds{0, 0, 0, 0};
  GetWindowBounds(window, kWindowContentRgn, &bounds);
  EXPECT_EQ(bounds, (Rect{40, 250, 160, 450}));
  GrafPtr saved = GetPort();
  SetPort(GetWindowPort(window));
  Point p{20, 10};
  LocalToGlobal(&p);
  EXPECT_EQ(p.h, 260);
  EXPECT_EQ(p.v, 60);
  SetPort(saved);
  uint8_t rgb[3];
  screen->PixelRGB(3, 4, rgb);
  EXPECT_EQ(rgb[0], 255);
  DisposeWindow(window);
}
