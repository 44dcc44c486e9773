#pragma once

#include <cstdint>
#include <vector>

#include "platform/carboncore/MacTypes.h"

// Stand-in for the host's windows as the views and the editor's Carbon view
// see them: a window owns one QuickDraw port and accumulates an invalid
// region; it has attributes, content bounds on the screen and a title bar
// above them, a tree of HIViews (platform/hitoolbox/HIView.h), a keyboard
// focus, and a window of the window server that shows what is drawn in it.
// The host program or a test makes the window.

struct OpaqueWindowPtr;
typedef OpaqueWindowPtr* WindowRef;
typedef WindowRef WindowPtr;
struct OpaqueGrafPtr;
typedef OpaqueGrafPtr* CGrafPtr;
struct OpaqueControlRef;
typedef OpaqueControlRef* ControlRef;

typedef uint32_t WindowClass;
typedef uint64_t WindowAttributes;
typedef uint16_t WindowRegionCode;
typedef int16_t ControlFocusPart;

enum : WindowClass { kDocumentWindowClass = 6, kPlainWindowClass = 13 };
enum : WindowAttributes {
  kWindowNoAttributes = 0,
  kWindowCloseBoxAttribute = 1u << 0,
  kWindowCompositingAttribute = 1u << 19,
  kWindowStandardHandlerAttribute = 1u << 25,
};
enum : WindowRegionCode { kWindowTitleBarRgn = 0, kWindowStructureRgn = 32, kWindowContentRgn = 33 };
enum : ControlFocusPart { kControlFocusNoPart = 0, kControlEditTextPart = 5 };
enum : OSStatus { errInvalidWindowRef = -5600, errWindowRegionCodeInvalid = -5601 };

// The user focus follows the front window.
#define kUserFocusAuto (reinterpret_cast<WindowRef>(static_cast<intptr_t>(-1)))

CGrafPtr GetWindowPort(WindowRef window);
// Null for a port that belongs to no window.
WindowRef GetWindowFromPort(CGrafPtr port);
// r is in the window port's local coordinates.
void InvalWindowRect(WindowRef window, const Rect* r);
void ValidWindowRect(WindowRef window, const Rect* r);

// A window of the class with its content at contentBounds (global); a
// compositing window has a root view with a content view in it. Hidden
// until ShowWindow.
OSStatus CreateNewWindow(WindowClass windowClass, WindowAttributes attributes, const Rect* contentBounds,
                         WindowRef* outWindow);
// Disposes of the window's views too.
void DisposeWindow(WindowRef window);
void ShowWindow(WindowRef window);
void HideWindow(WindowRef window);
bool IsWindowVisible(WindowRef window);
OSStatus GetWindowAttributes(WindowRef window, WindowAttributes* attributes);
// Content (33), structure (32: the content with the title bar above) and
// title bar (0), in global coordinates.
OSStatus GetWindowBounds(WindowRef window, WindowRegionCode region, Rect* bounds);
// Only the content region can be set; the other regions follow it.
OSStatus SetWindowBounds(WindowRef window, WindowRegionCode region, const Rect* bounds);
OSStatus SetKeyboardFocus(WindowRef window, ControlRef control, ControlFocusPart part);
OSStatus GetKeyboardFocus(WindowRef window, ControlRef* control);
// kUserFocusAuto, or a window.
OSStatus SetUserFocusWindow(WindowRef window);
WindowRef GetUserFocusWindow();

namespace platform {

class ScreenWindow;

// A window whose content (its port) is `width` by `height` pixels with its
// top-left at `globalTopLeft`; no attributes and no title bar.
WindowRef NewStandInWindow(int16_t width, int16_t height, Point globalTopLeft = Point{0, 0});
void DisposeStandInWindow(WindowRef window);
// The invalid region in the port's pixel coordinates (local coordinates
// with the origin at (0, 0)).
std::vector<Rect> InvalidRects(WindowRef window);
long InvalidArea(WindowRef window);
void ValidateWindow(WindowRef window);

// The height of the title bar above the content (0 unless set).
void SetWindowTitleBarHeight(WindowRef window, int16_t height);
// The window server's window that shows this window's content; its device
// scale is the window's.
ScreenWindow* ScreenWindowOf(WindowRef window);
// The live window shown by that window server window, or null.
WindowRef WindowOfScreenWindow(const ScreenWindow* screen);
int LiveWindowCount();

}  // namespace platform
