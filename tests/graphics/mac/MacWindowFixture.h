#pragma once

#include <gtest/gtest.h>

#include "graphics/controls/IPanelControl.h"
#include "graphics/mac/IGraphicsCarbon.h"
#include "graphics/mac/IGraphicsMac.h"
#include "platform/corefoundation/RunLoop.h"
#include "platform/hitoolbox/CarbonEvents.h"
#include "platform/hitoolbox/HIView.h"
#include "platform/hitoolbox/Menus.h"
#include "platform/windowserver/HeadlessBackend.h"
#include "platform/windowserver/InputSink.h"
#include "platform/windowserver/ScreenWindow.h"
#include "platform/windowserver/ScriptedAnswers.h"
#include "tests/graphics/GraphicsFixtures.h"

// An editor of 200 x 100 pixels at 25 frames a second on the headless
// window server, and a host window for it: content at (100, 50) on the
// screen, a title bar of 22 above it, compositing unless a test says
// otherwise. The run loop's clock and the window server start fresh.
class MacWindowFixture : public ::testing::Test {
 protected:
  static constexpr int kWidth = 200;
  static constexpr int kHeight = 100;
  static constexpr int kFps = 25;
  static constexpr int kTitleBar = 22;

  MacWindowFixture() {
    platform::ResetRunLoop();
    platform::ResetWindowServer();
    platform::ClearHostEvents();
    platform::ResetMenus();
    graphics = new IGraphicsMac(&plug, kWidth, kHeight, kFps);
    plug.AttachGraphics(graphics);
  }
  ~MacWindowFixture() override {
    graphics->CloseWindow();
    if (window) DisposeWindow(window);
    platform::ResetRunLoop();
    platform::ClearScriptedAnswers();
  }

  void MakeWindow(bool compositing = true) {
    const Rect content{50, 100, 50 + kHeight, 100 + kWidth};
    CreateNewWindow(kDocumentWindowClass, compositing ? kWindowCompositingAttribute : kWindowNoAttributes, &content,
                    &window);
    platform::SetWindowTitleBarHeight(window, kTitleBar);
    ShowWindow(window);
  }
  // The editor in the window, as the host binding opens it.
  void OpenCarbon(bool compositing = true, short left = 0, short top = 0) {
    MakeWindow(compositing);
    view = static_cast<ControlRef>(graphics->OpenWindowCarbon(window, nullptr, left, top));
    // The timer's first tick is due at once; tests count ticks from here.
    platform::RunLoopPass();
  }
  int HostEventCount(uint32_t eventClass, uint32_t kind) const {
    int n = 0;
    for (const platform::HostEvent& e : platform::HostEvents()) n += e.eventClass == eventClass && e.kind == kind;
    return n;
  }

  ProbeControl* Add(const IRECT& rect, int paramIdx = -1) {
    auto* control = new ProbeControl(&plug, rect, paramIdx);
    graphics->AttachControl(control);
    return control;
  }
  IPanelControl* AddPanel(const IRECT& rect, const IColor& color) {
    auto* panel = new IPanelControl(&plug, IRECTResize(), color);
    panel->SetRECT(rect);
    graphics->AttachControl(panel);
    return panel;
  }

  platform::ScreenWindow* Screen() const { return platform::ScreenWindowOf(window); }
  // Device input at a point of the window's content.
  void Pointer(platform::PointerInput::Kind kind, double x, double y, uint32_t modifiers = 0, int button = 1,
               int clicks = 1) {
    platform::PointerInput input;
    input.kind = kind;
    input.x = x;
    input.y = y;
    input.modifiers = modifiers;
    input.button = button;
    input.clickCount = clicks;
    Screen()->Sink()->Pointer(input);
  }
  void Wheel(double x, double y, int axis, int delta) {
    platform::PointerInput input;
    input.kind = platform::PointerInput::kWheel;
    input.x = x;
    input.y = y;
    input.wheelAxis = axis;
    input.wheelDelta = delta;
    Screen()->Sink()->Pointer(input);
  }
  void Key(int keyCode, char character, uint32_t modifiers = 0) {
    Screen()->Sink()->Key(platform::KeyInput{keyCode, character, modifiers, false});
  }
  void Type(const std::string& text) {
    for (char c : text) Key(platform::MacKeyCodeForCharacter(c), c);
  }
  // Timer ticks of the editor's frame rate.
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) platform::AdvanceRunLoop(1.0 / kFps);
  }
  platform::HeadlessLog& Log() { return platform::Headless()->Log(); }

  GraphicsTestPlug plug;
  IGraphicsMac* graphics;  // owned by the plug-in
  WindowRef window = nullptr;
  ControlRef view = nullptr;
};
