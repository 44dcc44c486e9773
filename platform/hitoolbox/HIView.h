#pragma once

#include <cstdint>

#include "platform/carboncore/MacTypes.h"
#include "platform/coregraphics/CGGeometry.h"
#include "platform/hitoolbox/CarbonEvents.h"
#include "platform/hitoolbox/Controls.h"
#include "platform/hitoolbox/MacWindows.h"
#include "platform/quickdraw/QuickDraw.h"

// Stand-in for the HIView calls of a window's view tree. Views are
// controls (Controls.h) with a superview, subviews and a frame in the
// superview's coordinates (y downwards from its top left). A superview owns
// its subviews: removing a view from its superview disposes of it, and
// disposing of a window disposes of its tree.
//
// Drawing: a view marked as needing display in a visible compositing window
// gets a draw event ('cntl'/4) with a Core Graphics context ('cntx') whose
// coordinates are the view's, y downwards, in the window's device pixels,
// and the region to draw ('rgnh', view coordinates, whole pixels). What
// was marked since the last draw is kept as rectangles, those that overlap
// joined into one (and all of them into one past eight); each gets a draw
// event of its own, its context clipped to it, so the rest of the view
// keeps the pixels it showed. A view whose size changes, every view of a
// window whose content is resized, and a view whose window's device scale
// changed since it was last drawn, is drawn whole.
// That happens on every pass of the run loop after its timers, or when a
// host calls platform::UpdateWindows.
typedef ControlRef HIViewRef;
typedef uint32_t HICoordinateSpace;

struct HIViewID {
  OSType signature;
  int32_t id;
};
extern const HIViewID kHIViewWindowContentID;

enum : HICoordinateSpace { kHICoordSpaceScreenPixel = 2, kHICoordSpaceView = 4 };
enum : OSStatus { errUnknownControl = -30584, errNoRootControl = -30590, errControlNotFound = -30599 };

// A user pane in no superview yet, visible, with the bounds as its frame
// (window content coordinates until it is embedded).
OSStatus CreateUserPaneControl(WindowRef window, const Rect* bounds, uint32_t features, ControlRef* outControl);
OSStatus CreateRootControl(WindowRef window, ControlRef* outControl);
OSStatus GetRootControl(WindowRef window, ControlRef* outControl);
OSStatus EmbedControl(ControlRef control, ControlRef container);
ControlRef GetControlOwner(ControlRef control);  // the window's view, or null

HIViewRef HIViewGetRoot(WindowRef window);
OSStatus HIViewFindByID(HIViewRef start, HIViewID id, HIViewRef* outView);
OSStatus HIViewAddSubview(HIViewRef parent, HIViewRef child);
OSStatus HIViewRemoveFromSuperview(HIViewRef view);
HIViewRef HIViewGetSuperview(HIViewRef view);
WindowRef HIViewGetWindow(HIViewRef view);
OSStatus HIViewSetFrame(HIViewRef view, const HIRect* frame);
OSStatus HIViewGetFrame(HIViewRef view, HIRect* frame);
OSStatus HIViewSetNeedsDisplay(HIViewRef view, Boolean needs);
// rect in the view's coordinates.
OSStatus HIViewSetNeedsDisplayInRect(HIViewRef view, const HIRect* rect, Boolean needs);
Boolean HIViewGetNeedsDisplay(HIViewRef view);
OSStatus HIViewSetVisible(HIViewRef view, Boolean visible);
Boolean HIViewIsVisible(HIViewRef view);
// Gives the keyboard focus to the first edit field in the view's tree.
OSStatus HIViewAdvanceFocus(HIViewRef root, uint32_t modifiers);
// The deepest visible view under the event's window mouse location.
OSStatus HIViewGetViewForMouseEvent(HIViewRef start, EventRef event, HIViewRef* outView);
// From the view's coordinates to screen pixels (the other spaces are not
// offered).
OSStatus HIRectConvert(HIRect* rect, HICoordinateSpace sourceSpace, void* sourceObject, HICoordinateSpace destSpace,
                       void* destObject);
// Draw events to every visible view of a non-compositing window (without a
// context: such windows draw through their port).
OSStatus UpdateControls(WindowRef window, RgnHandle region);

namespace platform {

// Draws what needs display in every visible compositing window.
void UpdateWindows();
// The view's frame in its window's content coordinates.
HIRect ViewFrameInContent(HIViewRef view);
// Whether the view still exists (not yet disposed of).
bool IsLiveView(ControlRef control);
// Draw events sent since the process started (tests count redraws).
int DrawEventCount();

}  // namespace platform
