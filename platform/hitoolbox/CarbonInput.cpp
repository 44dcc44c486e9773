#include "platform/hitoolbox/CarbonEvents.h"
#include "platform/hitoolbox/HIView.h"
#include "platform/hitoolbox/WindowRecord.h"
#include "platform/quickdraw/GrafPort.h"

// Device input on a Carbon window, as the Carbon events the Mac would send:
// mouse events carry the location in the window's structure (the title bar
// above the content included), keys go to the keyboard focus and up.

namespace platform {

namespace {

uint32_t CarbonModifiers(uint32_t modifiers) {
  uint32_t bits = 0;
  if (modifiers & kInputCommand) bits |= 1u << cmdKeyBit;
  if (modifiers & kInputShift) bits |= 1u << shiftKeyBit;
  if (modifiers & kInputOption) bits |= 1u << optionKeyBit;
  if (modifiers & kInputControl) bits |= 1u << controlKeyBit;
  return bits;
}

uint32_t MouseKind(PointerInput::Kind kind) {
  switch (kind) {
    case PointerInput::kDown: return kEventMouseDown;
    case PointerInput::kUp: return kEventMouseUp;
    case PointerInput::kDragged: return kEventMouseDragged;
    case PointerInput::kWheel: return kEventMouseWheelMoved;
    default: return kEventMouseMoved;
  }
}

// A click in an edit field puts the keyboard focus there.
OSStatus WindowStandardHandler(WindowRef window, EventRef event) {
  if (GetEventClass(event) != kEventClassMouse || GetEventKind(event) != kEventMouseDown) return eventNotHandledErr;
  HIViewRef hit = nullptr;
  HIViewRef start = window->root;
  if (!start || HIViewGetViewForMouseEvent(start, event, &hit) != noErr || !hit) return eventNotHandledErr;
  if (hit->kind != OpaqueControlRef::kEditText) return eventNotHandledErr;
  SetKeyboardFocus(window, hit, kControlEditTextPart);
  return noErr;
}

}  // namespace

void InstallWindowStandardHandler(WindowRef window) {
  SetStandardEventHandler(GetWindowEventTarget(window),
                          [window](EventRef event) { return WindowStandardHandler(window, event); });
}

void CarbonWindowSink::Pointer(const PointerInput& input) {
  EventRef event = MakeEvent(kEventClassMouse, MouseKind(input.kind));
  const HIPoint inWindow{input.x, input.y + mWindow->titleBarHeight};
  const HIPoint global{mWindow->contentBounds.left + input.x, mWindow->contentBounds.top + input.y};
  SetParam(event, kEventParamWindowMouseLocation, typeHIPoint, inWindow);
  SetParam(event, kEventParamMouseLocation, typeHIPoint, global);
  SetParam(event, kEventParamKeyModifiers, typeUInt32, CarbonModifiers(input.modifiers));
  SetParam(event, kEventParamMouseButton, typeMouseButton, static_cast<EventMouseButton>(input.button));
  SetParam(event, kEventParamClickCount, typeUInt32, static_cast<uint32_t>(input.clickCount));
  if (input.kind == PointerInput::kWheel) {
    SetParam(event, kEventParamMouseWheelAxis, typeMouseWheelAxis, static_cast<EventMouseWheelAxis>(input.wheelAxis));
    SetParam(event, kEventParamMouseWheelDelta, typeSInt32, static_cast<int32_t>(input.wheelDelta));
  }
  SendEventToEventTarget(event, GetWindowEventTarget(mWindow));
  ReleaseEvent(event);
}

void CarbonWindowSink::Key(const KeyInput& input) {
  EventRef event = MakeEvent(kEventClassKeyboard, input.repeat ? kEventRawKeyRepeat : kEventRawKeyDown);
  SetParam(event, kEventParamKeyCode, typeUInt32, static_cast<uint32_t>(input.keyCode));
  SetParam(event, kEventParamKeyMacCharCodes, typeChar, input.character);
  SetParam(event, kEventParamKeyModifiers, typeUInt32, CarbonModifiers(input.modifiers));
  EventTargetRef target = mWindow->keyboardFocus ? GetControlEventTarget(mWindow->keyboardFocus)
                                                 : GetWindowEventTarget(mWindow);
  SendEventToEventTarget(event, target);
  ReleaseEvent(event);
}

void CarbonWindowSink::Deactivated() {
  EventRef event = MakeEvent(kEventClassWindow, kEventWindowDeactivated);
  SetParam(event, kEventParamDirectObject, typeWindowRef, mWindow);
  SendEventToEventTarget(event, GetWindowEventTarget(mWindow));
  ReleaseEvent(event);
}

void CarbonWindowSink::Moved(const ScreenRect& frame) {
  // Global coordinates (menus, help tags, the mouse's location) are
  // worked out from the content's bounds, so they go where the window is.
  Rect& c = mWindow->contentBounds;
  OffsetRect(&c, static_cast<int16_t>(static_cast<int>(frame.x) - c.left),
             static_cast<int16_t>(static_cast<int>(frame.y) - c.top));
  if (mWindow->port) mWindow->port->globalTopLeft = Point{c.top, c.left};
}

}  // namespace platform
