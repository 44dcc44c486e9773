#include "graphics/mac/IGraphicsCocoa_vBrimlow_rtas.h"

#include "framework/IParam.h"
#include "framework/IPopupMenu.h"
#include "graphics/IControl.h"
#include "graphics/mac/CocoaCoordinates.h"
#include "graphics/mac/CocoaFormatter_vBrimlow_rtas.h"
#include "graphics/mac/IGraphicsMac.h"
#include "graphics/mac/IGraphicsMenuRcvr_vBrimlow_rtas.h"
#include "graphics/mac/IGraphicsNSMenu_vBrimlow_rtas.h"
#include "graphics/mac/MacKeyTable.h"
#include "platform/cocoa/NSApplication.h"
#include "platform/cocoa/NSEvent.h"
#include "platform/cocoa/NSGraphicsContext.h"
#include "platform/cocoa/NSWindow.h"
#include "platform/foundation/NSTimer.h"
#include "platform/hitoolbox/CarbonEvents.h"

IGraphicsCocoa_vBrimlow_rtas::~IGraphicsCocoa_vBrimlow_rtas() {
  // The timer calls back into this object.
  killTimer();
}

IGraphicsCocoa_vBrimlow_rtas* IGraphicsCocoa_vBrimlow_rtas::init() {
  mGraphics = nullptr;
  mTimer = nullptr;
  mPrevX = mPrevY = 0;
  return this;
}

void IGraphicsCocoa_vBrimlow_rtas::StartTimer(double seconds) {
  mTimer = NSTimer::timerWithTimeInterval(seconds, [this](NSTimer* timer) { onTimer(timer); }, true);
  NSRunLoop::currentRunLoop()->addTimer(mTimer, NSRunLoopCommonModes);
}

IGraphicsCocoa_vBrimlow_rtas* IGraphicsCocoa_vBrimlow_rtas::initWithIGraphics(IGraphicsMac* graphics) {
  mGraphics = graphics;
  if (!graphics) return this;
  initWithFrame(NSMakeRect(0, 0, graphics->Width(), graphics->Height()));
  StartTimer(1.0 / graphics->FPS());
  if (graphics->GetAcceptDrops()) registerForDraggedTypes({NSFilenamesPboardType});
  return this;
}

void IGraphicsCocoa_vBrimlow_rtas::viewDidMoveToWindow() {
  if (NSWindow* w = window()) {
    w->makeFirstResponder(this);
    w->setAcceptsMouseMovedEvents(true);
  }
}

void IGraphicsCocoa_vBrimlow_rtas::drawRect(NSRect rect) {
  if (!mGraphics) return;
  IRECT area = ToIRECT(rect, mGraphics->Height());
  mGraphics->Draw(&area);
}

void IGraphicsCocoa_vBrimlow_rtas::onTimer(NSTimer* timer) {
  // The GUI hook may close the editor and with it this view.
  retain();
  if (timer == mTimer && mGraphics) mGraphics->OnGUIIdle();
  if (timer == mTimer && mGraphics) {
    IRECT dirty;
    if (mGraphics->IsDirty(&dirty)) setNeedsDisplayInRect(ToViewRect(dirty, mGraphics->Height()));
  }
  release();
}

void IGraphicsCocoa_vBrimlow_rtas::getMouseXY(NSEvent* event, int* x, int* y) {
  if (!mGraphics) return;
  const NSPoint p = convertPoint(event->locationInWindow(), nullptr);
  ViewPointToEditor(p, mGraphics->Height(), x, y);
  mPrevX = *x;
  mPrevY = *y;
}

IMouseMod IGraphicsCocoa_vBrimlow_rtas::LeftButtonMod(NSEvent* event) const {
  const NSUInteger flags = event->modifierFlags();
  return IMouseMod(true, (flags & NSCommandKeyMask) != 0, (flags & NSShiftKeyMask) != 0,
                   (flags & NSControlKeyMask) != 0, (flags & NSAlternateKeyMask) != 0);
}

IMouseMod IGraphicsCocoa_vBrimlow_rtas::RightButtonMod(NSEvent* event) const {
  const NSUInteger flags = event->modifierFlags();
  return IMouseMod(false, true, (flags & NSShiftKeyMask) != 0, (flags & NSControlKeyMask) != 0,
                   (flags & NSAlternateKeyMask) != 0);
}

void IGraphicsCocoa_vBrimlow_rtas::mouseDown(NSEvent* event) {
  if (!mGraphics) return;
  int x = 0, y = 0;
  getMouseXY(event, &x, &y);
  IMouseMod mod = LeftButtonMod(event);
  const NSUInteger flags = event->modifierFlags();
  if ((flags & NSControlKeyMask) && (flags & NSCommandKeyMask) && mGraphics->FindParamIdxAtPoint(x, y) >= 0) {
    // The host takes this click (it offers the parameter's automation);
    // no control sees it.
    NSWindow* host = window() ? window()->parentWindow() : nullptr;
    if (event->eventRef() && host && host->windowRef()) {
      SendEventToEventTarget(static_cast<EventRef>(event->eventRef()), GetWindowEventTarget(host->windowRef()));
    }
    return;
  }
  if (event->clickCount() >= 2) mGraphics->OnMouseDblClick(x, y, &mod);
  else mGraphics->OnMouseDown(x, y, &mod);
}

void IGraphicsCocoa_vBrimlow_rtas::mouseUp(NSEvent* event) {
  if (!mGraphics) return;
  int x = 0, y = 0;
  getMouseXY(event, &x, &y);
  IMouseMod mod = LeftButtonMod(event);
  mGraphics->OnMouseUp(x, y, &mod);
}

void IGraphicsCocoa_vBrimlow_rtas::rightMouseDown(NSEvent* event) {
  if (!mGraphics) return;
  int x = 0, y = 0;
  getMouseXY(event, &x, &y);
  IMouseMod mod = RightButtonMod(event);
  mGraphics->OnMouseDown(x, y, &mod);
}

void IGraphicsCocoa_vBrimlow_rtas::rightMouseUp(NSEvent* event) {
  if (!mGraphics) return;
  int x = 0, y = 0;
  getMouseXY(event, &x, &y);
  IMouseMod mod = RightButtonMod(event);
  mGraphics->OnMouseUp(x, y, &mod);
}

void IGraphicsCocoa_vBrimlow_rtas::mouseDragged(NSEvent* event) {
  if (!mGraphics || mTextFieldView) return;
  int x = 0, y = 0;
  getMouseXY(event, &x, &y);
  IMouseMod mod = LeftButtonMod(event);
  mGraphics->OnMouseDrag(x, y, &mod);
}

void IGraphicsCocoa_vBrimlow_rtas::rightMouseDragged(NSEvent* event) {
  if (!mGraphics || mTextFieldView) return;
  int x = 0, y = 0;
  getMouseXY(event, &x, &y);
  IMouseMod mod = RightButtonMod(event);
  mGraphics->OnMouseDrag(x, y, &mod);
}

void IGraphicsCocoa_vBrimlow_rtas::mouseMoved(NSEvent* event) {
  if (!mGraphics) return;
  int x = 0, y = 0;
  getMouseXY(event, &x, &y);
  IMouseMod mod = LeftButtonMod(event);
  mGraphics->OnMouseOver(x, y, &mod);
}

void IGraphicsCocoa_vBrimlow_rtas::keyDown(NSEvent* event) {
  if (!mGraphics) return;
  const std::string& typed = event->charactersIgnoringModifiers();
  // A composed character sequence is not one key.
  if (typed.size() != 1) return;
  const int key = MacKeyToIGraphicsKey(event->keyCode(), static_cast<unsigned char>(typed[0]));
  if (key >= 0 && mGraphics->OnKeyDown(mPrevX, mPrevY, key)) return;
  // Nothing took the key: it goes back to the host's window.
  NSApplication* app = NSApplication::sharedApplication();
  if (NSWindow* main = app->mainWindow()) main->makeKeyWindow();
  if (NSEvent* current = app->currentEvent()) app->postEvent(current, true);
}

void IGraphicsCocoa_vBrimlow_rtas::scrollWheel(NSEvent* event) {
  if (!mGraphics) return;
  endUserInput();
  int x = 0, y = 0;
  getMouseXY(event, &x, &y);
  // Trackpads send fractions; a vertical step wins over a horizontal one.
  int d = static_cast<int>(event->deltaY());
  if (d == 0) d = static_cast<int>(event->deltaX());
  IMouseMod mod = LeftButtonMod(event);
  if (d != 0) mGraphics->OnMouseWheel(x, y, &mod, d);
}

void IGraphicsCocoa_vBrimlow_rtas::killTimer() {
  if (mTimer) mTimer->invalidate();
  mTimer = nullptr;
}

void IGraphicsCocoa_vBrimlow_rtas::removeFromSuperview() {
  // The window object's reference may be the last one.
  retain();
  if (mTextFieldView) endUserInput();
  if (IGraphicsMac* graphics = mGraphics) {
    mGraphics = nullptr;
    graphics->CloseWindow();
  }
  NSView::removeFromSuperview();
  release();
}

void IGraphicsCocoa_vBrimlow_rtas::controlTextDidEndEditing(NSObject*) {
  if (!mGraphics || !mTextFieldView || !mEdControl) return;
  retain();
  const std::string text = mTextFieldView->stringValue();
  if (mEdParam) mGraphics->SetFromStringAfterPrompt(mEdControl, mEdParam, text.c_str());
  else mEdControl->TextFromTextEntry(text.c_str());
  endUserInput();
  setNeedsDisplay(true);
  release();
}

IPopupMenu* IGraphicsCocoa_vBrimlow_rtas::createIPopupMenu(IPopupMenu* menu, NSRect rect) {
  if (!menu) return nullptr;
  auto* receiver = new IGraphicsMenuRcvr_vBrimlow_rtas;
  receiver->initWithFrame(rect);
  receiver->autorelease();
  auto* nsMenu = new IGraphicsNSMenu_vBrimlow_rtas;
  nsMenu->initWithIPopupMenuAndReciever(menu, receiver);
  nsMenu->autorelease();

  NSPoint where = convertPointToBase(NSMakePoint(rect.origin.x, rect.origin.y - 4));
  const CGFloat scale = NSScreen::mainScreen() ? NSScreen::mainScreen()->backingScaleFactor() : 1.0;
  if (scale > 0) {
    where.x /= scale;
    where.y /= scale;
  }
  NSEvent* event = NSEvent::otherEventWithType(NSApplicationDefined, where, 15, 0,
                                               window() ? window()->windowNumber() : 0,
                                               NSGraphicsContext::currentContext(), 0, 0, 0);
  // The menu runs its own loop, in which the editor may be closed.
  retain();
  NSMenu::popUpContextMenu(nsMenu, event, receiver);
  const bool viewGone = mGraphics == nullptr;
  release();
  if (viewGone) return nullptr;

  NSMenuItem* chosen = receiver->MenuItem();
  auto* chosenMenu = chosen ? dynamic_cast<IGraphicsNSMenu_vBrimlow_rtas*>(chosen->menu()) : nullptr;
  IPopupMenu* result = chosenMenu ? chosenMenu->AssociatedIPopupMenu() : nullptr;
  const NSInteger index = chosenMenu ? chosenMenu->indexOfItem(chosen) : -1;
  if (index < 0 || !result) return nullptr;
  result->SetChosenItemIdx(static_cast<int>(index));
  return result;
}

void IGraphicsCocoa_vBrimlow_rtas::createTextEntry(IControl* control, IParam* param, IText* text,
                                                    const char* initialText, NSRect rect) {
  if (!control || mTextFieldView || !text) return;
  NSTextField* field = new NSTextField;
  field->initWithFrame(rect);
  field->setFont(NSFont::fontWithName(text->mFont, static_cast<int>(text->mSize * 0.9)));
  switch (text->mAlign) {
    case IText::kAlignNear: field->setAlignment(NSLeftTextAlignment); break;
    case IText::kAlignCenter: field->setAlignment(NSCenterTextAlignment); break;
    case IText::kAlignFar: field->setAlignment(NSRightTextAlignment); break;
    default: break;
  }
  if (param) {
    auto* characters = new NSMutableCharacterSet;
    switch (param->Type()) {
      // k for thousands, as the typed number is read.
      case IParam::kTypeDouble: characters->addCharactersInString("0123456789.-+kK"); break;
      case IParam::kTypeBool:
      case IParam::kTypeInt:
      case IParam::kTypeEnum: characters->addCharactersInString("0123456789-+"); break;
      default: break;
    }
    auto* formatter = new CocoaFormatter_vBrimlow_rtas;
    formatter->setAcceptableCharacterSet(characters);
    formatter->setMaximumLength(control->GetTextEntryLength());
    field->setFormatter(formatter);
    formatter->release();
    characters->release();
  }
  field->cell()->setLineBreakMode(NSLineBreakByTruncatingTail);
  field->setAllowsEditingTextAttributes(false);
  const IColor& fg = text->mTextEntryFGColor;
  const IColor& bg = text->mTextEntryBGColor;
  field->setTextColor(NSColor::colorWithCalibratedRed(fg.R / 255.0, fg.G / 255.0, fg.B / 255.0, fg.A / 255.0));
  field->setBackgroundColor(NSColor::colorWithCalibratedRed(bg.R / 255.0, bg.G / 255.0, bg.B / 255.0, bg.A / 255.0));
  field->setStringValue(initialText ? initialText : "");
  field->setBordered(false);
  field->setFocusRingType(NSFocusRingTypeNone);
  field->setDelegate(this);
  addSubview(field);
  // This view keeps the field's first reference until the entry closes.
  mTextFieldView = field;
  if (NSWindow* w = window()) {
    w->makeKeyAndOrderFront(nullptr);
    w->makeFirstResponder(field);
  }
  mEdParam = param;
  mEdControl = control;
}

void IGraphicsCocoa_vBrimlow_rtas::endUserInput() {
  if (NSTextField* field = mTextFieldView) {
    mTextFieldView = nullptr;
    field->setDelegate(nullptr);
    field->removeFromSuperview();
    field->release();
  }
  if (NSWindow* w = window()) w->makeFirstResponder(this);
  mEdControl = nullptr;
  mEdParam = nullptr;
}

void IGraphicsCocoa_vBrimlow_rtas::UpdateFPS(int fps) {
  if (!mGraphics) return;
  // A rate that is not positive would never fire; the editor's default
  // stands in for it, as it does at construction.
  if (fps <= 0) fps = 25;
  if (fps == mGraphics->FPS()) return;
  killTimer();
  StartTimer(1.0 / fps);
  mGraphics->SetFPS(fps);
}

void IGraphicsCocoa_vBrimlow_rtas::SetWindowTransparency(int alpha) {
  NSWindow* w = window();
  if (!w) return;
  w->setAlphaValue(alpha / 255.0);
  w->setOpaque(false);
}

std::string IGraphicsCocoa_vBrimlow_rtas::stringForToolTip(NSView*, int, NSPoint, void*) {
  if (!mGraphics) return "";
  // Whichever rectangle asked, the tooltip is the hovered control's.
  const IControl* control = mGraphics->GetControl(mGraphics->GetMouseOver());
  return control && control->GetTooltip() ? control->GetTooltip() : "";
}

void IGraphicsCocoa_vBrimlow_rtas::registerToolTip(const IRECT* rect) {
  if (!mGraphics || !rect) return;
  addToolTipRect(ToViewRect(*rect, mGraphics->Height()), this, nullptr);
}

int IGraphicsCocoa_vBrimlow_rtas::draggingEntered(NSDraggingInfo* info) {
  if (!info) return NSDragOperationNone;
  for (const std::string& type : info->types) {
    if (type == NSFilenamesPboardType) return NSDragOperationGeneric;
  }
  return NSDragOperationNone;
}

bool IGraphicsCocoa_vBrimlow_rtas::performDragOperation(NSDraggingInfo* info) {
  if (!mGraphics || !info || info->fileNames.empty()) return true;
  int x = 0, y = 0;
  ViewPointToEditor(info->draggingLocation(), mGraphics->Height(), &x, &y);
  mGraphics->OnDrop(info->fileNames.front().c_str(), x, y);
  return true;
}
