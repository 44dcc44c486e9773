#pragma once

#include "platform/coregraphics/CGContext.h"
#include "platform/hitoolbox/CarbonEvents.h"
#include "platform/hitoolbox/HIView.h"
#include "platform/hitoolbox/Menus.h"

class IControl;
class IGraphicsMac;
class IParam;
class IPopupMenu;
struct IRECT;
struct IText;

// The editor's view inside the host's Carbon window: one user-pane HIView
// that receives the window's mouse, keyboard, window and draw events and
// forwards them to the editor in editor pixels; the redraw timer on the
// main event loop; tooltips as help tags; popup menus as Carbon menus; and
// a one-line edit field over a control for typed values.
//
// A click with command and control held over a parameter control is left
// to the host (it offers the parameter's automation), and so is every key
// the editor does not take.
class IGraphicsCarbon {
 public:
  IGraphicsCarbon(IGraphicsMac* graphicsMac, WindowRef window, ControlRef parentControl, short leftOffset,
                  short topOffset);
  // Takes down an open entry without its text, the tag, the timer and the
  // handlers. The pane stays in the host's window, which owns it.
  ~IGraphicsCarbon();
  IGraphicsCarbon(const IGraphicsCarbon&) = delete;
  IGraphicsCarbon& operator=(const IGraphicsCarbon&) = delete;

  ControlRef GetView() const { return mView; }
  CGContextRef GetCGContext() const { return mContext; }
  bool GetIsComposited() const { return mIsComposited; }

  // Only with a window and a view.
  bool Resize(int width, int height);
  IPopupMenu* CreateIPopupMenu(IPopupMenu* menu, IRECT* area);
  void CreateTextEntry(IControl* control, IText* text, IRECT* textRect, const char* initialText, IParam* param);
  // Closes the entry, taking its text only with commit; the redraw and the
  // cursor are reset even when none is open.
  void EndUserInput(bool commit);

  static OSStatus CarbonEventHandler(EventHandlerCallRef callRef, EventRef event, void* view);
  static void CarbonTimerHandler(EventLoopTimerRef timer, void* view);
  static OSStatus TextEntryHandler(EventHandlerCallRef callRef, EventRef event, void* view);

 private:
  OSStatus HandleMouse(EventHandlerCallRef callRef, EventRef event, uint32_t kind);
  OSStatus HandleKey(EventRef event);
  OSStatus HandleDraw(EventRef event);
  void OnTimerTick();
  void ShowTooltip();
  void HideTooltip();
  // The Carbon menu for the IPopupMenu, or null for an empty one (or one
  // nested deeper than any real menu, which only a menu holding itself is).
  MenuRef CreateMenu(IPopupMenu* menu, int depth = 0);
  // Whether the typed character may go into the field.
  bool AcceptsCharacter(char c) const;
  // Removes the field from the view without touching the editor.
  void RemoveTextEntry();

  IGraphicsMac* mGraphicsMac;
  bool mIsComposited = false;
  WindowRef mWindow;
  ControlRef mView = nullptr;
  EventLoopTimerRef mTimer = nullptr;
  EventHandlerRef mControlHandler = nullptr;
  EventHandlerRef mWindowHandler = nullptr;
  EventHandlerRef mTextEntryHandler = nullptr;
  CGContextRef mContext = nullptr;
  ControlRef mTextEntryView = nullptr;
  IControl* mEdControl = nullptr;
  IParam* mEdParam = nullptr;
  int mPrevX = 0;
  int mPrevY = 0;
  short mLeftOffset;
  short mTopOffset;
  bool mShowingTooltip = false;
  int mTooltipIdx = -1;
  int mTooltipTimer = 0;
  const char* mTooltip = nullptr;
};
