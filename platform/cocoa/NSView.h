#pragma once

#include <string>
#include <vector>

#include "platform/cocoa/AppKitTypes.h"
#include "platform/foundation/NSObject.h"

class NSEvent;
class NSView;
class NSWindow;

// Stand-in for NSResponder: the event methods and the responder chain.
class NSResponder : public NSObject {
 public:
  virtual bool acceptsFirstResponder() { return false; }
  // Each passes the event on to the next responder, as AppKit's do.
  virtual void mouseDown(NSEvent* event);
  virtual void mouseUp(NSEvent* event);
  virtual void rightMouseDown(NSEvent* event);
  virtual void rightMouseUp(NSEvent* event);
  virtual void mouseDragged(NSEvent* event);
  virtual void rightMouseDragged(NSEvent* event);
  virtual void mouseMoved(NSEvent* event);
  virtual void keyDown(NSEvent* event);
  virtual void scrollWheel(NSEvent* event);
  virtual NSResponder* nextResponder() { return nullptr; }
  // Sends the action (a selector name such as "OnMenuSelection:") to the
  // first responder along the chain that performs it; false when none does.
  bool tryToPerform(const std::string& action, NSObject* sender);

 protected:
  // A subclass performs the actions it knows and answers true.
  virtual bool PerformAction(const std::string&, NSObject*) { return false; }
};

// What a pasteboard drag offers a view.
class NSDraggingInfo {
 public:
  std::vector<std::string> types;      // NSFilenamesPboardType for files
  std::vector<std::string> fileNames;  // the property list of NSFilenamesPboardType
  NSPoint location{0, 0};              // window base coordinates
  NSPoint draggingLocation() const { return location; }
};

// Stand-in for NSView: a frame in the superview's coordinates (not
// flipped: y grows upwards), subviews retained by their superview, the
// area waiting for drawRect:, tooltip rectangles and drag types.
class NSView : public NSResponder {
 public:
  NSView() = default;
  ~NSView() override;
  // initWithFrame:, on an object already made.
  NSView* initWithFrame(NSRect frame);

  NSRect frame() const { return mFrame; }
  NSRect bounds() const { return NSMakeRect(0, 0, mFrame.size.width, mFrame.size.height); }
  void setFrame(NSRect frame) { mFrame = frame; }
  void setFrameSize(NSSize size) { mFrame.size = size; }
  NSWindow* window() const { return mWindow; }
  NSView* superview() const { return mSuperview; }
  const std::vector<NSView*>& subviews() const { return mSubviews; }

  void addSubview(NSView* view);
  // Releases the superview's reference, which may be the last.
  virtual void removeFromSuperview();
  virtual void viewDidMoveToWindow() {}

  void setNeedsDisplay(bool needs);
  void setNeedsDisplayInRect(NSRect rect);
  bool needsDisplay() const { return mNeedsDisplay; }
  NSRect dirtyRect() const { return mDirty; }
  virtual void drawRect(NSRect) {}
  virtual bool isOpaque() { return false; }
  virtual bool isFlipped() { return false; }
  virtual bool acceptsFirstMouse(NSEvent*) { return false; }

  // From a view's coordinates (null: the window's base coordinates) to this
  // view's, and from this view's to the window's base coordinates.
  NSPoint convertPoint(NSPoint point, NSView* fromView) const;
  NSPoint convertPointToBase(NSPoint point) const;

  // Tooltips: rectangles in this view's coordinates; the owner (a view here)
  // is asked for the text when one is shown.
  int addToolTipRect(NSRect rect, NSView* owner, void* userData);
  void removeAllToolTips();
  const std::vector<NSRect>& toolTipRects() const { return mToolTipRects; }
  virtual std::string stringForToolTip(NSView* view, int tag, NSPoint point, void* userData);

  void registerForDraggedTypes(const std::vector<std::string>& types) { mDragTypes = types; }
  const std::vector<std::string>& registeredDraggedTypes() const { return mDragTypes; }
  virtual int draggingEntered(NSDraggingInfo*) { return NSDragOperationNone; }
  virtual bool performDragOperation(NSDraggingInfo*) { return false; }

  NSResponder* nextResponder() override;
  // The deepest subview (or this view) under a point in the superview's
  // coordinates, or null.
  NSView* hitTest(NSPoint point);
  // For the window: a new window for this view and its subviews.
  void SetWindow(NSWindow* window);
  void ClearNeedsDisplay();

 private:
  NSRect mFrame{{0, 0}, {0, 0}};
  NSWindow* mWindow = nullptr;
  NSView* mSuperview = nullptr;
  std::vector<NSView*> mSubviews;
  bool mNeedsDisplay = false;
  NSRect mDirty{{0, 0}, {0, 0}};
  std::vector<NSRect> mToolTipRects;
  std::vector<std::string> mDragTypes;
};
