#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/carboncore/MacTypes.h"
#include "platform/coregraphics/CGGeometry.h"
#include "platform/hitoolbox/MacWindows.h"

namespace platform {
struct EditTextState;
}

// Stand-in for the Control Manager calls of the library's Mac control
// views. Controls keep their settings, every call is recorded for tests,
// and TrackControl answers what the test scripted.

struct OpaqueControlRef {
  WindowRef window = nullptr;
  Rect bounds{0, 0, 0, 0};
  std::string title;
  bool visible = false;
  int16_t value = 0;
  int16_t minimum = 0;
  int16_t maximum = 0;
  int16_t procID = 0;
  intptr_t refCon = 0;
  int16_t resourceId = -1;  // the 'CNTL' it came from, -1 for NewControl

  // As an HIView (platform/hitoolbox/HIView.h).
  enum ViewKind { kClassicControl, kRootView, kContentView, kUserPane, kEditText };
  ViewKind kind = kClassicControl;
  ControlRef superview = nullptr;
  std::vector<ControlRef> subviews;  // owned
  CGRect frame{{0, 0}, {0, 0}};     // in the superview's coordinates
  uint32_t features = 0;
  bool needsDisplay = false;
  std::vector<CGRect> dirty;  // what was marked, in the view's coordinates; no two overlap
  double drawnScale = 0.0;    // the window's device scale when the view was last drawn
  platform::EditTextState* edit = nullptr;  // an edit field's text, owned
};
typedef OpaqueControlRef* ControlRef;
typedef ControlRef ControlHandle;
typedef int16_t ControlPartCode;
typedef void (*ControlActionUPP)(ControlRef control, ControlPartCode part);

enum { pushButProc = 0, checkBoxProc = 1, radioButProc = 2 };

ControlRef NewControl(WindowRef window, const Rect* bounds, ConstStr255Param title, bool visible, int16_t value,
                      int16_t minimum, int16_t maximum, int16_t procID, intptr_t refCon);
// Made from the 'CNTL' resource (searched down the resource chain): bounds,
// value, visibility, maximum, minimum, definition, reference value and
// title, big-endian as stored. Null when it is missing or too short.
ControlRef GetNewControl(int16_t resourceId, WindowRef window);
// Disposes of its subviews too, and takes it out of its superview.
void DisposeControl(ControlRef control);
void ShowControl(ControlRef control);
void HideControl(ControlRef control);
void Draw1Control(ControlRef control);
void MoveControl(ControlRef control, int16_t h, int16_t v);
void SizeControl(ControlRef control, int16_t width, int16_t height);
Rect* GetControlBounds(ControlRef control, Rect* bounds);
int16_t GetControlValue(ControlRef control);
void SetControlValue(ControlRef control, int16_t value);
intptr_t GetControlReference(ControlRef control);
ControlPartCode TrackControl(ControlRef control, Point startPoint, ControlActionUPP action);

namespace platform {

enum class ControlCallKind { kNew, kGetNew, kDispose, kShow, kHide, kDraw, kMove, kSize, kTrack };

struct ControlCall {
  ControlCallKind kind;
  ControlRef control;
  Point point{0, 0};  // MoveControl's (h, v), TrackControl's start point
};

const std::vector<ControlCall>& ControlCalls();
void ClearControlCalls();
// The part code the next TrackControl calls answer (0: released outside).
void SetTrackControlAnswer(ControlPartCode part);
int LiveControlCount();

}  // namespace platform
