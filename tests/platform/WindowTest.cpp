#include "platform/hitoolbox/MacWindows.h"

#include <gtest/gtest.h>

#include "platform/quickdraw/DrawLog.h"

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
