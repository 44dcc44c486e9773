#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/windowserver/InputSink.h"

// Private to the X11 backend's sources: the display and what it shows.
namespace platform {

class ScreenWindow;
class TextFieldView;

struct X11State {
  Display* display = nullptr;
  int screen = 0;
  Window root = 0;
  Visual* visual = nullptr;
  int depth = 0;
  int redShift = 0, greenShift = 0, blueShift = 0;
  Atom wmProtocols = 0, wmDelete = 0;
  XFontStruct* font = nullptr;
  GC gc = nullptr;
  Cursor arrow = 0, resize = 0, blank = 0, current = 0;
  bool shm = false;   // the server takes images in shared memory
  bool lost = false;  // the connection to the server is gone: no more X calls

  struct Shown {
    ScreenWindow* window = nullptr;
    Window xwindow = 0;
    // The visual's words, what is sent: in shared memory when the server
    // takes it, else in the vector.
    XImage* image = nullptr;
    uint32_t* words = nullptr;
    size_t wordsPerRow = 0;
    std::vector<uint32_t> pixels;
    // The image keeps a pointer to it: it stays put as the record moves.
    std::unique_ptr<XShmSegmentInfo> segment;
    bool shared = false;
    bool sent = false;  // a shared image the server may still be reading
    // The image does not hold the window's pixels yet (it was just made):
    // the next put converts the whole window, not only what it is asked.
    bool fresh = false;
    // Closed from outside: the window manager asked, or the window was
    // destroyed (then it is no longer ours to destroy).
    bool closeRequested = false;
    bool destroyed = false;
    // Click counting.
    unsigned lastButton = 0;
    Time lastPress = 0;
    int lastX = 0, lastY = 0, clicks = 0;
    // The windows a window manager put around this one (its frame and any
    // between it and the root), watched: moving them moves this window
    // without telling it.
    std::vector<Window> frames;
  };
  std::vector<Shown> shown;

  struct Field {
    TextFieldView* field;
    Window xwindow;
  };
  std::vector<Field> fields;
  Window tag = 0;
  std::string tagText;
  std::vector<Window> menuWindows;  // the open menu's levels, top first
  std::vector<Window> vanished;     // ours, destroyed by another client
  // Focus before a text field took it, put back when the field closes.
  Window focusBefore = 0;
  int revertBefore = RevertToParent;
  bool focusTaken = false;

  uint32_t Pack(uint8_t r, uint8_t g, uint8_t b) const {
    return static_cast<uint32_t>(r) << redShift | static_cast<uint32_t>(g) << greenShift |
           static_cast<uint32_t>(b) << blueShift;
  }
  Shown* Find(const ScreenWindow* window);
  Shown* FindX(Window xwindow);
  // A window or drawable this backend made (or made and lost).
  bool Owns(XID id) const;
  // Converts the window's pixels in the area and puts them on the screen:
  // all of them, or only the part that differs from what was last put.
  void Put(Shown& s, int left, int top, int right, int bottom, bool changesOnly = false);
  void DrawText(Window w, int x, int y, const std::string& text);
};

// Hands an X event to the window it is for (X11Backend.cpp).
void Deliver(X11State& x, XEvent& event);

// Where the windows really are (X11WindowPosition.cpp). A window manager
// reparents a shown window into a frame and moves it, and the user moves
// the frame; the window's frame on the screen follows, so whatever is
// placed from it (menus, text fields, help tags) lands over the window.
// True when the event was about a shown window's place (and is handled).
bool FollowWindowPlace(X11State& x, const XEvent& event);
// The top-left corner of the X window's content on the root window; false
// when the server cannot say (the window gone).
bool RootOrigin(X11State& x, Window w, int* rootX, int* rootY);

// The shown window's image: in shared memory where the server offers it,
// else in client memory (X11Image.cpp).
void MakeImage(X11State& x, X11State::Shown& s, int width, int height);
void FreeImage(X11State& x, X11State::Shown& s);

// Error handling (X11Errors.cpp): errors about our own vanished windows are
// ignored, others reported as Xlib does; a lost connection marks the state
// lost instead of ending the program.
void InstallErrorHandlers(X11State& x);
void RemoveErrorHandlers(X11State& x);
// Runs the requests, waits for the server, and answers the error code the
// first of them raised (0 for none), which is not reported.
int TrapErrors(X11State& x, const std::function<void()>& requests);

// Draws a text field's window: its text on white (X11Popups.cpp).
void DrawField(X11State& x, const X11State::Field& field);

// X keys as the Mac's key codes and characters; false for keys that are
// not passed on (modifier keys alone, for one).
bool TranslateKey(KeySym sym, const char* text, int length, KeyInput* out);
uint32_t TranslateModifiers(unsigned state);

}  // namespace platform
