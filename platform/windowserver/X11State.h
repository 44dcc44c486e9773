#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
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

  struct Shown {
    ScreenWindow* window = nullptr;
    Window xwindow = 0;
    XImage* image = nullptr;
    std::vector<uint32_t> pixels;  // the visual's words, what XPutImage sends
    bool closeRequested = false;
    // Click counting.
    unsigned lastButton = 0;
    Time lastPress = 0;
    int lastX = 0, lastY = 0, clicks = 0;
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

  uint32_t Pack(uint8_t r, uint8_t g, uint8_t b) const {
    return static_cast<uint32_t>(r) << redShift | static_cast<uint32_t>(g) << greenShift |
           static_cast<uint32_t>(b) << blueShift;
  }
  Shown* Find(const ScreenWindow* window);
  Shown* FindX(Window xwindow);
  // Converts the window's pixels in the area and puts them on the screen.
  void Put(Shown& s, int left, int top, int right, int bottom);
  void DrawText(Window w, int x, int y, const std::string& text);
};

// Hands an X event to the window it is for (X11Backend.cpp).
void Deliver(X11State& x, XEvent& event);

// Draws a text field's window: its text on white (X11Popups.cpp).
void DrawField(X11State& x, const X11State::Field& field);

// X keys as the Mac's key codes and characters; false for keys that are
// not passed on (modifier keys alone, for one).
bool TranslateKey(KeySym sym, const char* text, int length, KeyInput* out);
uint32_t TranslateModifiers(unsigned state);

}  // namespace platform
