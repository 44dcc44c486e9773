// `brimlow edit` on a real X display, driven as a user would: a band handle
// dragged with the mouse, the window closed, the state it saved read back.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <spawn.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "plugin/controller/Brimlow.h"
#include "plugin/engine/ParamIndex.h"
#include "tests/ScratchFolder.h"
#include "tools/HostSession.h"

// Last: Xlib's macros would clash with the names above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <sys/stat.h>
#ifdef BRIMLOW_HAVE_XTEST
#include <X11/extensions/XTest.h>
#endif

extern char** environ;

namespace {

// Opened once by main, for the whole run.
Display* gDisplay = nullptr;

// The top-level window the program named "Brimlow", 0 while there is none.
Window FindEditor(Display* d) {
  Window root = DefaultRootWindow(d), parent = 0, *children = nullptr;
  unsigned int count = 0;
  Window found = 0;
  if (!XQueryTree(d, root, &root, &parent, &children, &count)) return 0;
  for (unsigned int i = 0; i < count && !found; ++i) {
    char* name = nullptr;
    XWindowAttributes a;
    if (XFetchName(d, children[i], &name) && name && std::strcmp(name, "Brimlow") == 0 &&
        XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable) {
      found = children[i];
    }
    if (name) XFree(name);
  }
  if (children) XFree(children);
  return found;
}

#ifdef BRIMLOW_HAVE_XTEST
// A shown top-level window with that name, or 0.
Window FindWindowNamed(Display* d, const char* title) {
  Window root = DefaultRootWindow(d), parent = 0, *children = nullptr;
  unsigned int count = 0;
  Window found = 0;
  if (!XQueryTree(d, root, &root, &parent, &children, &count)) return 0;
  for (unsigned int i = 0; i < count && !found; ++i) {
    char* name = nullptr;
    XWindowAttributes a;
    if (XFetchName(d, children[i], &name) && name && std::strcmp(name, title) == 0 &&
        XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable) {
      found = children[i];
    }
    if (name) XFree(name);
  }
  if (children) XFree(children);
  return found;
}
#endif

void Send(Display* d, Window w, int type, int x, int y, unsigned int state) {
  XEvent e{};
  e.type = type;
  long mask = 0;
  if (type == MotionNotify) {
    XMotionEvent& m = e.xmotion;
    m.display = d;
    m.window = w;
    m.root = DefaultRootWindow(d);
    m.x = x;
    m.y = y;
    m.state = state;
    m.same_screen = True;
    mask = PointerMotionMask | ButtonMotionMask;
  } else {
    XButtonEvent& b = e.xbutton;
    b.display = d;
    b.window = w;
    b.root = DefaultRootWindow(d);
    b.x = x;
    b.y = y;
    b.button = Button1;
    b.state = state;
    b.same_screen = True;
    mask = type == ButtonPress ? ButtonPressMask : ButtonReleaseMask;
  }
  XSendEvent(d, w, False, mask, &e);
  XFlush(d);
}

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// The display's frequency axis at 100 %: the plot starts 8 pixels in from
// the display's left edge (92) and spans 681 pixels for 10 Hz to 30 kHz.
int XOfFrequency(double hz) { return 100 + static_cast<int>(681.0 * std::log10(hz / 10.0) / std::log10(3000.0)); }
double FrequencyOfX(int x) { return 10.0 * std::pow(3000.0, (x - 100) / 681.0); }
// The EQ axis: -60 dB at the plot's bottom (423), 36 dB at its top, 334 high.
int YOfGain(double db) { return 423 - static_cast<int>(std::floor((db + 60.0) * 334.0 / 96.0 + 0.5)); }

// `brimlow edit` started with its standard error in a file, killed if a
// test stops before it has ended.
class EditRun {
 public:
  EditRun(const std::vector<std::string>& extraArgs, const std::string& errPath) : mErrPath(errPath) {
    std::vector<std::string> args = {BRIMLOW_PROGRAM, "edit"};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    if (posix_spawn(&mPid, BRIMLOW_PROGRAM, &actions, nullptr, argv.data(), environ) != 0) mPid = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~EditRun() {
    if (mDone || mPid <= 0) return;
    kill(mPid, SIGKILL);
    waitpid(mPid, nullptr, 0);
  }
  EditRun(const EditRun&) = delete;
  EditRun& operator=(const EditRun&) = delete;

  bool Started() const { return mPid > 0; }
  // What it has said so far, for the checks and the failure messages.
  std::string Err() const {
    std::ifstream in(mErrPath);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  // Its exit status once it has ended; false while it runs.
  bool WaitForExit(int* status) {
    // Sanitizer builds take their time to save and unwind.
    for (int i = 0; i < 2400 && !mDone; ++i) {
      mDone = waitpid(mPid, status, WNOHANG) == mPid;
      if (!mDone) Pause(25);
    }
    return mDone;
  }

 private:
  std::string mErrPath;
  pid_t mPid = -1;
  bool mDone = false;
};

// The editor's window once it has stood for a second (the first open
// closes and reopens the window at its fitted size, however slow the
// build); 0 when none did.
Window WaitForSteadyEditor(Display* d) {
  Window editor = 0;
  for (int i = 0; i < 1200 && !editor; ++i) {
    Pause(25);
    editor = FindEditor(d);
  }
  if (!editor) return 0;
  int steady = 0;
  for (int i = 0; i < 300 && steady < 5; ++i) {
    Pause(200);
    const Window now = FindEditor(d);
    steady = now != 0 && now == editor ? steady + 1 : 0;
    editor = now;
  }
  return steady == 5 ? editor : 0;
}

// As a window manager asks when the user closes the window.
void CloseEditor(Display* d, Window editor) {
  XEvent close{};
  close.type = ClientMessage;
  close.xclient.window = editor;
  close.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  close.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, editor, False, NoEventMask, &close);
  XFlush(d);
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(EditWindow, ADraggedBandHandleIsInTheSavedState) {
  Display* d = gDisplay;
  ScratchFolder folder;
  const std::string state = folder.PathOf("s.state");
  EditRun run({"--state-out", state, "--set", "Active 1=on", "--set", "Freq 1=1000"}, folder.PathOf("stderr"));
  ASSERT_TRUE(run.Started());
  const Window editor = WaitForSteadyEditor(d);
  ASSERT_NE(editor, 0u) << run.Err();

  const int x0 = XOfFrequency(1000.0), y = YOfGain(0.0), x1 = x0 + 110;
  Send(d, editor, ButtonPress, x0, y, 0);
  Pause(50);
  for (int x = x0 + 10; x <= x1; x += 10) {
    Send(d, editor, MotionNotify, x, y, Button1Mask);
    Pause(20);
  }
  Send(d, editor, ButtonRelease, x1, y, Button1Mask);
  Pause(200);
  CloseEditor(d, editor);

  int status = -1;
  ASSERT_TRUE(run.WaitForExit(&status)) << run.Err();
  ASSERT_TRUE(WIFEXITED(status)) << run.Err();
  ASSERT_EQ(WEXITSTATUS(status), 0) << run.Err();

  const std::vector<uint8_t> bytes = ReadBytes(state);
  ASSERT_FALSE(bytes.empty());
  HostSession session;
  session.Start(48000, 512, 2);
  session.RestoreState(bytes, state);
  const double hz = session.Instance().GetParam(BandParamIndex(0, kBandFreq))->Value();
  // Where the mouse let go, to within a few pixels of the axis.
  EXPECT_GT(hz, FrequencyOfX(x1 - 4)) << run.Err();
  EXPECT_LT(hz, FrequencyOfX(x1 + 4)) << run.Err();
  EXPECT_EQ(session.Instance().GetParam(BandParamIndex(0, kBandActive))->Value(), 1.0);
}

// The GUI scales and the editor's size at 100 %.
constexpr int kScales[] = {50, 75, 100, 125, 150, 175, 200};
constexpr int kWidth100 = 872, kHeight100 = 632;

class EditScreenFit : public ::testing::TestWithParam<int> {};

// --scale PERCENT overrides the scale the settings gave; a window larger
// than the screen opens at the largest scale that fits instead, and the
// user is told in one line. The saved state keeps the scale it opened at.
TEST_P(EditScreenFit, OpensAtTheLargestScaleThatFits) {
  Display* d = gDisplay;
  const int screenWidth = DisplayWidth(d, DefaultScreen(d)), screenHeight = DisplayHeight(d, DefaultScreen(d));
  if (screenWidth >= kWidth100 * 2 && screenHeight >= kHeight100 * 2) {
    GTEST_SKIP() << "the screen holds the editor at every scale";
  }
  const int wanted = GetParam();
  int expected = kScales[0];
  for (const int percent : kScales) {
    if (percent <= wanted && kWidth100 * percent / 100 <= screenWidth && kHeight100 * percent / 100 <= screenHeight) {
      expected = percent;
    }
  }
  const auto size = [](int percent) {
    return std::to_string(kWidth100 * percent / 100) + " x " + std::to_string(kHeight100 * percent / 100);
  };

  ScratchFolder folder;
  const std::string state = folder.PathOf("s.state");
  // The state asks for 150 %; the option has the last word.
  EditRun run({"--set", "GUI Scale=150%", "--scale", std::to_string(wanted), "--state-out", state},
              folder.PathOf("stderr"));
  ASSERT_TRUE(run.Started());
  const Window editor = WaitForSteadyEditor(d);
  ASSERT_NE(editor, 0u) << run.Err();
  XWindowAttributes a;
  ASSERT_TRUE(XGetWindowAttributes(d, editor, &a));
  EXPECT_EQ(std::to_string(a.width) + " x " + std::to_string(a.height), size(expected)) << run.Err();
  if (expected == wanted) {
    EXPECT_EQ(run.Err(), "");
  } else {
    EXPECT_EQ(run.Err(), "brimlow: the editor at " + std::to_string(wanted) + " % (" + size(wanted) +
                             ") is larger than the screen (" + std::to_string(screenWidth) + " x " +
                             std::to_string(screenHeight) + "): opened at " + std::to_string(expected) + " % (" +
                             size(expected) + ")\n");
  }
  CloseEditor(d, editor);
  int status = -1;
  ASSERT_TRUE(run.WaitForExit(&status)) << run.Err();
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << run.Err();

  HostSession session;
  session.Start(48000, 512, 2);
  session.RestoreState(ReadBytes(state), state);
  const IParam* scale = session.Instance().GetParam(kParamGUIScale);
  EXPECT_EQ(kScales[static_cast<int>(scale->Value())], expected);
}

// 200 % passes the small screen, 75 % does not.
INSTANTIATE_TEST_SUITE_P(Scales, EditScreenFit, ::testing::Values(200, 75));

#ifdef BRIMLOW_HAVE_XTEST
// The preset menu's "Save Preset..." item opens the save panel as a window
// of its own, where the name is typed; the preset lands in the plug-in's
// data folder under the home folder given.
TEST(EditWindow, SavingAPresetAsksForItsNameInAWindow) {
  Display* d = gDisplay;
  ScratchFolder home;
  std::vector<std::string> args = {BRIMLOW_PROGRAM, "edit"};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> env = {"HOME=" + home.Path()};
  for (char** e = environ; *e; ++e) {
    if (std::strncmp(*e, "HOME=", 5) != 0 && std::strncmp(*e, "XDG_DATA_HOME=", 14) != 0) env.push_back(*e);
  }
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  const std::string err = home.PathOf("stderr");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  // No terminal to ask on.
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, BRIMLOW_PROGRAM, &actions, nullptr, argv.data(), envp.data()), 0);
  posix_spawn_file_actions_destroy(&actions);
  struct Reaper {
    pid_t pid;
    ~Reaper() {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  } reaper{pid};

  Window editor = 0;
  int steady = 0;
  for (int i = 0; i < 600 && steady < 5; ++i) {
    Pause(200);
    const Window now = FindEditor(d);
    steady = now != 0 && now == editor ? steady + 1 : 0;
    editor = now;
  }
  ASSERT_EQ(steady, 5);

  // The preset button, then the menu's fourth entry (past a separator).
  Send(d, editor, ButtonPress, 341, 18, 0);
  Send(d, editor, ButtonRelease, 341, 18, Button1Mask);
  Pause(500);
  const auto key = [d](KeySym sym) {
    const KeyCode code = XKeysymToKeycode(d, sym);
    XTestFakeKeyEvent(d, code, True, 0);
    XTestFakeKeyEvent(d, code, False, 0);
    XSync(d, False);
  };
  for (int i = 0; i < 3; ++i) key(XK_Down);
  key(XK_Return);

  Window panel = 0;
  for (int i = 0; i < 500 && !panel; ++i) {
    Pause(20);
    panel = FindWindowNamed(d, "Save");
  }
  ASSERT_NE(panel, 0u);
  Window parent = 0;
  EXPECT_TRUE(XGetTransientForHint(d, panel, &parent));
  EXPECT_EQ(parent, editor);
  Window focus = 0;
  int revert = 0;
  for (int i = 0; i < 500 && focus != panel; ++i) {
    Pause(20);
    XGetInputFocus(d, &focus, &revert);
  }
  ASSERT_EQ(focus, panel);
  for (KeySym sym : {XK_m, XK_i, XK_x, XK_Return}) key(sym);

  const std::string preset = home.PathOf(".local/share/Brimlow/mix.tps");
  struct stat info {};
  for (int i = 0; i < 500 && stat(preset.c_str(), &info) != 0; ++i) Pause(20);
  EXPECT_EQ(stat(preset.c_str(), &info), 0) << preset;
  EXPECT_GT(info.st_size, 0);
}
#endif

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  gDisplay = XOpenDisplay(nullptr);
  if (!gDisplay) {
    std::printf("no X display: skipped\n");
    return 77;
  }
  const int result = RUN_ALL_TESTS();
  XCloseDisplay(gDisplay);
  return result;
}
