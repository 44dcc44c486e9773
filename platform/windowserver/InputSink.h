#pragma once

#include <cstdint>

#include "platform/windowserver/ScreenGeometry.h"

// Device input as the window server delivers it to a window, before any
// toolkit turns it into its own event records. The Carbon and Cocoa
// stand-ins each give their windows a sink; a backend (or a test that
// stands for the user) feeds it.
namespace platform {

// Modifier keys held, whatever the toolkit's own bit layout.
enum InputModifiers : uint32_t {
  kInputShift = 1,
  kInputControl = 2,
  kInputOption = 4,
  kInputCommand = 8,
};

struct PointerInput {
  enum Kind { kDown, kUp, kMoved, kDragged, kWheel };
  Kind kind = kMoved;
  // Points from the top left of the window's content.
  double x = 0.0, y = 0.0;
  int button = 1;  // 1 primary, 2 secondary
  uint32_t modifiers = 0;
  int clickCount = 1;
  int wheelAxis = 1;   // 1 vertical, 0 horizontal
  int wheelDelta = 0;  // steps, positive away from the user
};

struct KeyInput {
  int keyCode = 0;       // the Mac's virtual key code
  char character = 0;    // 0 for a key that types nothing
  uint32_t modifiers = 0;
  bool repeat = false;
};

// Mac virtual key codes of the keys the window server translates by name.
enum MacKeyCode {
  kKeyReturn = 36,
  kKeyTab = 48,
  kKeySpace = 49,
  kKeyBackspace = 51,
  kKeyEscape = 53,
  kKeyF1 = 122,
  kKeyForwardDelete = 117,
  kKeyLeftArrow = 123,
  kKeyRightArrow = 124,
  kKeyDownArrow = 125,
  kKeyUpArrow = 126,
};

class InputSink {
 public:
  virtual ~InputSink() = default;
  virtual void Pointer(const PointerInput& input) = 0;
  virtual void Key(const KeyInput& input) = 0;
  // The window stopped being the active one.
  virtual void Deactivated() = 0;
  // The window server moved the window; its content is now at the frame.
  virtual void Moved(const ScreenRect& /*frame*/) {}
};

// The key code of a printable character on a US keyboard (letters, digits,
// space), or -1.
int MacKeyCodeForCharacter(char c);

}  // namespace platform
