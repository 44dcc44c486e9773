// Alerts and file panels of the X11 backend on a real X display (CTest
// starts one with xvfb-run; no window manager). The dialog runs on the main
// thread as the plug-in runs it; a user on a second thread, with a display
// connection of its own, finds the dialog window and answers it with XTest
// keys and clicks, which reach the dialog only if it took the keyboard.
// Without a display the program answers 77 (skipped).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/corefoundation/RunLoop.h"
#include "platform/windowserver/ScreenWindow.h"
#include "platform/windowserver/ScriptedAnswers.h"
#include "platform/windowserver/X11Backend.h"
#include "tests/ScratchFolder.h"

// Last: Xlib's macros would clash with the names above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "tests/X11TestSupport.h"

namespace {

using platform::AlertRequest;
using platform::AlertResponse;
using platform::PanelRequest;

// Set by a user who could not do their part: the dialog is then cancelled
// instead of waiting for ever.
std::atomic<bool> gGiveUp{false};
platform::X11Backend* gX11 = nullptr;

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// The user at the display.
class User {
 public:
  User() : d(XOpenDisplay(nullptr)) {}
  ~User() {
    if (d) XCloseDisplay(d);
  }

  // The shown top-level window with that title, waited for; 0 if none
  // comes.
  Window WaitForWindow(const std::string& title, Window other = 0) {
    for (int i = 0; i < 1000; ++i) {
      if (Window w = Find(title, other)) return w;
      Pause(20);
    }
    return 0;
  }

  // Waits until the window has the keyboard.
  bool WaitForFocus(Window w) {
    for (int i = 0; i < 1000; ++i) {
      Window focus = 0;
      int revert = 0;
      XGetInputFocus(d, &focus, &revert);
      if (focus == w) return true;
      Pause(20);
    }
    return false;
  }

  // Waits until the window is gone from the screen.
  bool WaitForGone(Window w, const std::string& title) {
    for (int i = 0; i < 1000; ++i) {
      if (Find(title) != w) return true;
      Pause(20);
    }
    return false;
  }

  Window TransientFor(Window w) {
    Window parent = 0;
    return XGetTransientForHint(d, w, &parent) ? parent : 0;
  }

  void Key(KeySym sym, bool shift = false) {
    const KeyCode shiftCode = XKeysymToKeycode(d, XK_Shift_L);
    if (shift) XTestFakeKeyEvent(d, shiftCode, True, 0);
    const KeyCode code = XKeysymToKeycode(d, sym);
    XTestFakeKeyEvent(d, code, True, 0);
    XTestFakeKeyEvent(d, code, False, 0);
    if (shift) XTestFakeKeyEvent(d, shiftCode, False, 0);
    XSync(d, False);
  }

  // Lower-case letters, digits, spaces and dots.
  void Type(const std::string& text) {
    for (char c : text) Key(c == ' ' ? XK_space : c == '.' ? XK_period : static_cast<KeySym>(c));
  }

  void Click(Window w, int x, int y, int times = 1) {
    int rootX = 0, rootY = 0;
    Window child = 0;
    XTranslateCoordinates(d, w, DefaultRootWindow(d), x, y, &rootX, &rootY, &child);
    XTestFakeMotionEvent(d, -1, rootX, rootY, 0);
    for (int i = 0; i < times; ++i) {
      XTestFakeButtonEvent(d, 1, True, 0);
      XTestFakeButtonEvent(d, 1, False, 0);
    }
    XSync(d, False);
  }

  // The window manager's close box.
  void Close(Window w) { SendCloseRequest(d, w); }

  // The bounding box of the pixels of one colour in the window, as x, y,
  // width, height; empty when there are none.
  std::vector<int> BoxOfColour(Window w, int r, int g, int b) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, w, &a)) return {};
    XImage* image = XGetImage(d, w, 0, 0, static_cast<unsigned>(a.width), static_cast<unsigned>(a.height),
                              AllPlanes, ZPixmap);
    if (!image) return {};
    int left = a.width, top = a.height, right = -1, bottom = -1;
    for (int y = 0; y < a.height; ++y) {
      for (int x = 0; x < a.width; ++x) {
        const unsigned long p = XGetPixel(image, x, y);
        if (static_cast<int>((p & image->red_mask) >> 16) == r && static_cast<int>((p & image->green_mask) >> 8) == g &&
            static_cast<int>(p & image->blue_mask) == b) {
          left = std::min(left, x);
          top = std::min(top, y);
          right = std::max(right, x);
          bottom = std::max(bottom, y);
        }
      }
    }
    XDestroyImage(image);
    if (right < 0) return {};
    return {left, top, right - left + 1, bottom - top + 1};
  }

  Display* d;

 private:
  Window Find(const std::string& title, Window other = 0) { return FindShownWindow(d, title, other); }
};

// An editor window is shown, as `brimlow edit` shows one, for the dialogs
// to belong to.
class X11Dialogs : public ::testing::Test {
 protected:
  X11Dialogs() : editor(platform::ScreenRect{100, 100, 400, 300}) {
    editor.SetTitle("Editor under a dialog");
    editor.Show();
    gGiveUp = false;
  }

  // Asks on this thread while the user acts on another; a user that is done
  // but finds the dialog still open gives up after a while.
  void WithUser(const std::function<void(User&)>& act, const std::function<void()>& ask) {
    std::atomic<bool> answered{false};
    std::thread user([&] {
      User u;
      if (!u.d) {
        gGiveUp = true;
        return;
      }
      act(u);
      for (int i = 0; i < 500 && !answered; ++i) Pause(20);
      if (!answered) gGiveUp = true;
    });
    ask();
    answered = true;
    user.join();
    EXPECT_FALSE(gGiveUp) << "the dialog did not end as the user answered it";
  }

  Window EditorWindow(User& u) { return u.WaitForWindow("Editor under a dialog"); }

  platform::ScreenWindow editor;
};

enum Action { kReturn, kEscape, kCloseBox, kClickSecond, kLeftThenSpace };

struct AlertCase {
  const char* defaultButton;
  const char* alternateButton;
  const char* otherButton;
  Action action;
  // What the user did, as the headless backend's script says it.
  platform::ScriptedAnswer scripted;
  AlertResponse expected;
};

class X11Alerts : public X11Dialogs, public ::testing::WithParamInterface<AlertCase> {};

TEST_P(X11Alerts, AnswerAsTheScriptedUserWould) {
  const AlertCase c = GetParam();
  AlertRequest request;
  request.header = "Question";
  request.message = "Keep the changes made to the preset since it was loaded?";
  request.defaultButton = c.defaultButton;
  request.alternateButton = c.alternateButton;
  request.otherButton = c.otherButton;

  AlertResponse shown = platform::kAlertCancel;
  Window editorWindow = 0, parent = 0;
  WithUser(
      [&](User& u) {
        editorWindow = EditorWindow(u);
        const Window w = u.WaitForWindow("Question");
        if (!w || !u.WaitForFocus(w)) return;
        parent = u.TransientFor(w);
        switch (c.action) {
          case kReturn: u.Key(XK_Return); break;
          case kEscape: u.Key(XK_Escape); break;
          case kCloseBox: u.Close(w); break;
          case kLeftThenSpace:
            u.Key(XK_Left);
            u.Key(XK_space);
            break;
          case kClickSecond: {
            // The default button is the one filled with the accent colour,
            // rightmost; the second lies just left of it.
            std::vector<int> box;
            for (int i = 0; i < 250 && box.empty(); ++i) {
              box = u.BoxOfColour(w, 48, 102, 214);
              if (box.empty()) Pause(20);
            }
            if (box.empty()) return;
            u.Click(w, box[0] - 10 - 20, box[1] + box[3] / 2);
            break;
          }
        }
      },
      [&] { shown = platform::Backend().RunAlert(request); });
  EXPECT_EQ(shown, c.expected);
  EXPECT_NE(parent, 0u);
  EXPECT_EQ(parent, editorWindow);

  platform::ScriptAnswer(c.scripted);
  EXPECT_EQ(platform::Backend().RunAlert(request), shown);
}

INSTANTIATE_TEST_SUITE_P(
    Table, X11Alerts,
    ::testing::Values(
        AlertCase{"", "", "", kReturn, platform::AlertButton("OK"), platform::kAlertDefault},
        AlertCase{"", "", "", kEscape, platform::CancelAnswer(platform::ScriptedAnswer::kAlert),
                  platform::kAlertCancel},
        AlertCase{"Yes", "No", "", kCloseBox, platform::CancelAnswer(platform::ScriptedAnswer::kAlert),
                  platform::kAlertCancel},
        AlertCase{"Yes", "No", "Cancel", kClickSecond, platform::AlertButton("No"), platform::kAlertAlternate},
        AlertCase{"Yes", "No", "", kLeftThenSpace, platform::AlertButton("No"), platform::kAlertAlternate},
        // Escape is the Cancel button when there is one.
        AlertCase{"Yes", "No", "Cancel", kEscape, platform::AlertButton("Cancel"), platform::kAlertOther},
        AlertCase{"OK", "Cancel", "", kEscape, platform::AlertButton("Cancel"), platform::kAlertAlternate}));

// A folder with a preset, another file and a folder holding a preset.
class X11Panels : public X11Dialogs {
 protected:
  X11Panels() {
    folder.Write("a.tps", {1});
    folder.Write("b.wav", {1});
    mkdir(folder.PathOf("sub").c_str(), 0700);
    folder.Write("sub/inner.tps", {1});
  }

  PanelRequest Request(bool save) const {
    PanelRequest r;
    r.save = save;
    r.folder = folder.Path();
    r.types = {"tps"};
    return r;
  }

  // Runs the panel; the chosen path, or "cancelled".
  std::string Run(const PanelRequest& request, const std::function<void(User&, Window)>& act) {
    std::string path;
    bool chosen = false;
    WithUser(
        [&](User& u) {
          const Window w = u.WaitForWindow(request.save ? "Save" : "Open");
          if (w && u.WaitForFocus(w)) act(u, w);
        },
        [&] { chosen = platform::Backend().RunPanel(request, &path); });
    return chosen ? path : "cancelled";
  }

  // The middle of a row of the list, as the panel lays it out.
  static int RowY(int row) { return 42 + 1 + row * 22 + 11; }

  ScratchFolder folder;
};

TEST_F(X11Panels, ASavedNameGetsTheExtension) {
  EXPECT_EQ(Run(Request(true),
                [](User& u, Window) {
                  u.Type("mix");
                  u.Key(XK_Return);
                }),
            folder.PathOf("mix.tps"));
  // Backspace mends a typing error; an extension already there stays one.
  EXPECT_EQ(Run(Request(true),
                [](User& u, Window) {
                  u.Type("takk");
                  u.Key(XK_BackSpace);
                  u.Type("e.tps");
                  u.Key(XK_Return);
                }),
            folder.PathOf("take.tps"));
}

TEST_F(X11Panels, EscapeAndTheCloseBoxCancel) {
  EXPECT_EQ(Run(Request(true),
                [](User& u, Window) {
                  u.Type("mix");
                  u.Key(XK_Escape);
                }),
            "cancelled");
  EXPECT_EQ(Run(Request(false), [](User& u, Window w) { u.Close(w); }), "cancelled");
}

TEST_F(X11Panels, OpeningListsOnlyTheAllowedFiles) {
  // "..", "sub", "a.tps": the list ends at the preset, the .wav not in it.
  EXPECT_EQ(Run(Request(false),
                [](User& u, Window) {
                  for (int i = 0; i < 4; ++i) u.Key(XK_Down);
                  u.Key(XK_Return);
                }),
            folder.PathOf("a.tps"));
  // Typed, the other file is refused and the panel stays open.
  EXPECT_EQ(Run(Request(false),
                [](User& u, Window) {
                  u.Type("b.wav");
                  u.Key(XK_Return);
                  u.Key(XK_Escape);
                }),
            "cancelled");
}

TEST_F(X11Panels, ADoubleClickEntersAFolderAndTakesAFile) {
  EXPECT_EQ(Run(Request(false),
                [](User& u, Window w) {
                  u.Click(w, 120, RowY(1), 2);  // sub
                  Pause(200);
                  u.Click(w, 120, RowY(1), 2);  // inner.tps
                }),
            folder.PathOf("sub/inner.tps"));
  // A single click on a file puts its name in the field; ".." goes up.
  PanelRequest inside = Request(true);
  inside.folder = folder.PathOf("sub");
  EXPECT_EQ(Run(inside,
                [](User& u, Window w) {
                  u.Click(w, 120, RowY(0), 2);  // ..
                  Pause(200);
                  u.Click(w, 120, RowY(2));  // a.tps
                  u.Key(XK_BackSpace);
                  u.Key(XK_BackSpace);
                  u.Key(XK_BackSpace);
                  u.Key(XK_BackSpace);
                  u.Type("b");
                  u.Key(XK_Return);
                }),
            folder.PathOf("ab.tps"));
}

TEST_F(X11Panels, SavingOverAFileAsksFirst) {
  int asked = 0;
  EXPECT_EQ(Run(Request(true),
                [&](User& u, Window panel) {
                  u.Type("a");
                  for (int round = 0; round < 2; ++round) {
                    u.Key(XK_Return);
                    const Window ask = u.WaitForWindow("Replace \xE2\x80\x9C" "a.tps\xE2\x80\x9D?");
                    if (!ask || !u.WaitForFocus(ask)) return;
                    ++asked;
                    if (u.TransientFor(ask) != panel) return;
                    if (round == 0) {
                      // Kept: the panel stays open for another try.
                      u.Key(XK_Escape);
                      if (!u.WaitForFocus(panel)) return;
                    } else {
                      u.Key(XK_Left);
                      u.Key(XK_space);
                    }
                  }
                }),
            folder.PathOf("a.tps"));
  EXPECT_EQ(asked, 2);
}

TEST_F(X11Dialogs, TheRunLoopsTimersFireWhileADialogIsOpen) {
  std::atomic<int> ticks{0};
  platform::RunLoopTimer* timer = platform::AddRunLoopTimer(0.0, 0.01, [&] { ++ticks; });
  int seen = 0;
  AlertRequest request;
  request.header = "Question";
  WithUser(
      [&](User& u) {
        const Window w = u.WaitForWindow("Question");
        if (!w || !u.WaitForFocus(w)) return;
        const int start = ticks;
        for (int i = 0; i < 1000 && ticks - start < 20; ++i) Pause(20);
        seen = ticks - start;
        u.Key(XK_Return);
      },
      [&] { platform::Backend().RunAlert(request); });
  platform::RemoveRunLoopTimer(timer);
  EXPECT_GE(seen, 20);
}

// Only what changed since the last frame is converted and sent, yet the X
// window always shows the window's own pixels: after the first frame, after
// frames that change a few pixels or none, and after a move has given it a
// new X window.
TEST(X11Window, ShowsExactlyTheWindowsPixelsFrameAfterFrame) {
  constexpr int kW = 37, kH = 23;
  platform::ScreenWindow w(platform::ScreenRect{40, 40, kW, kH});
  w.SetTitle("Frames");
  w.Show();
  std::vector<uint8_t> image(static_cast<size_t>(kW) * kH * 4);
  unsigned seed = 1;
  for (uint8_t& b : image) b = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
  // Whether the X window shows the window's pixels. Waiting, the loop runs
  // and handles the server's expose events (which put the whole window
  // again); without, what the frame itself sent must be right.
  const auto shows = [&](bool wait) {
    for (int i = 0; i < (wait ? 200 : 1); ++i) {
      std::vector<uint8_t> rgb;
      int width = 0, height = 0;
      if (gX11->ReadBack(&w, &rgb, &width, &height) && width == kW && height == kH) {
        bool same = true;
        for (int y = 0; y < kH && same; ++y) {
          for (int x = 0; x < kW && same; ++x) {
            uint8_t want[3];
            w.PixelRGB(x, y, want);
            same = std::equal(want, want + 3, &rgb[(static_cast<size_t>(y) * kW + x) * 3]);
          }
        }
        if (same) return true;
      }
      gX11->RunOnce(0.01);
    }
    return false;
  };
  const auto draw = [&] {
    w.DrawImage(image.data(), kW, kH, kW, 0, 0, kW, kH, platform::DeviceRect{0, 0, kW, kH});
  };
  draw();
  uint8_t first[3];
  w.PixelRGB(5, 7, first);
  EXPECT_EQ(first[0], image[(7 * kW + 5) * 4 + 1]);
  EXPECT_TRUE(shows(true)) << "first frame";
  // Whatever the mapping exposed is handled now.
  for (int i = 0; i < 20; ++i) gX11->RunOnce(0.01);
  for (const auto& [x, y] : {std::pair{0, 0}, std::pair{36, 22}, std::pair{17, 9}, std::pair{33, 1}}) {
    image[(static_cast<size_t>(y) * kW + x) * 4 + 2] ^= 0x5a;
  }
  draw();
  EXPECT_TRUE(shows(false)) << "a few pixels changed";
  draw();
  EXPECT_TRUE(shows(false)) << "nothing changed";
  // A new X window starts black: the first frame puts all of it, though
  // one pixel changed.
  w.SetFrame(platform::ScreenRect{60, 50, kW, kH});
  image[(static_cast<size_t>(kH - 1) * kW + 3) * 4 + 3] ^= 0x81;
  draw();
  EXPECT_TRUE(shows(false)) << "a pixel changed, just moved";
  // With nothing changed the frame sends nothing; the server's expose event
  // fills the new window.
  w.SetFrame(platform::ScreenRect{80, 50, kW, kH});
  draw();
  EXPECT_TRUE(shows(true)) << "nothing changed, just moved";
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  XInitThreads();
  platform::X11Backend* x11 = platform::InstallX11Backend(nullptr);
  if (!x11) {
    std::printf("no X display: skipped\n");
    return 77;
  }
  x11->SetDialogInterruption([] { return gGiveUp.load(); });
  gX11 = x11;
  return RUN_ALL_TESTS();
}
