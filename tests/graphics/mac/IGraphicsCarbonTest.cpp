#include "graphics/mac/IGraphicsCarbon.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/graphics/mac/MacWindowFixture.h"

namespace {

using platform::PointerInput;

class CarbonView : public MacWindowFixture {};

TEST_F(CarbonView, OpensAsAPaneOfTheEditorsSizeInTheWindowsContentView) {
  const int timersBefore = platform::LiveRunLoopTimerCount();
  OpenCarbon();
  ASSERT_NE(view, nullptr);
  HIViewRef content = nullptr;
  ASSERT_EQ(HIViewFindByID(HIViewGetRoot(window), kHIViewWindowContentID, &content), noErr);
  EXPECT_EQ(HIViewGetSuperview(view), content);
  HIRect frame;
  HIViewGetFrame(view, &frame);
  EXPECT_EQ(frame.size.width, kWidth);
  EXPECT_EQ(frame.size.height, kHeight);
  EXPECT_TRUE(graphics->WindowIsOpen());
  EXPECT_STREQ(graphics->GetGUIAPI(), "Carbon Composited GUI");
  EXPECT_EQ(graphics->GetWindow(), nullptr);
  EXPECT_EQ(platform::LiveRunLoopTimerCount(), timersBefore + 1);
  EXPECT_EQ(platform::InstalledHandlerCount(GetWindowEventTarget(window)), 1);

  graphics->CloseWindow();
  EXPECT_FALSE(graphics->WindowIsOpen());
  EXPECT_EQ(platform::LiveRunLoopTimerCount(), timersBefore);
  EXPECT_EQ(platform::InstalledHandlerCount(GetWindowEventTarget(window)), 0);
  // The pane stays: the host's window owns it.
  EXPECT_TRUE(platform::IsLiveView(view));
  EXPECT_STREQ(graphics->GetGUIAPI(), "Cocoa GUI");
}

TEST_F(CarbonView, ANonCompositingWindowEmbedsThePaneInItsRootControl) {
  OpenCarbon(false);
  ControlRef root = nullptr;
  ASSERT_EQ(GetRootControl(window, &root), noErr);
  EXPECT_EQ(HIViewGetSuperview(view), root);
  EXPECT_STREQ(graphics->GetGUIAPI(), "Carbon Non-Composited GUI");
}

TEST_F(CarbonView, EveryTickRunsTheGUIHookAndRedrawsWhatIsDirty) {
  OpenCarbon();
  ProbeControl* probe = Add(IRECT(10, 10, 50, 50));
  const int idles = plug.mGUIIdles;
  Ticks(3);
  EXPECT_EQ(plug.mGUIIdles, idles + 3);
  // Dirty since it was attached: drawn once, then clean.
  EXPECT_EQ(probe->mDraws, 1);
  Ticks(2);
  EXPECT_EQ(probe->mDraws, 1);
  probe->SetDirty(false);
  Ticks(1);
  EXPECT_EQ(probe->mDraws, 2);
}

TEST_F(CarbonView, ResizingSetsTheWindowsContentAndThePanesFrame) {
  OpenCarbon();
  EXPECT_FALSE(graphics->Resize(300, 150, true));
  Rect content;
  GetWindowBounds(window, kWindowContentRgn, &content);
  EXPECT_EQ(content.right - content.left, 300);
  EXPECT_EQ(content.bottom - content.top, 150);
  EXPECT_EQ(content.left, 100);
  HIRect frame;
  HIViewGetFrame(view, &frame);
  EXPECT_EQ(frame.size.width, 300);
  EXPECT_EQ(frame.size.height, 150);
  EXPECT_EQ(graphics->Width(), 300);
  ASSERT_EQ(plug.mResizes.size(), 1u);
}

class CarbonTooltips : public CarbonView {
 protected:
  void SetUp() override {
    graphics->SetHandleMouseOver(true);
    graphics->mShowTooltips = true;
    graphics->AttachPanelBackground(&kColorBlack);
    a = Add(IRECT(0, 0, 100, 100));
    a->SetTooltip("Gain");
    b = Add(IRECT(100, 0, 200, 100));
    b->SetTooltip("Frequency");
    OpenCarbon();
  }
  ProbeControl* a = nullptr;
  ProbeControl* b = nullptr;
};

TEST_F(CarbonTooltips, ATagShows37TicksAfterTheMouseSettlesAndGoes250TicksLater) {
  Pointer(PointerInput::kMoved, 40, 30);
  Ticks(36);
  EXPECT_FALSE(Log().tagShown);
  Ticks(1);
  ASSERT_TRUE(Log().tagShown);
  EXPECT_EQ(Log().tagText, "Gain");
  // One pixel, 23 below the pointer, in screen pixels.
  EXPECT_EQ(Log().tagHot.x, 100 + 40);
  EXPECT_EQ(Log().tagHot.y, 50 + 30 + 23);
  EXPECT_EQ(Log().tagHot.width, 1);
  Ticks(249);
  EXPECT_TRUE(Log().tagShown);
  Ticks(1);
  EXPECT_FALSE(Log().tagShown);
  EXPECT_EQ(Log().tagsShown, 1);
  // Staying on the same control starts no new wait.
  Pointer(PointerInput::kMoved, 41, 30);
  Ticks(100);
  EXPECT_EQ(Log().tagsShown, 1);
}

TEST_F(CarbonTooltips, MovingToAnotherControlRestartsTheWaitAndAClickHidesTheTag) {
  Pointer(PointerInput::kMoved, 40, 30);
  Ticks(20);
  Pointer(PointerInput::kMoved, 140, 30);
  Ticks(36);
  EXPECT_FALSE(Log().tagShown);
  Ticks(1);
  ASSERT_TRUE(Log().tagShown);
  EXPECT_EQ(Log().tagText, "Frequency");
  Pointer(PointerInput::kDown, 140, 30);
  EXPECT_FALSE(Log().tagShown);
  Ticks(300);
  EXPECT_EQ(Log().tagsShown, 1);
}

TEST_F(CarbonTooltips, AControlWithoutTextShowsNoTag) {
  b->SetTooltip("");
  Pointer(PointerInput::kMoved, 140, 30);
  Ticks(100);
  EXPECT_EQ(Log().tagsShown, 0);
}

// A plug-in whose GUI hook can do what a resize does to the host's window:
// close the editor in the middle of the timer's tick.
class HookPlug : public GraphicsTestPlug {
 public:
  void OnGUIIdle() override {
    GraphicsTestPlug::OnGUIIdle();
    if (mHook) mHook();
  }
  std::function<void()> mHook;
};

TEST(CarbonViewLifetime, TheGUIHookMayCloseAndReopenTheEditorDuringATick) {
  platform::ResetRunLoop();
  platform::ResetWindowServer();
  HookPlug plug;
  auto* graphics = new IGraphicsMac(&plug, 100, 50, 25);
  plug.AttachGraphics(graphics);
  const Rect content{0, 0, 50, 100};
  WindowRef window = nullptr;
  CreateNewWindow(kDocumentWindowClass, kWindowCompositingAttribute, &content, &window);
  ShowWindow(window);
  graphics->OpenWindowCarbon(window, nullptr);
  int reopened = 0;
  plug.mHook = [&] {
    if (reopened++ < 3) graphics->OpenWindowCarbon(window, nullptr);
  };
  platform::AdvanceRunLoop(1.0);
  // Three reopenings at time 0, each firing its new timer at once, then the
  // last view ticking 26 times from 0 to 1 s.
  EXPECT_EQ(reopened, 29);
  EXPECT_TRUE(graphics->WindowIsOpen());
  graphics->CloseWindow();
  DisposeWindow(window);
}

}  // namespace
