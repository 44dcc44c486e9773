#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graphics/IGraphics.h"
#include "graphics/IMouseMod.h"
#include "platform/corefoundation/RunLoop.h"
#include "platform/hitoolbox/HIView.h"
#include "platform/hitoolbox/WindowRecord.h"
#include "platform/windowserver/ScreenWindow.h"
#include "tools/EditorWindow.h"
#include "tools/HostSession.h"

namespace {

constexpr double kRate = 48000.0;
constexpr int kBlock = 800;  // one frame of the editor's 60 a second

// One plug-in with its editor open, fed the same audio and the same user
// actions as its twin. With wholeFrames its editor view is marked whole
// before every frame, so each frame is a full redraw of the same state.
struct Editor {
  explicit Editor(bool wholeFrames) : whole(wholeFrames) {
    session.Start(kRate, kBlock, 2);
    window = std::make_unique<EditorWindow>(session.Instance());
  }

  IGraphics* Graphics() { return session.Instance().GetGUI(); }

  void Process(int frame) {
    std::vector<float> left(kBlock), right(kBlock), outLeft(kBlock), outRight(kBlock);
    // A loud chirp, so meters and analyser move every frame.
    for (int i = 0; i < kBlock; ++i) {
      const double t = (frame * kBlock + i) / kRate;
      left[i] = static_cast<float>(0.8 * std::sin(2 * 3.14159265358979 * (100.0 + 4000.0 * t) * t));
      right[i] = static_cast<float>(0.5 * left[i]);
    }
    float* in[2] = {left.data(), right.data()};
    float* out[2] = {outLeft.data(), outRight.data()};
    session.ProcessBlock(in, out, kBlock);
  }

  void MarkWhole() {
    if (!whole) return;
    for (ControlRef view : platform::WindowViews(window->Window())) {
      if (view->kind == OpaqueControlRef::kUserPane) HIViewSetNeedsDisplay(view, true);
    }
  }

  HostSession session;
  std::unique_ptr<EditorWindow> window;
  bool whole;
};

class EditorPartialRedraw : public ::testing::Test {
 protected:
  // Both editors get the action, then a frame of audio and one tick of
  // their timers; then every pixel they show must agree.
  void Frame(const std::string& what, const std::function<void(Editor&)>& action = {}) {
    for (Editor* e : {&partial, &full}) {
      if (action) action(*e);
      e->Process(mFrame);
      e->window->Service();
      e->MarkWhole();
    }
    ++mFrame;
    platform::AdvanceRunLoop(1.0 / 60.0);
    ExpectSameScreens(what);
  }

  void ExpectSameScreens(const std::string& what) {
    const platform::ScreenWindow& a = partial.window->Screen();
    const platform::ScreenWindow& b = full.window->Screen();
    ASSERT_EQ(a.PixelWidth(), b.PixelWidth()) << what;
    ASSERT_EQ(a.PixelHeight(), b.PixelHeight()) << what;
    const size_t bytes = a.RowBytes() * a.PixelHeight();
    if (std::memcmp(a.Pixels(), b.Pixels(), bytes) == 0) return;
    for (int y = 0; y < a.PixelHeight(); ++y) {
      for (int x = 0; x < a.PixelWidth(); ++x) {
        uint8_t p[3], q[3];
        a.PixelRGB(x, y, p);
        b.PixelRGB(x, y, q);
        ASSERT_TRUE(p[0] == q[0] && p[1] == q[1] && p[2] == q[2])
            << what << ": first difference at " << x << "," << y;
      }
    }
  }

  // Editor pixels of a point given at 100 %.
  static int At(Editor& e, int v) { return static_cast<int>(v * e.Graphics()->GetGUIScaleX()); }

  Editor partial{false};
  Editor full{true};
  int mFrame = 0;
};

TEST_F(EditorPartialRedraw, EveryFrameShowsWhatAFullRedrawShows) {
  for (int i = 0; i < 12; ++i) Frame("idle frame " + std::to_string(i));

  Frame("a band's gain and frequency", [](Editor& e) {
    e.session.ApplySetting("Gain 3=9");
    e.session.ApplySetting("Freq 3=700");
  });
  Frame("after the change");
  Frame("a band's type", [](Editor& e) { e.session.ApplySetting("Type 5=D - Peak"); });
  Frame("a band switched off", [](Editor& e) { e.session.ApplySetting("Active 7=Off"); });
  Frame("after it");

  // The pointer over a knob, then over the display, then a drag of a knob.
  Frame("hover on a knob", [](Editor& e) {
    IMouseMod none(false);
    e.Graphics()->OnMouseOver(At(e, 45), At(e, 265), &none);
  });
  Frame("hover on the display", [](Editor& e) {
    IMouseMod none(false);
    e.Graphics()->OnMouseOver(At(e, 400), At(e, 214), &none);
  });
  Frame("drag a knob", [](Editor& e) {
    IMouseMod left(true);
    e.Graphics()->OnMouseDown(At(e, 45), At(e, 265), &left);
    e.Graphics()->OnMouseDrag(At(e, 45), At(e, 245), &left);
  });
  Frame("release it", [](Editor& e) {
    IMouseMod left(true);
    e.Graphics()->OnMouseUp(At(e, 45), At(e, 245), &left);
  });
  Frame("pointer away", [](Editor& e) {
    IMouseMod none(false);
    e.Graphics()->OnMouseOver(At(e, 860), At(e, 620), &none);
  });

  // A new GUI scale: a new window and surface, then partial frames again.
  Frame("rescale", [](Editor& e) { e.session.ApplySetting("GUI Scale=150%"); });
  for (int i = 0; i < 4; ++i) Frame("after the rescale " + std::to_string(i));
  Frame("a band's gain at 150 %", [](Editor& e) { e.session.ApplySetting("Gain 2=-6"); });
  Frame("after it at 150 %");
  // A screen of two device pixels a point: new pixels, the doubled surface.
  Frame("device scale 2", [](Editor& e) { platform::ScreenWindowOf(e.window->Window())->SetDeviceScale(2.0); });
  for (int i = 0; i < 4; ++i) Frame("at device scale 2 " + std::to_string(i));
  Frame("a band's gain at device scale 2", [](Editor& e) { e.session.ApplySetting("Gain 6=4"); });
  Frame("device scale 1", [](Editor& e) { platform::ScreenWindowOf(e.window->Window())->SetDeviceScale(1.0); });
  for (int i = 0; i < 2; ++i) Frame("at device scale 1 " + std::to_string(i));
  for (const char* scale : {"200", "50"}) {
    Frame(std::string("rescale to ") + scale, [&](Editor& e) {
      e.session.ApplySetting(std::string("GUI Scale=") + scale + "%");
    });
    for (int i = 0; i < 6; ++i) Frame(std::string("idle at ") + scale + " % " + std::to_string(i));
    Frame(std::string("hover on a knob at ") + scale, [](Editor& e) {
      IMouseMod none(false);
      e.Graphics()->OnMouseOver(At(e, 45), At(e, 265), &none);
    });
    Frame(std::string("a band's frequency at ") + scale, [](Editor& e) { e.session.ApplySetting("Freq 4=3000"); });
    Frame(std::string("after it at ") + scale);
  }
}

}  // namespace
