// Text fields, menus and help tags of the X11 backend open over their
// controls wherever the window really is: after a window manager put it in
// a frame and moved it, and after the user moved the frame. A second
// connection plays the window manager as a reparenting one does (CTest's
// display has none) and reads where everything is from the server. Without
// a display the program answers 77 (skipped).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/corefoundation/CFString.h"
#include "platform/corefoundation/RunLoop.h"
#include "platform/hitoolbox/EditText.h"
#include "platform/hitoolbox/HIView.h"
#include "platform/hitoolbox/HelpTags.h"
#include "platform/hitoolbox/MacWindows.h"
#include "platform/hitoolbox/Menus.h"
#include "platform/windowserver/ScreenWindow.h"
#include "platform/windowserver/X11Backend.h"

// Last: Xlib's macros would clash with the names above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "tests/X11TestSupport.h"

namespace {

struct Spot {
  int x = 0, y = 0;
  bool operator==(const Spot& o) const { return x == o.x && y == o.y; }
};

std::ostream& operator<<(std::ostream& out, const Spot& s) { return out << "(" << s.x << ", " << s.y << ")"; }

// The other client: a window manager when asked, and the eyes of the test.
class OtherClient {
 public:
  OtherClient() : d(XOpenDisplay(nullptr)) {}
  ~OtherClient() {
    if (mFrame) XDestroyWindow(d, mFrame);
    XCloseDisplay(d);
  }

  void Reparent(Window client, int left, int top, int dx, int dy) {
    mFrame = ReparentAsAWindowManager(d, client, left, top, dx, dy);
  }

  // As the user drags the frame: the window itself hears nothing.
  void MoveFrame(int left, int top) {
    XMoveWindow(d, mFrame, left, top);
    XSync(d, False);
  }

  // The window's content on the root, as the server has it.
  Spot ContentOrigin(Window w) {
    Spot s;
    Window child = 0;
    XTranslateCoordinates(d, w, DefaultRootWindow(d), 0, 0, &s.x, &s.y, &child);
    return s;
  }

  // The top-left corners of the shown popups (override-redirect windows
  // on the root), waited for until there are `count` of them.
  std::vector<Spot> Popups(size_t count, const std::function<void()>& pump) {
    std::vector<Spot> found;
    for (int i = 0; i < 250; ++i) {
      found.clear();
      XSync(d, False);
      Window root = 0, parent = 0, *children = nullptr;
      unsigned n = 0;
      XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n);
      for (unsigned k = 0; k < n; ++k) {
        XWindowAttributes a;
        if (XGetWindowAttributes(d, children[k], &a) && a.override_redirect && a.map_state == IsViewable) {
          found.push_back(Spot{a.x, a.y});
        }
      }
      if (children) XFree(children);
      if (found.size() >= count) break;
      pump();
    }
    return found;
  }

  Display* d;

 private:
  Window mFrame = 0;
};

// Where the window is put, and by whom.
struct Placement {
  const char* name;
  bool reparented;
  int frameLeft, frameTop;  // the window manager's frame
  bool userMoves;
  int movedLeft, movedTop;  // where the user drags it
};

const Placement kPlacements[] = {
    {"NoWindowManager", false, 0, 0, false, 0, 0},
    {"ReparentedAndMoved", true, 310, 190, false, 0, 0},
    {"ThenMovedByTheUser", true, 310, 190, true, 47, 402},
};

// The window's content asks for (100, 80); the control sits at (30, 40)
// in it, 80 x 20.
constexpr int kControlLeft = 30, kControlTop = 40, kControlWidth = 80, kControlHeight = 20;

class X11WindowPlace : public ::testing::TestWithParam<Placement> {
 protected:
  void SetUp() override {
    x11 = platform::X11();
    const Rect content{80, 100, 200, 300};
    CreateNewWindow(kDocumentWindowClass, kWindowCompositingAttribute, &content, &window);
    ShowWindow(window);
    ASSERT_TRUE(RunUntil([&] { return (client = FindShownWindow(other.d, "Brimlow")) != 0; }));
    const Placement& p = GetParam();
    if (p.reparented) {
      // A frame with a title bar, the window inset in it.
      other.Reparent(client, p.frameLeft, p.frameTop, 4, 24);
      EXPECT_TRUE(RunUntil([&] { return Follows(); })) << "the window at " << other.ContentOrigin(client);
    }
    if (p.userMoves) {
      other.MoveFrame(p.movedLeft, p.movedTop);
      EXPECT_TRUE(RunUntil([&] { return Follows(); })) << "the window at " << other.ContentOrigin(client);
    }
    origin = other.ContentOrigin(client);
    const Rect bounds{kControlTop, kControlLeft, kControlTop + kControlHeight, kControlLeft + kControlWidth};
    CFStringRef text = CFStringCreateWithCString(nullptr, "1000", kCFStringEncodingUTF8);
    CreateEditUnicodeTextControl(nullptr, &bounds, text, false, nullptr, &field);
    CFRelease(text);
    HIViewAddSubview(HIViewGetRoot(window), field);
  }
  void TearDown() override {
    if (window) DisposeWindow(window);
  }

  // The window's frame on the screen agrees with where the server has it.
  bool Follows() {
    const platform::ScreenRect& f = platform::ScreenWindowOf(window)->Frame();
    const Spot real = other.ContentOrigin(client);
    return f.x == real.x && f.y == real.y;
  }
  bool RunUntil(const std::function<bool()>& done) {
    const double deadline = platform::RunLoopTime() + 5.0;
    while (!done() && platform::RunLoopTime() < deadline) x11->RunOnce(0.02);
    return done();
  }
  void Pump() { x11->RunOnce(0.02); }

  platform::X11Backend* x11 = nullptr;
  OtherClient other;
  WindowRef window = nullptr;
  Window client = 0;
  Spot origin;
  ControlRef field = nullptr;
};

TEST_P(X11WindowPlace, TheTextFieldOpensOverItsControl) {
  SetKeyboardFocus(window, field, kControlEditTextPart);
  const std::vector<Spot> popups = other.Popups(1, [&] { Pump(); });
  ASSERT_EQ(popups.size(), 1u);
  EXPECT_EQ(popups[0], (Spot{origin.x + kControlLeft, origin.y + kControlTop}));
  if (GetParam().reparented) {
    // Dragged while the field is open: the field goes along.
    const Placement& p = GetParam();
    other.MoveFrame((p.userMoves ? p.movedLeft : p.frameLeft) + 25, (p.userMoves ? p.movedTop : p.frameTop) + 15);
    EXPECT_TRUE(RunUntil([&] { return Follows(); }));
    const Spot moved = other.ContentOrigin(client);
    EXPECT_EQ(moved, (Spot{origin.x + 25, origin.y + 15}));
    const std::vector<Spot> after = other.Popups(1, [&] { Pump(); });
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0], (Spot{moved.x + kControlLeft, moved.y + kControlTop}));
  }
  SetKeyboardFocus(window, nullptr, kControlFocusNoPart);
}

TEST_P(X11WindowPlace, AMenuOpensJustBelowItsControl) {
  // As the editor places a control's menu: from the window's content
  // bounds, below the control.
  MenuRef menu = nullptr;
  CreateNewMenu(700, 0, &menu);
  CFStringRef item = CFStringCreateWithCString(nullptr, "Bell", kCFStringEncodingUTF8);
  AppendMenuItemTextWithCFString(menu, item, 0, 0, nullptr);
  CFRelease(item);
  Rect content{0, 0, 0, 0};
  GetWindowBounds(window, kWindowContentRgn, &content);
  const int16_t left = static_cast<int16_t>(content.left + kControlLeft);
  const int16_t top = static_cast<int16_t>(content.top + kControlTop + kControlHeight);
  std::vector<Spot> popups;
  // Looked at while the menu runs its own loop, then closed.
  platform::AddRunLoopTimer(0.1, 0.0, [&] {
    popups = other.Popups(1, [] { std::this_thread::sleep_for(std::chrono::milliseconds(20)); });
    x11->SendKey(nullptr, XK_Escape);
  });
  EXPECT_EQ(PopUpMenuSelect(menu, top, left, 1), 0);
  ReleaseMenu(menu);
  ASSERT_EQ(popups.size(), 1u);
  EXPECT_EQ(popups[0], (Spot{origin.x + kControlLeft, origin.y + kControlTop + kControlHeight}));
}

TEST_P(X11WindowPlace, AHelpTagOpensBelowThePointInTheControl) {
  // As the editor shows a tooltip: a point of the view made a screen rectangle.
  HIRect hot = CGRectMake(5, 7, 1, 1);
  ASSERT_EQ(HIRectConvert(&hot, kHICoordSpaceView, field, kHICoordSpaceScreenPixel, nullptr), noErr);
  HMHelpContentRec help{};
  help.version = kMacHelpVersion;
  help.absHotRect = Rect{static_cast<int16_t>(hot.origin.y), static_cast<int16_t>(hot.origin.x),
                         static_cast<int16_t>(hot.origin.y + 1), static_cast<int16_t>(hot.origin.x + 1)};
  help.content[0].contentType = kHMCFStringContent;
  help.content[0].tagCFString = CFStringCreateWithCString(nullptr, "Frequency", kCFStringEncodingUTF8);
  help.content[1].contentType = kHMNoContent;
  ASSERT_EQ(HMDisplayTag(&help), noErr);
  CFRelease(help.content[0].tagCFString);
  const std::vector<Spot> popups = other.Popups(1, [&] { Pump(); });
  HMHideTag();
  ASSERT_EQ(popups.size(), 1u);
  EXPECT_EQ(popups[0], (Spot{origin.x + kControlLeft + 5, origin.y + kControlTop + 7 + 1}));
}

INSTANTIATE_TEST_SUITE_P(Placements, X11WindowPlace, ::testing::ValuesIn(kPlacements),
                         [](const ::testing::TestParamInfo<Placement>& info) { return info.param.name; });

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!platform::InstallX11Backend(nullptr)) {
    std::printf("no X display: skipped\n");
    return 77;
  }
  return RUN_ALL_TESTS();
}
