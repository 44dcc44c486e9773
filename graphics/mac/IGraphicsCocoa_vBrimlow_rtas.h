#pragma once

#include <string>

#include "graphics/IMouseMod.h"
#include "graphics/IRECT.h"
#include "platform/cocoa/NSTextField.h"
#include "platform/cocoa/NSView.h"

class IControl;
class IGraphicsMac;
class IParam;
class IPopupMenu;
class NSTimer;
struct IText;

// The Cocoa view of the editor (an NSView), used when a caller opens the
// editor with IGraphicsMac::OpenWindow; the host's road uses the Carbon
// view instead. It drives the redraw timer, converts Cocoa events into
// editor pixels (origin at the top left) and modifiers, hands unused keys
// and command-control clicks on parameter controls back to the host, and
// shows popup menus, the text entry and tooltips. The methods keep the
// Cocoa selectors' names.
//
// Every event method does nothing once mGraphics is null, which is how the
// view knows it is being taken down.
class IGraphicsCocoa_vBrimlow_rtas : public NSView, public NSTextFieldDelegate {
 public:
  IGraphicsCocoa_vBrimlow_rtas() = default;
  ~IGraphicsCocoa_vBrimlow_rtas() override;

  // Clears the fields without NSView's initialiser; the window object never
  // uses it.
  IGraphicsCocoa_vBrimlow_rtas* init();
  IGraphicsCocoa_vBrimlow_rtas* initWithIGraphics(IGraphicsMac* graphics);

  bool isOpaque() override { return mGraphics != nullptr; }
  bool acceptsFirstResponder() override { return true; }
  bool acceptsFirstMouse(NSEvent*) override { return true; }
  void viewDidMoveToWindow() override;
  void drawRect(NSRect rect) override;
  void onTimer(NSTimer* timer);
  // The event-to-editor rule; also kept as the position keys are sent at.
  void getMouseXY(NSEvent* event, int* x, int* y);

  void mouseDown(NSEvent* event) override;
  void mouseUp(NSEvent* event) override;
  void rightMouseDown(NSEvent* event) override;
  void rightMouseUp(NSEvent* event) override;
  void mouseDragged(NSEvent* event) override;
  void rightMouseDragged(NSEvent* event) override;
  void mouseMoved(NSEvent* event) override;
  void keyDown(NSEvent* event) override;
  void scrollWheel(NSEvent* event) override;

  void killTimer();
  void removeFromSuperview() override;
  void controlTextDidEndEditing(NSObject* notification) override;

  // The menu (or submenu) holding the chosen item, its chosen index set, or
  // null. The rectangle is in the view's coordinates.
  IPopupMenu* createIPopupMenu(IPopupMenu* menu, NSRect rect);
  void createTextEntry(IControl* control, IParam* param, IText* text, const char* initialText, NSRect rect);
  // Closes the entry without taking its text.
  void endUserInput();
  void UpdateFPS(int fps);
  void SetWindowTransparency(int alpha);
  std::string stringForToolTip(NSView* view, int tag, NSPoint point, void* userData) override;
  void registerToolTip(const IRECT* rect);
  int draggingEntered(NSDraggingInfo* info) override;
  bool performDragOperation(NSDraggingInfo* info) override;

  // The instance variables, read and cleared by the window object.
  NSTimer* mTimer = nullptr;
  NSTextField* mTextFieldView = nullptr;
  IControl* mEdControl = nullptr;
  IParam* mEdParam = nullptr;
  int mPrevX = 0;
  int mPrevY = 0;
  IGraphicsMac* mGraphics = nullptr;

 private:
  IMouseMod LeftButtonMod(NSEvent* event) const;
  IMouseMod RightButtonMod(NSEvent* event) const;
  void StartTimer(double seconds);
};
