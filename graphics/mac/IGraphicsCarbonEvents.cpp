#include "graphics/IControl.h"
#include "graphics/IMouseMod.h"
#include "graphics/mac/IGraphicsCarbon.h"
#include "graphics/mac/IGraphicsMac.h"
#include "graphics/mac/MacKeyTable.h"

// The Carbon view's event handler: the window's mouse and key events and
// the view's draw event, in editor pixels. An event answered as not
// handled goes on to the host.

namespace {

template <typename T>
T Param(EventRef event, EventParamName name, EventParamType type, T fallback = T()) {
  T value = fallback;
  if (GetEventParameter(event, name, type, nullptr, sizeof value, nullptr, &value) != noErr) return fallback;
  return value;
}

}  // namespace

OSStatus IGraphicsCarbon::CarbonEventHandler(EventHandlerCallRef callRef, EventRef event, void* view) {
  auto* self = static_cast<IGraphicsCarbon*>(view);
  const uint32_t kind = GetEventKind(event);
  switch (GetEventClass(event)) {
    case kEventClassMouse: return self->HandleMouse(callRef, event, kind);
    case kEventClassKeyboard:
      if (kind == kEventRawKeyDown) return self->HandleKey(event);
      return eventNotHandledErr;
    case kEventClassControl:
      if (kind == kEventControlDraw) return self->HandleDraw(event);
      return eventNotHandledErr;
    case kEventClassWindow: {
      WindowRef window = nullptr;
      const bool known =
          GetEventParameter(event, kEventParamDirectObject, typeWindowRef, nullptr, sizeof window, nullptr, &window) ==
          noErr;
      if (kind == kEventWindowDeactivated && known && self->mTextEntryView) self->EndUserInput(false);
      // The host still has its own work to do when its window deactivates.
      return eventNotHandledErr;
    }
    default: return eventNotHandledErr;
  }
}

OSStatus IGraphicsCarbon::HandleMouse(EventHandlerCallRef callRef, EventRef event, uint32_t kind) {
  IGraphicsMac* graphics = mGraphicsMac;

  HIPoint where = Param<HIPoint>(event, kEventParamWindowMouseLocation, typeHIPoint, HIPoint{0, 0});
  where.x -= mLeftOffset;
  where.y -= mTopOffset;
  Rect titleBar{0, 0, 0, 0};
  GetWindowBounds(mWindow, kWindowTitleBarRgn, &titleBar);
  where.y -= titleBar.bottom - titleBar.top;
  const int x = static_cast<int>(where.x);
  const int y = static_cast<int>(where.y);

  const uint32_t modifiers = Param<uint32_t>(event, kEventParamKeyModifiers, typeUInt32);
  EventMouseButton button = Param<EventMouseButton>(event, kEventParamMouseButton, typeMouseButton);
  // A one-button mouse: command with the button is the secondary button.
  if (button == kEventMouseButtonPrimary && (modifiers & (1u << cmdKeyBit))) button = kEventMouseButtonSecondary;
  IMouseMod mod(true, button == kEventMouseButtonSecondary, (modifiers & (1u << shiftKeyBit)) != 0,
                (modifiers & (1u << controlKeyBit)) != 0, (modifiers & (1u << optionKeyBit)) != 0);

  switch (kind) {
    case kEventMouseDown: {
      mTooltipTimer = 0;
      HideTooltip();
      const unsigned generation = graphics->ViewGeneration();
      if (mTextEntryView) {
        HIViewRef under = nullptr;
        HIViewGetViewForMouseEvent(mView, event, &under);
        if (under == mTextEntryView) return eventNotHandledErr;  // the field places its caret
        EndUserInput(true);
        if (graphics->ViewGeneration() != generation) return noErr;
      }
      // Command-control-click on a parameter control: the host offers its
      // automation menu, and no control sees the click.
      if (mod.L && mod.R && mod.C && graphics->FindParamIdxAtPoint(x, y) >= 0) {
        return CallNextEventHandler(callRef, event);
      }
      CallNextEventHandler(callRef, event);
      if (graphics->ViewGeneration() != generation) return noErr;
      if (Param<uint32_t>(event, kEventParamClickCount, typeUInt32, 1) >= 2) {
        graphics->OnMouseDblClick(x, y, &mod);
      } else {
        graphics->OnMouseDown(x, y, &mod);
      }
      return noErr;
    }
    case kEventMouseUp: graphics->OnMouseUp(x, y, &mod); return noErr;
    case kEventMouseMoved: {
      mPrevX = x;
      mPrevY = y;
      graphics->OnMouseOver(x, y, &mod);
      if (!graphics->mShowTooltips) return noErr;
      const int over = graphics->GetMouseOver();
      if (over == mTooltipIdx) return noErr;
      mTooltipIdx = over;
      mTooltipTimer = 0;
      HideTooltip();
      const IControl* control = graphics->GetControl(over);
      if (over >= 0 && control && control->GetTooltip() && control->GetTooltip()[0]) {
        mTooltip = control->GetTooltip();
        mTooltipTimer = graphics->FPS() * 3 / 2;  // 1.5 s of ticks
      }
      return noErr;
    }
    case kEventMouseDragged:
      if (!mTextEntryView) graphics->OnMouseDrag(x, y, &mod);
      return noErr;
    case kEventMouseWheelMoved: {
      if (Param<EventMouseWheelAxis>(event, kEventParamMouseWheelAxis, typeMouseWheelAxis) != kEventMouseWheelAxisY) {
        return eventNotHandledErr;
      }
      const int32_t delta = Param<int32_t>(event, kEventParamMouseWheelDelta, typeSInt32);
      if (mTextEntryView) EndUserInput(false);
      graphics->OnMouseWheel(x, y, &mod, delta);
      return noErr;
    }
    default: return eventNotHandledErr;
  }
}

OSStatus IGraphicsCarbon::HandleKey(EventRef event) {
  // The field takes its own keys.
  if (mTextEntryView) return eventNotHandledErr;
  const uint32_t code = Param<uint32_t>(event, kEventParamKeyCode, typeUInt32);
  const char c = Param<char>(event, kEventParamKeyMacCharCodes, typeChar);
  const int key = MacKeyToIGraphicsKey(static_cast<int>(code), static_cast<unsigned char>(c));
  if (key < 0) return eventNotHandledErr;
  return mGraphicsMac->OnKeyDown(mPrevX, mPrevY, key) ? static_cast<OSStatus>(noErr) : eventNotHandledErr;
}

OSStatus IGraphicsCarbon::HandleDraw(EventRef event) {
  // A non-compositing window draws through its port, which the editor
  // does not use.
  if (!mIsComposited) return noErr;
  CGContextRef context = Param<CGContextRef>(event, kEventParamCGContextRef, typeCGContextRef);
  if (!context) return noErr;
  // The surface's rows run downwards; Core Graphics draws images upwards.
  CGContextTranslateCTM(context, 0, mGraphicsMac->Height());
  CGContextScaleCTM(context, 1, -1);
  mContext = context;
  // Only the region the event asks for is drawn (the context is clipped to
  // it); without one, the whole view.
  IRECT area(0, 0, mGraphicsMac->Width(), mGraphicsMac->Height());
  if (RgnHandle region = Param<RgnHandle>(event, kEventParamRgnHandle, typeQDRgnHandle)) {
    Rect bounds;
    GetRegionBounds(region, &bounds);
    area = area.Intersection(IRECT(bounds.left, bounds.top, bounds.right, bounds.bottom));
    if (area.Empty()) {
      mContext = nullptr;
      return noErr;
    }
  }
  IGraphicsMac* graphics = mGraphicsMac;
  const unsigned generation = graphics->ViewGeneration();
  graphics->Draw(&area);
  // The context belongs to this draw event only.
  if (graphics->ViewGeneration() == generation) mContext = nullptr;
  return noErr;
}
