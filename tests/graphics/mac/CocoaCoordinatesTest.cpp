#include "graphics/mac/CocoaCoordinates.h"

#include <gtest/gtest.h>

namespace {

TEST(CocoaCoordinates, AViewPointBecomesAnEditorPixelFromTheTop) {
  int x = 0, y = 0;
  ViewPointToEditor(NSMakePoint(10.7, 20.2), 100, &x, &y);
  EXPECT_EQ(x, 8);   // 10 - 2
  EXPECT_EQ(y, 77);  // 100 - 20 - 3
  ViewPointToEditor(NSMakePoint(0, 0), 100, &x, &y);
  EXPECT_EQ(x, -2);
  EXPECT_EQ(y, 97);
}

TEST(CocoaCoordinates, AnEditorRectangleBecomesAViewRectangleWithItsEdgesIncluded) {
  const NSRect r = ToViewRect(IRECT(0, 0, 9, 9), 100);
  EXPECT_EQ(r.origin.x, 0);
  EXPECT_EQ(r.origin.y, 90);
  EXPECT_EQ(r.size.width, 10);
  EXPECT_EQ(r.size.height, 10);
  // The bottom row of the editor sits at view y 0.
  EXPECT_EQ(ToViewRect(IRECT(5, 90, 20, 99), 100).origin.y, 0);
}

TEST(CocoaCoordinates, AViewRectangleBecomesTheEditorRectangleItCovers) {
  // The whole view, and a strip at the bottom of the view (top of nothing).
  EXPECT_EQ(ToIRECT(NSMakeRect(0, 0, 200, 100), 100), IRECT(0, 0, 200, 100));
  EXPECT_EQ(ToIRECT(NSMakeRect(3.9, 10.5, 20.2, 30.7), 100), IRECT(3, 60, 23, 90));
}

}  // namespace
