#include "platform/hitoolbox/HIView.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "platform/coregraphics/CGContext.h"
#include "platform/coregraphics/CGImage.h"
#include "platform/corefoundation/RunLoop.h"
#include "platform/windowserver/ScreenWindow.h"

namespace {

struct DrawRecord {
  int count = 0;
  CGAffineTransform ctm{};
};

OSStatus OnDraw(EventHandlerCallRef, EventRef event, void* data) {
  auto* record = static_cast<DrawRecord*>(data);
  CGContextRef context = nullptr;
  GetEventParameter(event, kEventParamCGContextRef, typeCGContextRef, nullptr, sizeof context, nullptr, &context);
  ++record->count;
  record->ctm = CGContextGetCTM(context);
  return noErr;
}

class HIViews : public ::testing::Test {
 protected:
  HIViews() {
    platform::ResetRunLoop();
    const Rect content{40, 30, 140, 230};  // 200 x 100 at (30, 40)
    CreateNewWindow(kDocumentWindowClass, kWindowCompositingAttribute, &content, &window);
    platform::SetWindowTitleBarHeight(window, 20);
    HIViewFindByID(HIViewGetRoot(window), kHIViewWindowContentID, &content_);
  }
  ~HIViews() override { DisposeWindow(window); }

  ControlRef Pane(CGFloat x, CGFloat y, CGFloat w, CGFloat h, HIViewRef parent) {
    const Rect bounds{0, 0, 1, 1};
    ControlRef pane = nullptr;
    CreateUserPaneControl(window, &bounds, 0, &pane);
    HIViewAddSubview(parent, pane);
    const HIRect frame = CGRectMake(x, y, w, h);
    HIViewSetFrame(pane, &frame);
    return pane;
  }

  WindowRef window = nullptr;
  HIViewRef content_ = nullptr;
};

TEST_F(HIViews, ACompositingWindowHasARootWithTheContentViewInIt) {
  ASSERT_NE(content_, nullptr);
  EXPECT_EQ(HIViewGetSuperview(content_), HIViewGetRoot(window));
  HIRect frame;
  HIViewGetFrame(content_, &frame);
  EXPECT_EQ(frame.size.width, 200);
  Rect r;
  GetWindowBounds(window, kWindowStructureRgn, &r);
  EXPECT_EQ(r.top, 20);
  GetWindowBounds(window, kWindowTitleBarRgn, &r);
  EXPECT_EQ(r.bottom - r.top, 20);
  // Without the attribute there is no root until one is made.
  WindowRef plain = platform::NewStandInWindow(50, 50);
  ControlRef root = nullptr;
  EXPECT_EQ(GetRootControl(plain, &root), errNoRootControl);
  EXPECT_EQ(CreateRootControl(plain, &root), noErr);
  EXPECT_EQ(HIViewGetRoot(plain), root);
  platform::DisposeStandInWindow(plain);
}

TEST_F(HIViews, ANeedyViewIsDrawnOnTheNextPassInItsOwnCoordinatesOnlyWhileTheWindowShows) {
  HIViewRef outer = Pane(10, 5, 100, 60, content_);
  HIViewRef inner = Pane(7, 3, 20, 20, outer);
  DrawRecord record;
  const EventTypeSpec spec{kEventClassControl, kEventControlDraw};
  InstallEventHandler(GetControlEventTarget(inner), OnDraw, 1, &spec, &record, nullptr);
  HIViewSetNeedsDisplay(inner, true);
  platform::RunLoopPass();
  EXPECT_EQ(record.count, 0);  // hidden window
  ShowWindow(window);
  platform::ScreenWindowOf(window)->SetDeviceScale(2.0);
  platform::RunLoopPass();
  ASSERT_EQ(record.count, 1);
  EXPECT_FALSE(HIViewGetNeedsDisplay(inner));
  // View (0, 0) is content (17, 8), device (34, 16); y runs down.
  EXPECT_EQ(record.ctm.tx, 34);
  EXPECT_EQ(record.ctm.ty, 16);
  EXPECT_EQ(record.ctm.a, 2);
  EXPECT_EQ(record.ctm.d, 2);
  platform::RunLoopPass();
  EXPECT_EQ(record.count, 1);
  HIViewSetVisible(outer, false);
  HIViewSetNeedsDisplay(inner, true);
  platform::RunLoopPass();
  EXPECT_EQ(record.count, 1);
}

TEST_F(HIViews, TheViewForAMouseEventIsTheDeepestShownOneUnderIt) {
  HIViewRef outer = Pane(10, 5, 100, 60, content_);
  HIViewRef inner = Pane(7, 3, 20, 20, outer);
  auto at = [&](double x, double y) {
    EventRef event = platform::MakeEvent(kEventClassMouse, kEventMouseDown);
    platform::SetParam(event, kEventParamWindowMouseLocation, typeHIPoint, HIPoint{x, y + 20});
    HIViewRef hit = nullptr;
    HIViewGetViewForMouseEvent(HIViewGetRoot(window), event, &hit);
    ReleaseEvent(event);
    return hit;
  };
  EXPECT_EQ(at(17, 8), inner);
  EXPECT_EQ(at(36.9, 27.9), inner);
  EXPECT_EQ(at(37, 8), outer);
  EXPECT_EQ(at(5, 5), content_);
  HIViewSetVisible(inner, false);
  EXPECT_EQ(at(17, 8), outer);
}

TEST_F(HIViews, RectanglesConvertFromAViewToScreenPixels) {
  HIViewRef pane = Pane(10, 5, 100, 60, content_);
  platform::ScreenWindowOf(window)->SetDeviceScale(2.0);
  HIRect r = CGRectMake(3, 4, 1, 1);
  ASSERT_EQ(HIRectConvert(&r, kHICoordSpaceView, pane, kHICoordSpaceScreenPixel, nullptr), noErr);
  EXPECT_EQ(r.origin.x, 2 * (30 + 10 + 3));
  EXPECT_EQ(r.origin.y, 2 * (40 + 5 + 4));
  EXPECT_EQ(r.size.width, 2);
}

TEST_F(HIViews, RemovingAViewFromItsSuperviewDisposesOfItAndItsSubviews) {
  HIViewRef outer = Pane(10, 5, 100, 60, content_);
  HIViewRef inner = Pane(7, 3, 20, 20, outer);
  ASSERT_EQ(HIViewRemoveFromSuperview(outer), noErr);
  EXPECT_FALSE(platform::IsLiveView(outer));
  EXPECT_FALSE(platform::IsLiveView(inner));
  EXPECT_TRUE(platform::IsLiveView(content_));
  EXPECT_EQ(HIViewRemoveFromSuperview(HIViewGetRoot(window)), paramErr);
}

// Paints its whole view, whatever its size, with one red pixel stretched
// over the window's content (200 x 100 points).
OSStatus PaintRed(EventHandlerCallRef, EventRef event, void*) {
  CGContextRef context = nullptr;
  GetEventParameter(event, kEventParamCGContextRef, typeCGContextRef, nullptr, sizeof context, nullptr, &context);
  static uint8_t pixel[4] = {0, 200, 0, 0};
  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  CGDataProviderRef provider = CGDataProviderCreateWithData(nullptr, pixel, sizeof pixel, nullptr);
  CGImageRef image =
      CGImageCreate(1, 1, 8, 32, 4, space, kCGImageAlphaNoneSkipFirst, provider, nullptr, false, kCGRenderingIntentDefault);
  CGContextDrawImage(context, CGRectMake(0, 0, 200, 100), image);
  CGImageRelease(image);
  CGDataProviderRelease(provider);
  CGColorSpaceRelease(space);
  return noErr;
}

struct RegionRecord {
  std::vector<Rect> regions;
};

OSStatus RecordRegionAndPaintRed(EventHandlerCallRef call, EventRef event, void* data) {
  RgnHandle region = nullptr;
  GetEventParameter(event, kEventParamRgnHandle, typeQDRgnHandle, nullptr, sizeof region, nullptr, &region);
  Rect bounds{0, 0, 0, 0};
  if (region) GetRegionBounds(region, &bounds);
  static_cast<RegionRecord*>(data)->regions.push_back(bounds);
  return PaintRed(call, event, nullptr);
}

// Rectangles marked apart are drawn apart, each with its region and a
// context that paints nowhere else; overlapping ones are drawn as one.
TEST_F(HIViews, MarkedRectanglesAreDrawnEachAloneAndOverlappingOnesAsOne) {
  HIViewRef pane = Pane(0, 0, 200, 100, content_);
  RegionRecord record;
  const EventTypeSpec spec{kEventClassControl, kEventControlDraw};
  InstallEventHandler(GetControlEventTarget(pane), RecordRegionAndPaintRed, 1, &spec, &record, nullptr);
  ShowWindow(window);
  // A new view is drawn whole first.
  platform::RunLoopPass();
  ASSERT_EQ(record.regions.size(), 1u);
  EXPECT_EQ(record.regions[0].right, 200);
  record.regions.clear();
  platform::ScreenWindowOf(window)->SetDeviceScale(2.0);  // black pixels again
  platform::ScreenWindowOf(window)->SetDeviceScale(1.0);
  const HIRect marks[] = {CGRectMake(10, 10, 20, 20), CGRectMake(100, 50, 30, 10), CGRectMake(120, 55, 30, 20),
                          CGRectMake(60.5, 80.5, 5, 5)};
  for (const HIRect& m : marks) HIViewSetNeedsDisplayInRect(pane, &m, true);
  platform::RunLoopPass();
  // top, left, bottom, right; a fraction takes in the pixels it touches.
  ASSERT_EQ(record.regions.size(), 3u);
  const Rect want[] = {{10, 10, 30, 30}, {50, 100, 75, 150}, {80, 60, 86, 66}};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(record.regions[i].top, want[i].top) << i;
    EXPECT_EQ(record.regions[i].left, want[i].left) << i;
    EXPECT_EQ(record.regions[i].bottom, want[i].bottom) << i;
    EXPECT_EQ(record.regions[i].right, want[i].right) << i;
  }
  const platform::ScreenWindow* screen = platform::ScreenWindowOf(window);
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 200; ++x) {
      bool marked = false;
      for (const Rect& r : want) marked = marked || (x >= r.left && x < r.right && y >= r.top && y < r.bottom);
      uint8_t rgb[3];
      screen->PixelRGB(x, y, rgb);
      ASSERT_EQ(rgb[0], marked ? 200 : 0) << x << "," << y;
    }
  }
  // Drawn, nothing is left to draw.
  platform::RunLoopPass();
  EXPECT_EQ(record.regions.size(), 3u);
}

// Frames far beyond any window: the view draws as far as the window's
// pixels go, and its bounds stop at the ends of QuickDraw's coordinates.
TEST_F(HIViews, HugeFramesDrawWithinTheWindowAndSaturateTheirBounds) {
  const double huge = 1e12, inf = std::numeric_limits<double>::infinity();
  struct Case {
    double x, y, width, height;
    Rect bounds;  // top, left, bottom, right
  };
  for (const Case& c : {Case{0, 0, huge, huge, Rect{0, 0, 32767, 32767}},
                        Case{-huge, -huge, 2 * huge, 2 * huge, Rect{-32768, -32768, 32767, 32767}},
                        Case{0, 0, 40000, 100, Rect{0, 0, 100, 32767}},
                        Case{-40000, 0, 40200, 100, Rect{0, -32768, 100, 200}},
                        Case{0, 0, inf, inf, Rect{0, 0, 32767, 32767}}}) {
    HIViewRef pane = Pane(c.x, c.y, c.width, c.height, content_);
    Rect bounds;
    GetControlBounds(pane, &bounds);
    EXPECT_EQ(bounds.top, c.bounds.top) << c.x << " " << c.width;
    EXPECT_EQ(bounds.left, c.bounds.left) << c.x << " " << c.width;
    EXPECT_EQ(bounds.bottom, c.bounds.bottom) << c.x << " " << c.width;
    EXPECT_EQ(bounds.right, c.bounds.right) << c.x << " " << c.width;
    if (c.width < inf) {
      const EventTypeSpec spec{kEventClassControl, kEventControlDraw};
      InstallEventHandler(GetControlEventTarget(pane), PaintRed, 1, &spec, nullptr, nullptr);
      ShowWindow(window);
      // A new scale makes new pixels: black again for every case.
      platform::ScreenWindowOf(window)->SetDeviceScale(2.0);
      platform::ScreenWindowOf(window)->SetDeviceScale(1.0);
      HIViewSetNeedsDisplay(pane, true);
      platform::RunLoopPass();
      // A view whose own (0, 0) lies far to the left paints nowhere to be seen.
      uint8_t rgb[3];
      platform::ScreenWindowOf(window)->PixelRGB(5, 5, rgb);
      EXPECT_EQ(rgb[0], c.x < 0 ? 0 : 200) << c.x << " " << c.width;
    }
    HIViewRemoveFromSuperview(pane);
  }
}

}  // namespace
