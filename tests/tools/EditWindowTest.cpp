// `brimlow edit` on a real X display, driven as a user would: a band handle
// dragged with the mouse, a value typed into its field, the window closed
// (by the window manager's request, destroyed, its client killed, its
// display gone), the state it saved read back.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <spawn.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <memory>
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
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <sys/stat.h>

#include "tests/X11TestSupport.h"

extern char** environ;

namespace {

// Opened once by main, for the whole run.
Display* gDisplay = nullptr;

// The editor's window, 0 while there is none.
Window FindEditor(Display* d) { return FindShownWindow(d, "Brimlow"); }

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

// `brimlow edit` running with its output in a file; killed if a test stops early.
class EditRun {
 public:
  // Each of env ("NAME=value") replaces the variable of that name.
  EditRun(const ScratchFolder& folder, std::vector<std::string> extra, const std::vector<std::string>& env = {})
      : mErr(folder.PathOf("stderr")) {
    std::vector<std::string> args = {BRIMLOW_PROGRAM, "edit"};
    args.insert(args.end(), extra.begin(), extra.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> environment = env;
    for (char** e = environ; *e; ++e) {
      const std::string name(*e, std::strcspn(*e, "="));
      bool replaced = false;
      for (const std::string& given : env) replaced = replaced || given.compare(0, name.size() + 1, name + "=") == 0;
      if (!replaced) environment.emplace_back(*e);
    }
    std::vector<char*> envp;
    for (std::string& e : environment) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, mErr.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, STDERR_FILENO, STDOUT_FILENO);
    // No terminal to ask on.
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    mStarted = posix_spawn(&mPid, BRIMLOW_PROGRAM, &actions, nullptr, argv.data(), envp.data()) == 0;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~EditRun() {
    if (!mStarted || mDone) return;
    kill(mPid, SIGKILL);
    waitpid(mPid, nullptr, 0);
  }
  bool Started() const { return mStarted; }
  // Sanitizer builds take their time to save and unwind.
  bool WaitForExit() {
    for (int i = 0; i < 2400 && !mDone; ++i) {
      mDone = waitpid(mPid, &mStatus, WNOHANG) == mPid;
      if (!mDone) Pause(25);
    }
    return mDone;
  }
  bool ExitedWithZero() const { return mDone && WIFEXITED(mStatus) && WEXITSTATUS(mStatus) == 0; }
  std::string Output() const {
    std::ifstream in(mErr);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

 private:
  std::string mErr;
  pid_t mPid = 0;
  bool mStarted = false, mDone = false;
  int mStatus = -1;
};

// The editor's window once one has stood for a second (the first open
// closes and reopens it at its fitted size), however slow the build; 0 if
// none comes.
Window WaitForEditor(Display* d) {
  Window editor = 0;
  for (int i = 0; i < 1200 && !editor; ++i) {
    Pause(25);
    editor = FindEditor(d);
  }
  // The window may be gone for a moment between the two opens.
  int steady = 0;
  for (int i = 0; i < 300 && steady < 5; ++i) {
    Pause(200);
    const Window now = FindEditor(d);
    steady = now != 0 && now == editor ? steady + 1 : 0;
    editor = now;
  }
  return steady == 5 ? editor : 0;
}

void AskToClose(Display* d, Window editor) { SendCloseRequest(d, editor); }

// Keys typed as a person would, a little apart, to whatever has the focus.
void TypeKeys(Display* d, std::initializer_list<KeySym> keys) {
  for (KeySym key : keys) {
    const KeyCode code = XKeysymToKeycode(d, key);
    XTestFakeKeyEvent(d, code, True, CurrentTime);
    XTestFakeKeyEvent(d, code, False, CurrentTime);
    XFlush(d);
    Pause(30);
  }
}

// A session restored from the state file.
struct Restored {
  explicit Restored(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    found = !bytes.empty();
    session.Start(48000, 512, 2);
    if (found) session.RestoreState(bytes, path);
  }
  double Band(int band, int kind) { return session.Instance().GetParam(BandParamIndex(band, kind))->Value(); }
  bool found = false;
  HostSession session;
};

TEST(EditWindow, ADraggedBandHandleIsInTheSavedState) {
  Display* d = gDisplay;
  ScratchFolder folder;
  const std::string state = folder.PathOf("s.state");
  EditRun run(folder, {"--state-out", state, "--set", "Active 1=on", "--set", "Freq 1=1000"});
  ASSERT_TRUE(run.Started());
  const Window editor = WaitForEditor(d);
  ASSERT_NE(editor, 0u) << run.Output();

  const int x0 = XOfFrequency(1000.0), y = YOfGain(0.0), x1 = x0 + 110;
  Send(d, editor, ButtonPress, x0, y, 0);
  Pause(50);
  for (int x = x0 + 10; x <= x1; x += 10) {
    Send(d, editor, MotionNotify, x, y, Button1Mask);
    Pause(20);
  }
  Send(d, editor, ButtonRelease, x1, y, Button1Mask);
  Pause(200);
  AskToClose(d, editor);

  ASSERT_TRUE(run.WaitForExit()) << run.Output();
  ASSERT_TRUE(run.ExitedWithZero()) << run.Output();
  Restored restored(state);
  ASSERT_TRUE(restored.found);
  // Where the mouse let go, to within a few pixels of the axis.
  const double hz = restored.Band(0, kBandFreq);
  EXPECT_GT(hz, FrequencyOfX(x1 - 4)) << run.Output();
  EXPECT_LT(hz, FrequencyOfX(x1 + 4)) << run.Output();
  EXPECT_EQ(restored.Band(0, kBandActive), 1.0);
}

// With no window manager the keyboard follows the pointer, which rests on
// the value field that a right-click opened: the typed value still lands.
TEST(EditWindow, AValueTypedWithThePointerOnItsFieldIsTaken) {
  Display* d = gDisplay;
  int event = 0, error = 0, major = 0, minor = 0;
  ASSERT_TRUE(XTestQueryExtension(d, &event, &error, &major, &minor));
  ScratchFolder folder;
  const std::string state = folder.PathOf("s.state");
  EditRun run(folder, {"--state-out", state, "--set", "Active 1=on"});
  ASSERT_TRUE(run.Started());
  const Window editor = WaitForEditor(d);
  ASSERT_NE(editor, 0u) << run.Output();
  // Nobody else holds the focus: the keyboard goes where the pointer is.
  XSetInputFocus(d, PointerRoot, RevertToPointerRoot, CurrentTime);

  // Band 1's frequency readout: 60 x 22 at (63, 553) of the editor at 100 %.
  int rootX = 0, rootY = 0;
  Window child = 0;
  XTranslateCoordinates(d, editor, DefaultRootWindow(d), 93, 564, &rootX, &rootY, &child);
  XTestFakeMotionEvent(d, DefaultScreen(d), rootX, rootY, CurrentTime);
  XTestFakeButtonEvent(d, Button3, True, CurrentTime);
  XTestFakeButtonEvent(d, Button3, False, CurrentTime);
  XFlush(d);
  Pause(500);
  // Nudged, still on the field.
  XTestFakeMotionEvent(d, DefaultScreen(d), rootX + 3, rootY + 2, CurrentTime);
  XFlush(d);
  Pause(100);
  TypeKeys(d, {XK_2, XK_5, XK_0, XK_0, XK_Return});
  Pause(300);
  AskToClose(d, editor);

  ASSERT_TRUE(run.WaitForExit()) << run.Output();
  ASSERT_TRUE(run.ExitedWithZero()) << run.Output();
  Restored restored(state);
  ASSERT_TRUE(restored.found);
  EXPECT_NEAR(restored.Band(0, kBandFreq), 2500.0, 1e-6) << run.Output();
}

// However the window goes from outside, the session's edits are kept.
enum class Ending { kWindowDestroyed, kClientKilled };

class EditWindowGone : public ::testing::TestWithParam<Ending> {};

TEST_P(EditWindowGone, TheStateIsSavedAndEditEndsWell) {
  Display* d = gDisplay;
  ScratchFolder folder;
  const std::string state = folder.PathOf("s.state");
  EditRun run(folder, {"--state-out", state, "--set", "Active 3=on", "--set", "Freq 3=3210"});
  ASSERT_TRUE(run.Started());
  const Window editor = WaitForEditor(d);
  ASSERT_NE(editor, 0u) << run.Output();
  if (GetParam() == Ending::kWindowDestroyed) {
    XDestroyWindow(d, editor);
  } else {
    XKillClient(d, editor);
  }
  XFlush(d);

  ASSERT_TRUE(run.WaitForExit()) << run.Output();
  ASSERT_TRUE(run.ExitedWithZero()) << run.Output();
  Restored restored(state);
  ASSERT_TRUE(restored.found) << run.Output();
  EXPECT_NEAR(restored.Band(2, kBandFreq), 3210.0, 1e-6);
  EXPECT_EQ(restored.Band(2, kBandActive), 1.0);
}

INSTANTIATE_TEST_SUITE_P(Endings, EditWindowGone, ::testing::Values(Ending::kWindowDestroyed, Ending::kClientKilled));

// The X server itself goes: a display of the test's own, killed under it.
// An Xvfb of its own on a display it picks; the display's name, or empty
// when it could not start. Servers starting together can race for one
// number and the loser exits, so a few are tried.
std::string StartOwnServer(pid_t* server) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    int fds[2];
    if (pipe(fds) != 0) return "";
    const std::string fd = std::to_string(fds[1]);
    std::vector<std::string> args = {"Xvfb", "-displayfd", fd, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const bool spawned = posix_spawnp(server, "Xvfb", &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (!spawned) {
      close(fds[0]);
      return "";
    }
    // The number comes as one line once the server listens; end of file
    // means it gave up.
    std::string number;
    char c = 0;
    ssize_t got = 0;
    while ((got = read(fds[0], &c, 1)) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (!number.empty() && got == 1) return ":" + number;
    kill(*server, SIGKILL);
    waitpid(*server, nullptr, 0);
    *server = 0;
  }
  return "";
}

TEST(EditWindow, TheStateIsSavedWhenTheDisplayDies) {
  ScratchFolder folder;
  pid_t server = 0;
  const std::string display = StartOwnServer(&server);
  if (display.empty()) GTEST_SKIP() << "no Xvfb of the test's own";
  struct ServerReaper {
    pid_t pid;
    ~ServerReaper() {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  } serverReaper{server};
  Display* d = XOpenDisplay(display.c_str());
  ASSERT_NE(d, nullptr) << display;

  const std::string state = folder.PathOf("s.state");
  EditRun run(folder, {"--state-out", state, "--set", "Active 5=on", "--set", "Gain 5=-7.5"}, {"DISPLAY=" + display});
  ASSERT_TRUE(run.Started());
  const Window editor = WaitForEditor(d);
  XCloseDisplay(d);
  ASSERT_NE(editor, 0u) << run.Output();
  kill(server, SIGKILL);
  waitpid(server, nullptr, 0);

  ASSERT_TRUE(run.WaitForExit()) << run.Output();
  ASSERT_TRUE(run.ExitedWithZero()) << run.Output();
  Restored restored(state);
  ASSERT_TRUE(restored.found) << run.Output();
  EXPECT_NEAR(restored.Band(4, kBandGain), -7.5, 1e-6);
  EXPECT_EQ(restored.Band(4, kBandActive), 1.0);
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
  EditRun run(folder, {"--set", "GUI Scale=150%", "--scale", std::to_string(wanted), "--state-out", state});
  ASSERT_TRUE(run.Started());
  const Window editor = WaitForEditor(d);
  ASSERT_NE(editor, 0u) << run.Output();
  XWindowAttributes a;
  ASSERT_TRUE(XGetWindowAttributes(d, editor, &a));
  EXPECT_EQ(std::to_string(a.width) + " x " + std::to_string(a.height), size(expected)) << run.Output();
  const std::string told = run.Output().substr(0, run.Output().find('\n') + 1);
  if (expected == wanted) {
    EXPECT_EQ(told.find("larger than the screen"), std::string::npos) << run.Output();
  } else {
    EXPECT_EQ(told, "brimlow: the editor at " + std::to_string(wanted) + " % (" + size(wanted) +
                             ") is larger than the screen (" + std::to_string(screenWidth) + " x " +
                             std::to_string(screenHeight) + "): opened at " + std::to_string(expected) + " % (" +
                             size(expected) + ")\n");
  }
  AskToClose(d, editor);
  ASSERT_TRUE(run.WaitForExit()) << run.Output();
  ASSERT_TRUE(run.ExitedWithZero()) << run.Output();

  Restored restored(state);
  ASSERT_TRUE(restored.found) << run.Output();
  const IParam* scale = restored.session.Instance().GetParam(kParamGUIScale);
  EXPECT_EQ(kScales[static_cast<int>(scale->Value())], expected);
}

// 200 % passes the small screen, 75 % does not.
INSTANTIATE_TEST_SUITE_P(Scales, EditScreenFit, ::testing::Values(200, 75));

// The preset menu's "Save Preset..." item opens the save panel as a window
// of its own, where the name is typed; the preset lands in the plug-in's
// data folder under the home folder given.
TEST(EditWindow, SavingAPresetAsksForItsNameInAWindow) {
  Display* d = gDisplay;
  ScratchFolder home;
  EditRun run(home, {}, {"HOME=" + home.Path(), "XDG_DATA_HOME="});
  ASSERT_TRUE(run.Started());
  const Window editor = WaitForEditor(d);
  ASSERT_NE(editor, 0u) << run.Output();

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
    panel = FindShownWindow(d, "Save");
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

// Under a window manager that framed the editor's window and placed it
// where it liked, a right-click on a value opens its field over the value
// (not where the window was first asked to be), and what is typed there is
// taken. The window manager is played by the test, or is twm when installed:
// once with the keyboard left where clients put it, once moving it with the
// pointer (twm's own default), which hands it on as the pointer passes onto
// the field.
enum class Manager { kPlayedByTheTest, kTwm, kTwmFocusFollowsPointer };

// A viewable window named "Brimlow" anywhere in the tree (a window manager
// puts it in a frame of its own); 0 while there is none.
Window FindFramedEditor(Display* d, Window under, int depth = 0) {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  Window found = 0;
  if (!XQueryTree(d, under, &root, &parent, &children, &count)) return 0;
  for (unsigned i = 0; i < count && !found; ++i) {
    char* name = nullptr;
    XWindowAttributes a;
    if (XFetchName(d, children[i], &name) && name && std::string(name) == "Brimlow" &&
        XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable) {
      found = children[i];
    }
    if (name) XFree(name);
    if (!found && depth < 2) found = FindFramedEditor(d, children[i], depth + 1);
  }
  if (children) XFree(children);
  return found;
}

// The content's top-left corner on the root.
void RootOriginOf(Display* d, Window w, int* x, int* y) {
  Window child = 0;
  XTranslateCoordinates(d, w, DefaultRootWindow(d), 0, 0, x, y, &child);
}

// twm on the display, started with a settings file that places windows
// without asking the user; stopped (its windows put back) at the end.
class Twm {
 public:
  Twm(const ScratchFolder& folder, bool focusFollowsPointer) {
    const std::string settings = folder.PathOf("twmrc");
    std::ofstream(settings) << "RandomPlacement\nNoGrabServer\n" << (focusFollowsPointer ? "" : "NoTitleFocus\n");
    std::string program = "twm", option = "-f", path = settings;
    char* argv[] = {program.data(), option.data(), path.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, STDERR_FILENO, STDOUT_FILENO);
    mStarted = posix_spawnp(&mPid, "twm", &actions, nullptr, argv, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~Twm() {
    if (!mStarted) return;
    kill(mPid, SIGTERM);
    waitpid(mPid, nullptr, 0);
  }
  // True once it manages the screen; false when it is not installed or
  // did not come up.
  bool Running(Display* d) {
    for (int i = 0; mStarted && i < 200; ++i) {
      XWindowAttributes a;
      XGetWindowAttributes(d, DefaultRootWindow(d), &a);
      if (a.all_event_masks & SubstructureRedirectMask) return true;
      if (waitpid(mPid, nullptr, WNOHANG) == mPid) mStarted = false;
      Pause(25);
    }
    return false;
  }

 private:
  pid_t mPid = 0;
  bool mStarted = false;
};

class EditUnderWindowManager : public ::testing::TestWithParam<Manager> {};

TEST_P(EditUnderWindowManager, AValueFieldOpensOverItsValueAndTakesWhatIsTyped) {
  Display* d = gDisplay;
  int event = 0, error = 0, major = 0, minor = 0;
  ASSERT_TRUE(XTestQueryExtension(d, &event, &error, &major, &minor));
  ScratchFolder folder;
  std::unique_ptr<Twm> twm;
  if (GetParam() != Manager::kPlayedByTheTest) {
    twm = std::make_unique<Twm>(folder, GetParam() == Manager::kTwmFocusFollowsPointer);
    if (!twm->Running(d)) GTEST_SKIP() << "twm is not installed (or did not start)";
  }
  const std::string state = folder.PathOf("s.state");
  EditRun run(folder, {"--state-out", state, "--set", "Active 1=on"});
  ASSERT_TRUE(run.Started());
  Window frame = 0;
  if (GetParam() == Manager::kPlayedByTheTest) {
    const Window shown = WaitForEditor(d);
    ASSERT_NE(shown, 0u) << run.Output();
    frame = ReparentAsAWindowManager(d, shown, 170, 130, 4, 24);
  }
  // The window where it came to rest: found, and in one place for a second.
  Window editor = 0;
  int left = 0, top = 0, steady = 0;
  for (int i = 0; i < 300 && steady < 5; ++i) {
    Pause(200);
    const Window now = FindFramedEditor(d, DefaultRootWindow(d));
    int x = -1, y = -1;
    if (now) RootOriginOf(d, now, &x, &y);
    steady = now != 0 && now == editor && x == left && y == top ? steady + 1 : 0;
    editor = now;
    left = x;
    top = y;
  }
  ASSERT_EQ(steady, 5) << run.Output();
  // Not where the editor asked (the top-left corner): a test of nothing else.
  ASSERT_NE(left + top, 0);

  // Band 1's frequency readout: 60 x 22 at (63, 553) of the editor at 100 %.
  XTestFakeMotionEvent(d, DefaultScreen(d), left + 93, top + 564, CurrentTime);
  XTestFakeButtonEvent(d, Button3, True, CurrentTime);
  XTestFakeButtonEvent(d, Button3, False, CurrentTime);
  XFlush(d);
  // The field: a window of its own on the root, over the readout.
  int fieldX = -1, fieldY = -1;
  for (int i = 0; i < 100 && fieldX < 0; ++i) {
    Pause(20);
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count);
    for (unsigned k = 0; k < count; ++k) {
      XWindowAttributes a;
      if (XGetWindowAttributes(d, children[k], &a) && a.override_redirect && a.map_state == IsViewable &&
          a.width == 60 && a.height == 22) {
        fieldX = a.x;
        fieldY = a.y;
      }
    }
    if (children) XFree(children);
  }
  EXPECT_EQ(fieldX, left + 63) << run.Output();
  EXPECT_EQ(fieldY, top + 553) << run.Output();
  TypeKeys(d, {XK_2, XK_5, XK_0, XK_0, XK_Return});
  Pause(300);
  AskToClose(d, editor);

  ASSERT_TRUE(run.WaitForExit()) << run.Output();
  if (frame) XDestroyWindow(d, frame);
  XSync(d, False);
  ASSERT_TRUE(run.ExitedWithZero()) << run.Output();
  Restored restored(state);
  ASSERT_TRUE(restored.found);
  EXPECT_NEAR(restored.Band(0, kBandFreq), 2500.0, 1e-6) << run.Output();
}

INSTANTIATE_TEST_SUITE_P(Managers, EditUnderWindowManager,
                         ::testing::Values(Manager::kPlayedByTheTest, Manager::kTwm, Manager::kTwmFocusFollowsPointer),
                         [](const ::testing::TestParamInfo<Manager>& info) {
                           switch (info.param) {
                             case Manager::kTwm: return std::string("Twm");
                             case Manager::kTwmFocusFollowsPointer: return std::string("TwmFocusFollowsPointer");
                             default: return std::string("PlayedByTheTest");
                           }
                         });

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
