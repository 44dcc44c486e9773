#include "graphics/mac/IGraphicsMac.h"

#include "framework/IPopupMenu.h"

#include "graphics/mac/IGraphicsCarbon.h"
#include "graphics/mac/IGraphicsCocoa_vBrimlow_rtas.h"
#include "graphics/mac/CocoaCoordinates.h"
#include "graphics/mac/CustomCocoaWindow_vBrimlow_rtas.h"
#include "platform/cocoa/NSApplication.h"
#include "platform/coregraphics/CGImage.h"
#include "platform/foundation/NSObject.h"

IGraphicsMac::IGraphicsMac(IPlugBase* plug, int width, int height, int fps) : IGraphics(plug, width, height, fps) {
  NSApplicationLoad();
}

IGraphicsMac::~IGraphicsMac() {
  // The idle thread may call into the plug-in, which is half gone by now.
  StopIdleThread();
  CloseWindow();
  if (mColorSpace) CGColorSpaceRelease(mColorSpace);
  mColorSpace = nullptr;
  mScaledBits.Resize(0);
}

// ---- The views ----------------------------------------------------------------

bool IGraphicsMac::WindowIsOpen() { return mGraphicsCarbon || mGraphicsCocoa; }

void* IGraphicsMac::GetWindow() { return mGraphicsCocoa; }

const char* IGraphicsMac::GetGUIAPI() {
  if (!mGraphicsCarbon) return "Cocoa GUI";
  return mGraphicsCarbon->GetIsComposited() ? "Carbon Composited GUI" : "Carbon Non-Composited GUI";
}

void* IGraphicsMac::OpenWindowCarbon(void* window, void* parentControl, short leftOffset, short topOffset) {
  CloseWindow();
  ++mViewGeneration;
  mGraphicsCarbon = new IGraphicsCarbon(this, static_cast<WindowRef>(window), static_cast<ControlRef>(parentControl),
                                        leftOffset, topOffset);
  return mGraphicsCarbon->GetView();
}

void* IGraphicsMac::OpenWindow(void* parentView) {
  CloseWindow();
  ++mViewGeneration;
  auto* view = new IGraphicsCocoa_vBrimlow_rtas;
  view->initWithIGraphics(this);
  mGraphicsCocoa = view;
  if (parentView) static_cast<NSView*>(parentView)->addSubview(view);
  UpdateTooltips();
  return view;
}

void IGraphicsMac::CloseWindow() {
  if (mGraphicsCarbon || mGraphicsCocoa) ++mViewGeneration;
  if (mGraphicsCarbon) {
    IGraphicsCarbon* view = mGraphicsCarbon;
    mGraphicsCarbon = nullptr;
    delete view;
    return;
  }
  if (!mGraphicsCocoa) return;
  IGraphicsCocoa_vBrimlow_rtas* view = mGraphicsCocoa;
  view->removeAllToolTips();
  view->killTimer();
  mGraphicsCocoa = nullptr;
  // The view clears its own pointer first when its superview removes it,
  // so the two never call each other in a circle.
  if (view->mGraphics) {
    view->mGraphics = nullptr;
    view->removeFromSuperview();
  }
  view->release();
}

void IGraphicsMac::AttachSubWindow(void* hostWindow) {
  NSAutoreleasePool pool;
  if (mHostNSWindow) RemoveSubWindow();
  NSWindow* host = NSWindow::initWithWindowRef(static_cast<WindowRef>(hostWindow));
  if (!host) return;
  host->setCanHide(true);
  host->setReleasedWhenClosed(true);
  const NSRect frame = host->frame();
  const double offset = frame.size.width > Width() ? static_cast<int>((frame.size.width - Width()) * 0.5) : 0;
  auto* child = new CustomCocoaWindow_vBrimlow_rtas(
      NSMakeRect(frame.origin.x + offset, frame.origin.y, Width(), Height()), NSBorderlessWindowMask,
      NSBackingStoreBuffered, false);
  child->setOpaque(true);
  child->setCanHide(true);
  child->setHasShadow(false);
  child->setReleasedWhenClosed(true);
  OpenWindow(child->contentView());
  host->addChildWindow(child, NSWindowAbove);
  host->orderFront(nullptr);
  host->display();
  // Ordered to the front once more when the host has redrawn itself.
  child->performAfterDelay([child] { child->orderFront(nullptr); }, 0.05);
  mHostNSWindow = host;
}

void IGraphicsMac::RemoveSubWindow() {
  NSAutoreleasePool pool;
  NSWindow* host = mHostNSWindow;
  if (!host) return;
  mHostNSWindow = nullptr;
  NSWindow* child = host->childWindows().empty() ? nullptr : host->childWindows().front();
  CloseWindow();
  if (child) {
    child->orderOut(nullptr);
    host->removeChildWindow(child);
  }
  host->orderOut(nullptr);
  if (child) child->close();
  host->close();
}

// ---- Slots routed to the open view -----------------------------------------------

bool IGraphicsMac::MeasureIText(IText* text, const char* str, IRECT* rect) {
  NSAutoreleasePool pool;
  return DrawIText(text, str, rect, true);
}

void IGraphicsMac::EndUserInput() {
  if (mGraphicsCarbon) mGraphicsCarbon->EndUserInput(false);
  else if (mGraphicsCocoa) mGraphicsCocoa->endUserInput();
}

bool IGraphicsMac::Resize(int width, int height, bool keepControls) {
  IGraphics::Resize(width, height, keepControls);
  if (mGraphicsCarbon) mGraphicsCarbon->Resize(width, height);
  else if (mGraphicsCocoa) mGraphicsCocoa->setFrameSize(NSMakeSize(width, height));
  return false;
}

IPopupMenu* IGraphicsMac::CreateIPopupMenu(IPopupMenu* menu, IRECT* area) {
  ReleaseMouseCapture();
  if (!menu || !area) return nullptr;
  const IRECT where = *area;
  // The menu runs a loop of its own, during which the host may close the
  // editor; a choice that arrives after that changes nothing.
  const unsigned generation = mViewGeneration;
  IPopupMenu* chosen = nullptr;
  if (mGraphicsCocoa) {
    chosen = mGraphicsCocoa->createIPopupMenu(menu, ToViewRect(where, Height()));
    if (generation == mViewGeneration) {
      IMouseMod none(false);
      OnMouseUp(where.L, where.T, &none);
    }
  } else if (mGraphicsCarbon) {
    chosen = mGraphicsCarbon->CreateIPopupMenu(menu, area);
  }
  if (generation != mViewGeneration) {
    if (chosen) chosen->SetChosenItemIdx(-1);
    return nullptr;
  }
  return chosen;
}

void IGraphicsMac::CreateTextEntry(IControl* control, IText* text, IRECT* rect, const char* initialText,
                                   IParam* param) {
  if (!rect) return;
  if (mGraphicsCocoa) {
    mGraphicsCocoa->createTextEntry(control, param, text, initialText, ToViewRect(*rect, Height()));
  } else if (mGraphicsCarbon) {
    mGraphicsCarbon->CreateTextEntry(control, text, rect, initialText, param);
  }
}

void IGraphicsMac::UpdateFPS(int fps) {
  if (mGraphicsCocoa) mGraphicsCocoa->UpdateFPS(fps);
}

void IGraphicsMac::SetWindowTransparency(int alpha) {
  if (mGraphicsCocoa) mGraphicsCocoa->SetWindowTransparency(alpha);
}
