#include <gtest/gtest.h>

#include <cstdint>

#include "platform/cocoa/NSEvent.h"
#include "platform/cocoa/NSGraphicsContext.h"
#include "platform/cocoa/NSMenu.h"
#include "platform/cocoa/NSTextField.h"
#include "platform/cocoa/NSWindow.h"
#include "platform/coregraphics/CGImage.h"
#include "platform/foundation/NSURL.h"
#include "platform/windowserver/HeadlessBackend.h"
#include "platform/windowserver/ScreenWindow.h"
#include "platform/windowserver/ScriptedAnswers.h"

namespace {

struct URLCase {
  const char* text;
  bool made;
};

class URLStrings : public ::testing::TestWithParam<URLCase> {};

TEST_P(URLStrings, MakeAURLOnlyWhenWellFormed) {
  const URLCase c = GetParam();
  NSAutoreleasePool pool;
  const NSURL* url = NSURL::URLWithString(c.text);
  EXPECT_EQ(url != nullptr, c.made);
  if (url) {
    EXPECT_EQ(url->absoluteString(), c.text);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, URLStrings,
                         ::testing::Values(URLCase{"http://a.example/b?c=d&e=%20f#g", true},
                                           URLCase{"https://[::1]:8080/", true}, URLCase{"mailto:x@y", true},
                                           URLCase{"http://a b", false}, URLCase{"http://a\"b", false},
                                           URLCase{"http://a%2", false}, URLCase{"http://a%g0", false},
                                           URLCase{"http://caf\xc3\xa9", false}, URLCase{"", false}));

TEST(FileURLs, AreAbsoluteAndEscaped) {
  NSAutoreleasePool pool;
  EXPECT_EQ(NSURL::fileURLWithPath("/a b/c%d")->absoluteString(), "file:///a%20b/c%25d");
  EXPECT_TRUE(NSURL::fileURLWithPath("/x")->isFileURL());
  EXPECT_EQ(NSURL::fileURLWithPath(""), nullptr);
}

// The view a menu pops up for: keeps the item whose action reached it.
class Target : public NSView {
 public:
  NSObject* chosen = nullptr;

 protected:
  bool PerformAction(const std::string& action, NSObject* sender) override {
    if (action != "Pick:") return false;
    chosen = sender;
    return true;
  }
};

TEST(CocoaMenus, AChosenItemsActionGoesToTheViewsResponderChain) {
  platform::ResetWindowServer();
  NSAutoreleasePool pool;
  auto* window = new NSWindow(NSMakeRect(0, 0, 100, 100), 1, 2, false);
  auto* parent = new Target;
  auto* child = new NSView;
  window->contentView()->addSubview(parent);
  parent->addSubview(child);
  auto* menu = new NSMenu;
  auto* sub = new NSMenu;
  auto* item = new NSMenuItem("A", "Pick:", "");
  auto* opener = new NSMenuItem("More", "", "");
  sub->addItem(item);
  opener->setSubmenu(sub);
  menu->addItem(NSMenuItem::separatorItem());
  menu->addItem(opener);
  platform::ScriptAnswer(platform::MenuItemChoice("More", 0));
  NSMenu::popUpContextMenu(menu, NSEvent::mouseEventWithType(NSLeftMouseDown, NSMakePoint(10, 10), 0, 1, window), child);
  EXPECT_EQ(parent->chosen, item);
  EXPECT_EQ(item->menu(), sub);
  EXPECT_EQ(sub->indexOfItem(item), 0);
  // The pop-up point, from the bottom-left window point (10, 10).
  const platform::HeadlessLog& log = platform::Headless()->Log();
  EXPECT_EQ(log.menus.back().topLeft.x, window->ScreenWindow()->Frame().x + 10);
  EXPECT_EQ(log.menus.back().topLeft.y, window->ScreenWindow()->Frame().y + 90);
  item->release();
  opener->release();
  sub->release();
  menu->release();
  child->release();
  parent->release();
  window->close();
}

TEST(CocoaWindows, ViewsConvertBetweenWindowAndViewCoordinates) {
  NSAutoreleasePool pool;
  auto* window = new NSWindow(NSMakeRect(50, 60, 200, 100), 1, 2, false);
  auto* outer = new NSView;
  outer->initWithFrame(NSMakeRect(10, 20, 100, 50));
  auto* inner = new NSView;
  inner->initWithFrame(NSMakeRect(5, 5, 10, 10));
  window->contentView()->addSubview(outer);
  outer->addSubview(inner);
  const NSPoint p = inner->convertPoint(NSMakePoint(17, 28), nullptr);
  EXPECT_EQ(p.x, 2);
  EXPECT_EQ(p.y, 3);
  const NSPoint base = inner->convertPointToBase(NSMakePoint(0, 0));
  EXPECT_EQ(base.x, 15);
  EXPECT_EQ(base.y, 25);
  EXPECT_EQ(window->contentView()->hitTest(NSMakePoint(16, 26)), inner);
  EXPECT_EQ(window->contentView()->hitTest(NSMakePoint(12, 22)), outer);
  // The window's frame comes back in the coordinates it was given in.
  EXPECT_EQ(window->frame().origin.y, 60);
  inner->release();
  outer->release();
  window->close();
}

// Paints the window's 200 x 100 points from its own (0, 0) with one red
// pixel stretched over them, whatever its own size.
class RedView : public NSView {
 public:
  void drawRect(NSRect) override {
    auto context = static_cast<CGContextRef>(NSGraphicsContext::currentContext()->graphicsPort());
    static uint8_t pixel[4] = {0, 200, 0, 0};
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGDataProviderRef provider = CGDataProviderCreateWithData(nullptr, pixel, sizeof pixel, nullptr);
    CGImageRef image = CGImageCreate(1, 1, 8, 32, 4, space, kCGImageAlphaNoneSkipFirst, provider, nullptr, false,
                                     kCGRenderingIntentDefault);
    CGContextDrawImage(context, CGRectMake(0, 0, 200, 100), image);
    CGImageRelease(image);
    CGDataProviderRelease(provider);
    CGColorSpaceRelease(space);
  }
};

// A view far larger than its window draws as far as the window's pixels go.
TEST(CocoaWindows, HugeViewsDrawWithinTheWindow) {
  for (const NSRect frame : {NSMakeRect(0, 0, 200, 100), NSMakeRect(0, 0, 1e12, 1e12), NSMakeRect(0, 0, 40000, 100),
                             NSMakeRect(0, 0, 1e10, 2e12)}) {
    NSAutoreleasePool pool;
    auto* window = new NSWindow(NSMakeRect(50, 60, 200, 100), 1, 2, false);
    auto* view = new RedView;
    view->initWithFrame(frame);
    window->contentView()->addSubview(view);
    window->orderFront(nullptr);
    view->setNeedsDisplay(true);
    window->display();
    uint8_t rgb[3];
    window->ScreenWindow()->PixelRGB(5, 95, rgb);
    EXPECT_EQ(rgb[0], 200) << frame.size.width;
    view->release();
    window->close();
  }
}

}  // namespace
