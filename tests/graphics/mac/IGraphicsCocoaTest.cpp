#include "graphics/mac/IGraphicsCocoa_vBrimlow_rtas.h"

#include <gtest/gtest.h>

#include "framework/IPopupMenu.h"
#include "platform/cocoa/NSApplication.h"
#include "platform/cocoa/NSEvent.h"
#include "platform/cocoa/NSWindow.h"
#include "platform/foundation/NSTimer.h"
#include "tests/graphics/mac/MacWindowFixture.h"

namespace {

class TextTaker : public ProbeControl {
 public:
  using ProbeControl::ProbeControl;
  void TextFromTextEntry(const char* text) override { mTaken.push_back(text); }
  std::vector<std::string> mTaken;
};

// The editor in a Cocoa window of its own size, the view at the content's
// origin.
class CocoaView : public MacWindowFixture {
 protected:
  void SetUp() override {
    graphics->SetHandleMouseOver(true);
    graphics->AttachPanelBackground(&kColorBlack);
    probe = Add(IRECT(0, 0, kWidth, kHeight));
    nsWindow = new NSWindow(NSMakeRect(0, 0, kWidth, kHeight), 1, NSBackingStoreBuffered, false);
    nsWindow->makeKeyAndOrderFront(nullptr);
    cocoa = static_cast<IGraphicsCocoa_vBrimlow_rtas*>(graphics->OpenWindow(nsWindow->contentView()));
    platform::RunLoopPass();
  }
  void TearDown() override {
    graphics->CloseWindow();
    nsWindow->close();
  }

  void Mouse(NSEventType type, double x, double y, NSUInteger flags = 0, int clicks = 1) {
    nsWindow->sendEvent(NSEvent::mouseEventWithType(type, NSMakePoint(x, y), flags, clicks, nsWindow));
  }
  void KeyDown(const std::string& characters, unsigned short code) {
    nsWindow->sendEvent(
        NSEvent::keyEventWithType(NSKeyDown, NSMakePoint(0, 0), 0, characters, characters, code, nsWindow));
  }
  void Scroll(double dx, double dy) {
    nsWindow->sendEvent(NSEvent::scrollEventWithDeltas(NSMakePoint(50, 50), dx, dy, 0, nsWindow));
  }
  std::vector<NSEvent*> Posted() {
    std::vector<NSEvent*> posted = NSApplication::sharedApplication()->TakePostedEvents();
    for (NSEvent* e : posted) e->release();
    return posted;
  }

  ProbeControl* probe = nullptr;
  NSWindow* nsWindow = nullptr;
  IGraphicsCocoa_vBrimlow_rtas* cocoa = nullptr;
};

TEST_F(CocoaView, OpensInTheParentWithATimerAndTakesNoFileDrops) {
  ASSERT_NE(cocoa, nullptr);
  EXPECT_EQ(cocoa->superview(), nsWindow->contentView());
  EXPECT_EQ(graphics->GetWindow(), cocoa);
  EXPECT_STREQ(graphics->GetGUIAPI(), "Cocoa GUI");
  EXPECT_EQ(cocoa->frame().size.width, kWidth);
  ASSERT_NE(cocoa->mTimer, nullptr);
  EXPECT_DOUBLE_EQ(cocoa->mTimer->timeInterval(), 1.0 / kFps);
  EXPECT_TRUE(cocoa->registeredDraggedTypes().empty());
  EXPECT_EQ(nsWindow->firstResponder(), cocoa);
  EXPECT_TRUE(nsWindow->acceptsMouseMovedEvents());
  EXPECT_TRUE(cocoa->isOpaque());
}

TEST_F(CocoaView, PointsAreEditorPixelsWithTheViewsOffsets) {
  Mouse(NSLeftMouseDown, 10.7, 20.2);
  EXPECT_EQ(probe->mEvents, std::vector<std::string>{"down 8,77"});
  EXPECT_EQ(cocoa->mPrevX, 8);
  EXPECT_EQ(cocoa->mPrevY, 77);
}

struct CocoaModCase {
  NSEventType type;
  NSUInteger flags;
  IMouseMod expected;
};

class CocoaModifiers : public CocoaView, public ::testing::WithParamInterface<CocoaModCase> {};

TEST_P(CocoaModifiers, ComeFromTheFlagBitsAndTheButton) {
  const CocoaModCase c = GetParam();
  Mouse(c.type, 30, 30, c.flags);
  const IMouseMod& m = graphics->mLastMouseMod;
  EXPECT_EQ(m.L, c.expected.L);
  EXPECT_EQ(m.R, c.expected.R);
  EXPECT_EQ(m.S, c.expected.S);
  EXPECT_EQ(m.C, c.expected.C);
  EXPECT_EQ(m.A, c.expected.A);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CocoaModifiers,
    ::testing::Values(CocoaModCase{NSLeftMouseDown, 0, IMouseMod(true)},
                      CocoaModCase{NSLeftMouseDown, NSCommandKeyMask, IMouseMod(true, true)},
                      CocoaModCase{NSLeftMouseDown, NSShiftKeyMask, IMouseMod(true, false, true)},
                      CocoaModCase{NSLeftMouseDown, NSControlKeyMask, IMouseMod(true, false, false, true)},
                      CocoaModCase{NSLeftMouseDown, NSAlternateKeyMask, IMouseMod(true, false, false, false, true)},
                      CocoaModCase{NSRightMouseDown, 0, IMouseMod(false, true)},
                      CocoaModCase{NSRightMouseDown, NSCommandKeyMask | NSShiftKeyMask, IMouseMod(false, true, true)}));

TEST_F(CocoaView, CommandControlClickOnAParameterIsNotTheEditors) {
  ProbeControl* bound = Add(IRECT(0, 0, 100, 100), GraphicsTestPlug::kFreq);
  Mouse(NSLeftMouseDown, 20, 60, NSCommandKeyMask | NSControlKeyMask);
  EXPECT_TRUE(bound->mEvents.empty());
  EXPECT_EQ(graphics->TakeParamIdxAtPoint(), GraphicsTestPlug::kFreq);
  Mouse(NSLeftMouseDown, 20, 60, NSControlKeyMask);
  EXPECT_EQ(bound->mEvents.size(), 1u);
}

TEST_F(CocoaView, TheSecondClickIsADoubleClickAndARightClickNeverIs) {
  Mouse(NSLeftMouseDown, 30, 30, 0, 2);
  Mouse(NSRightMouseDown, 30, 30, 0, 2);
  EXPECT_EQ(probe->mEvents, (std::vector<std::string>{"dbl 28,67", "down 28,67"}));
}

TEST_F(CocoaView, ADirtyControlMarksItsRectangleInViewCoordinates) {
  ProbeControl* small = Add(IRECT(0, 0, 9, 9));
  IRECT all(0, 0, kWidth, kHeight);
  graphics->Draw(&all);  // everything clean
  small->SetDirty(false);
  cocoa->onTimer(cocoa->mTimer);
  ASSERT_TRUE(cocoa->needsDisplay());
  const NSRect dirty = cocoa->dirtyRect();
  EXPECT_EQ(dirty.origin.x, 0);
  EXPECT_EQ(dirty.origin.y, 90);
  EXPECT_EQ(dirty.size.width, 10);
  EXPECT_EQ(dirty.size.height, 10);
  // The display pass draws it; a tick from another timer does nothing.
  platform::RunLoopPass();
  EXPECT_EQ(small->mDraws, 2);
  EXPECT_FALSE(cocoa->needsDisplay());
  const int idles = plug.mGUIIdles;
  cocoa->onTimer(nullptr);
  EXPECT_EQ(plug.mGUIIdles, idles);
}

TEST_F(CocoaView, TheWheelTakesTheVerticalStepsElseTheHorizontalOnes) {
  Scroll(2.3, 0.6);
  Scroll(0, -1.7);
  Scroll(0.9, 0.5);
  EXPECT_EQ(probe->mEvents, (std::vector<std::string>{"wheel 2 W", "wheel -1 W"}));
}

TEST_F(CocoaView, KeysNoControlTakesGoBackToTheHost) {
  Mouse(NSMouseMoved, 30, 30);
  KeyDown("7", 26);
  EXPECT_EQ(probe->mEvents.back(), "key 12");
  EXPECT_TRUE(Posted().empty());
  // A composed sequence is no key at all.
  KeyDown("e\xcc\x81", 14);
  EXPECT_TRUE(Posted().empty());
  // Over a control that takes no keys.
  graphics->AttachControl(new IControl(&plug, IRECT(0, 0, kWidth, kHeight)));
  KeyDown("x", 7);
  const std::vector<NSEvent*> posted = Posted();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0]->charactersIgnoringModifiers(), "x");
  EXPECT_TRUE(nsWindow->isKeyWindow());
}

TEST_F(CocoaView, ANewFrameRateMakesANewTimerAndTheSameRateKeepsIt) {
  NSTimer* first = cocoa->mTimer;
  graphics->UpdateFPS(kFps);
  EXPECT_EQ(cocoa->mTimer, first);
  graphics->UpdateFPS(50);
  EXPECT_NE(cocoa->mTimer, nullptr);
  EXPECT_DOUBLE_EQ(cocoa->mTimer->timeInterval(), 1.0 / 50);
  EXPECT_EQ(graphics->FPS(), 50);
  const int idles = plug.mGUIIdles;
  platform::AdvanceRunLoop(0.1);
  EXPECT_EQ(plug.mGUIIdles, idles + 5);
}

TEST_F(CocoaView, AFrameRateThatIsNotPositiveBecomesTheDefault) {
  graphics->UpdateFPS(0);
  EXPECT_EQ(graphics->FPS(), 25);
  ASSERT_NE(cocoa->mTimer, nullptr);
  EXPECT_DOUBLE_EQ(cocoa->mTimer->timeInterval(), 1.0 / 25);
}

TEST_F(CocoaView, AMenuHoldingItselfIsBuiltOnlySoDeep) {
  IPopupMenu menu;
  menu.AddItem("Again");
  menu.AddSubmenu("More", &menu);
  IRECT area(0, 0, 10, 10);
  EXPECT_EQ(graphics->CreateIPopupMenu(&menu, &area), nullptr);
  EXPECT_EQ(Log().menus.size(), 1u);
}

TEST_F(CocoaView, TheTooltipIsTheHoveredControlsWhicheverRectangleAsks) {
  graphics->mShowTooltips = true;
  ProbeControl* a = Add(IRECT(0, 0, 100, 50));
  a->SetTooltip("Gain");
  ProbeControl* hidden = Add(IRECT(100, 0, 200, 50));
  hidden->Hide(true);
  graphics->UpdateTooltips();
  // Background, probe and a; the hidden one has none.
  ASSERT_EQ(cocoa->toolTipRects().size(), 3u);
  const NSRect r = cocoa->toolTipRects()[2];
  EXPECT_EQ(r.origin.y, kHeight - 1 - 50);
  EXPECT_EQ(r.size.width, 101);
  Mouse(NSMouseMoved, 20, 80);
  EXPECT_EQ(cocoa->stringForToolTip(cocoa, 1, NSMakePoint(0, 0), nullptr), "Gain");
  Mouse(NSMouseMoved, 20, 20);
  EXPECT_EQ(cocoa->stringForToolTip(cocoa, 3, NSMakePoint(0, 0), nullptr), "");
}

TEST_F(CocoaView, APopupGoesThroughTheReceiverAndIsFollowedByAPlainMouseUp) {
  IPopupMenu types;
  types.AddItem("Bell");
  types.AddItem("Notch", -1, IPopupMenuItem::kChecked);
  IPopupMenu menu;
  menu.SetPrefix(IPopupMenu::kPrefix3Digits);
  menu.AddSeparator();
  menu.AddSubmenu("Type", &types);
  platform::ScriptAnswer(platform::MenuItemChoice("002: Type", 1));
  graphics->mLastMouseMod = IMouseMod(true, true, true, true, true);
  IRECT area(40, 20, 80, 30);
  probe->mEvents.clear();
  EXPECT_EQ(graphics->CreateIPopupMenu(&menu, &area), &types);
  EXPECT_EQ(types.GetChosenItemIdx(), 1);
  EXPECT_EQ(probe->mEvents, std::vector<std::string>{"up 40,20"});
  const IMouseMod& m = graphics->mLastMouseMod;
  EXPECT_FALSE(m.L || m.R || m.S || m.C || m.A || m.W);
  ASSERT_EQ(Log().menus.size(), 1u);
  const auto& shown = Log().menus[0].menu->items;
  EXPECT_TRUE(shown[0].separator);
  EXPECT_TRUE(shown[1].submenu->items[1].checked);
  EXPECT_EQ(shown[1].submenu->items[0].text, "Bell");

  // Nothing chosen: null, and still the mouse-up.
  probe->mEvents.clear();
  EXPECT_EQ(graphics->CreateIPopupMenu(&menu, &area), nullptr);
  EXPECT_EQ(probe->mEvents, std::vector<std::string>{"up 40,20"});
}

TEST_F(CocoaView, AChoiceArrivingAfterTheViewWentChangesNothing) {
  IPopupMenu menu;
  menu.AddItem("Bell");
  platform::ScriptedAnswer answer = platform::MenuItemChoice("", 0);
  answer.before = [this] { graphics->CloseWindow(); };
  platform::ScriptAnswer(answer);
  IRECT area(40, 20, 80, 30);
  probe->mEvents.clear();
  EXPECT_EQ(graphics->CreateIPopupMenu(&menu, &area), nullptr);
  EXPECT_EQ(menu.GetChosenItemIdx(), -1);
  EXPECT_TRUE(probe->mEvents.empty());
}

class CocoaTextEntry : public CocoaView {
 protected:
  void SetUp() override {
    CocoaView::SetUp();
    freq = Add(IRECT(10, 10, 90, 30), GraphicsTestPlug::kFreq);
  }
  void Open(IControl* control, IParam* param, const char* text = "1000") {
    IRECT where(20, 12, 80, 28);
    graphics->CreateTextEntry(control, control->GetIText(), &where, text, param);
  }
  void Type(const std::string& text) {
    for (char c : text) KeyDown(std::string(1, c), static_cast<unsigned short>(platform::MacKeyCodeForCharacter(c)));
  }
  std::string Text() const { return cocoa->mTextFieldView ? cocoa->mTextFieldView->stringValue() : "(none)"; }
  ProbeControl* freq = nullptr;
};

TEST_F(CocoaTextEntry, ADoubleEntryTakesThousandsWithAKAndReturnSetsTheValue) {
  Open(freq, plug.GetParam(GraphicsTestPlug::kFreq));
  ASSERT_NE(cocoa->mTextFieldView, nullptr);
  NSTextField* field = cocoa->mTextFieldView;
  EXPECT_EQ(nsWindow->firstResponder(), field);
  EXPECT_EQ(field->frame().origin.y, kHeight - 1 - 28);
  EXPECT_EQ(field->font()->pointSize(), static_cast<int>(probe->GetIText()->mSize * 0.9));
  EXPECT_EQ(field->alignment(), NSCenterTextAlignment);
  EXPECT_EQ(Log().openTextFields, 1);
  Type("2k5");
  EXPECT_EQ(Text(), "2k5");
  KeyDown("\r", platform::kKeyReturn);
  EXPECT_EQ(plug.GetParam(GraphicsTestPlug::kFreq)->Value(), 2500.0);
  EXPECT_EQ(cocoa->mTextFieldView, nullptr);
  EXPECT_EQ(nsWindow->firstResponder(), cocoa);
  EXPECT_EQ(Log().openTextFields, 0);
}

struct CocoaFilterCase {
  int param;  // -1: no parameter
  const char* typed;
  const char* expected;
};

class CocoaTextFilters : public CocoaTextEntry, public ::testing::WithParamInterface<CocoaFilterCase> {};

TEST_P(CocoaTextFilters, RefuseWhatTheParameterCannotTake) {
  const CocoaFilterCase c = GetParam();
  Open(probe, c.param < 0 ? nullptr : plug.GetParam(c.param), "");
  Type(c.typed);
  EXPECT_EQ(Text(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CocoaTextFilters,
    ::testing::Values(CocoaFilterCase{GraphicsTestPlug::kFreq, "1K5e", "1K5"},
                      CocoaFilterCase{GraphicsTestPlug::kMode, "2k.1", "21"},
                      CocoaFilterCase{GraphicsTestPlug::kFreq, "123456789", "1234567"},
                      // Without a parameter anything goes, at any length.
                      CocoaFilterCase{-1, "any text, really", "any text, really"}));

TEST_F(CocoaTextEntry, AnEntryForAParameterOfNoTypeAcceptsNothing) {
  IParam* none = plug.GetParam(GraphicsTestPlug::kFreq);
  none->SetType(IParam::kTypeNone);
  Open(probe, none, "");
  Type("12");
  EXPECT_EQ(Text(), "");
}

TEST_F(CocoaTextEntry, WithoutAParameterTheControlGetsTheText) {
  auto* taker = new TextTaker(&plug, IRECT(0, 0, 10, 10));
  graphics->AttachControl(taker);
  Open(taker, nullptr, "");
  Type("hello");
  KeyDown("\r", platform::kKeyReturn);
  EXPECT_EQ(taker->mTaken, std::vector<std::string>{"hello"});
}

TEST_F(CocoaTextEntry, EndingTheInputOrScrollingDropsTheText) {
  const double before = plug.GetParam(GraphicsTestPlug::kFreq)->Value();
  Open(freq, plug.GetParam(GraphicsTestPlug::kFreq));
  Type("5");
  Mouse(NSLeftMouseDragged, 50, 50);
  EXPECT_TRUE(probe->mEvents.empty());
  graphics->EndUserInput();
  EXPECT_EQ(cocoa->mTextFieldView, nullptr);
  Open(freq, plug.GetParam(GraphicsTestPlug::kFreq));
  Type("5");
  Scroll(0, 0);
  EXPECT_EQ(cocoa->mTextFieldView, nullptr);
  EXPECT_EQ(plug.GetParam(GraphicsTestPlug::kFreq)->Value(), before);
}

TEST_F(CocoaView, RemovedByItsSuperviewTheViewClosesTheEditor) {
  cocoa->removeFromSuperview();
  EXPECT_FALSE(graphics->WindowIsOpen());
  EXPECT_EQ(graphics->GetWindow(), nullptr);
  EXPECT_TRUE(nsWindow->contentView()->subviews().empty());
}

TEST(CocoaViewAlone, WithoutAParentTheViewOpensAndClosesCleanly) {
  platform::ResetRunLoop();
  platform::ResetWindowServer();
  GraphicsTestPlug plug;
  auto* graphics = new IGraphicsMac(&plug, 50, 40, 30);
  plug.AttachGraphics(graphics);
  auto* view = static_cast<IGraphicsCocoa_vBrimlow_rtas*>(graphics->OpenWindow(nullptr));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->superview(), nullptr);
  IRECT all(0, 0, 50, 40);
  // Not in a window: there is no context to draw into.
  EXPECT_FALSE(graphics->DrawScreen(&all));
  graphics->CloseWindow();
  EXPECT_FALSE(graphics->WindowIsOpen());
  EXPECT_EQ(platform::LiveRunLoopTimerCount(), 0);
}

}  // namespace
