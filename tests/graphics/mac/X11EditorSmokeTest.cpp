// The editor in a real window on an X display (CTest starts one with
// xvfb-run): it opens, takes a click, a menu and typed keys through the X
// server, and what X shows is read back. Without a display the program
// answers 77, which CTest reports as skipped.
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>

#include "framework/IPopupMenu.h"
#include "graphics/mac/IGraphicsMac.h"
#include "platform/corefoundation/RunLoop.h"
#include "platform/hitoolbox/HIView.h"
#include "platform/windowserver/ScreenWindow.h"
#include "platform/windowserver/X11Backend.h"
#include "tests/graphics/FakeGraphics.h"

namespace {

const IColor kBlue(255, 20, 40, 220);
const IColor kGreen(255, 30, 200, 60);
const IColor kRed(255, 230, 30, 30);

// Green until clicked, then red.
class Toggle : public IControl {
 public:
  Toggle(IPlugBase* plug, const IRECT& rect) : IControl(plug, rect) {}
  bool Draw(IGraphics* graphics) override { return graphics->FillIRect(mOn ? &kRed : &kGreen, &mRECT); }
  void OnMouseDown(int, int, IMouseMod*) override {
    mOn = !mOn;
    SetDirty(false);
  }
  bool mOn = false;
};

class X11Editor : public ::testing::Test {
 protected:
  X11Editor() {
    x11 = platform::X11();
    graphics = new IGraphicsMac(&plug, 200, 120, 30);
    plug.AttachGraphics(graphics);
    graphics->AttachPanelBackground(&kBlue);
    toggle = new Toggle(&plug, IRECT(40, 30, 120, 90));
    graphics->AttachControl(toggle);
    graphics->AttachControl(new IControl(&plug, IRECT(130, 30, 190, 50), GraphicsTestPlug::kFreq));
    const Rect content{100, 100, 220, 300};
    CreateNewWindow(kDocumentWindowClass, kWindowCompositingAttribute, &content, &window);
    ShowWindow(window);
    graphics->OpenWindowCarbon(window, nullptr);
  }
  ~X11Editor() override {
    graphics->CloseWindow();
    DisposeWindow(window);
  }

  // Runs the event loop until the condition holds, for at most 5 s.
  bool RunUntil(const std::function<bool()>& done) {
    const double deadline = platform::RunLoopTime() + 5.0;
    while (!done() && platform::RunLoopTime() < deadline) x11->RunOnce(0.02);
    return done();
  }
  // What X shows at a point of the content, or {-1} when nothing is shown.
  std::vector<int> Shown(int x, int y) {
    std::vector<uint8_t> rgb;
    int width = 0, height = 0;
    if (!x11->ReadBack(platform::ScreenWindowOf(window), &rgb, &width, &height) || x >= width || y >= height) {
      return {-1};
    }
    const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return {p[0], p[1], p[2]};
  }
  static std::vector<int> RGB(const IColor& c) { return {c.R, c.G, c.B}; }

  platform::X11Backend* x11 = nullptr;
  GraphicsTestPlug plug;
  IGraphicsMac* graphics = nullptr;
  Toggle* toggle = nullptr;
  WindowRef window = nullptr;
};

TEST_F(X11Editor, OpensInARealWindowTakesAClickAndShowsTheChange) {
  ASSERT_TRUE(RunUntil([&] { return Shown(80, 60) == RGB(kGreen); }));
  EXPECT_EQ(Shown(10, 10), RGB(kBlue));
  EXPECT_EQ(Shown(199, 119), RGB(kBlue));
  x11->SendClick(platform::ScreenWindowOf(window), 80, 60, 1);
  ASSERT_TRUE(RunUntil([&] { return Shown(80, 60) == RGB(kRed); }));
  EXPECT_TRUE(toggle->mOn);
  EXPECT_EQ(Shown(10, 10), RGB(kBlue));
  // Only what changed was sent, yet X shows every pixel the window holds.
  const platform::ScreenWindow* screen = platform::ScreenWindowOf(window);
  std::vector<uint8_t> rgb;
  int width = 0, height = 0;
  ASSERT_TRUE(x11->ReadBack(screen, &rgb, &width, &height));
  ASSERT_EQ(width, screen->PixelWidth());
  ASSERT_EQ(height, screen->PixelHeight());
  int wrong = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t held[3];
      screen->PixelRGB(x, y, held);
      wrong += std::memcmp(held, &rgb[(static_cast<size_t>(y) * width + x) * 3], 3) != 0;
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST_F(X11Editor, AMenuAnswersTheKeyboard) {
  ASSERT_TRUE(RunUntil([&] { return Shown(80, 60) == RGB(kGreen); }));
  IPopupMenu menu;
  menu.AddItem("Bell");
  menu.AddSeparator();
  menu.AddItem("Notch");
  // Keys arrive while the menu runs its own loop; the separator is skipped.
  platform::AddRunLoopTimer(0.2, 0.0, [&] {
    x11->SendKey(nullptr, XK_Down);
    x11->SendKey(nullptr, XK_Down);
    x11->SendKey(nullptr, XK_Return);
  });
  IRECT area(40, 30, 120, 50);
  IPopupMenu* chosen = graphics->CreateIPopupMenu(&menu, &area);
  EXPECT_EQ(chosen, &menu);
  EXPECT_EQ(menu.GetChosenItemIdx(), 2);
  // Escape closes a menu with nothing chosen.
  platform::AddRunLoopTimer(0.2, 0.0, [&] { x11->SendKey(nullptr, XK_Escape); });
  EXPECT_EQ(graphics->CreateIPopupMenu(&menu, &area), nullptr);
}

TEST_F(X11Editor, TypedKeysGoIntoTheTextEntryAndReturnTakesThem) {
  ASSERT_TRUE(RunUntil([&] { return Shown(80, 60) == RGB(kGreen); }));
  IRECT where(130, 30, 190, 50);
  IControl* freq = graphics->GetControl(2);
  graphics->PromptUserInput(freq, plug.GetParam(GraphicsTestPlug::kFreq), &where);
  platform::ScreenWindow* screen = platform::ScreenWindowOf(window);
  for (unsigned long key : {XK_6, XK_6, XK_0, XK_Return}) x11->SendKey(screen, key);
  ASSERT_TRUE(RunUntil([&] { return plug.GetParam(GraphicsTestPlug::kFreq)->Value() == 660.0; }));
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!platform::InstallX11Backend(nullptr)) {
    std::printf("no X display: skipped\n");
    return 77;
  }
  return RUN_ALL_TESTS();
}
