#include "graphics/mac/IGraphicsCarbon.h"

#include "graphics/IControl.h"
#include "graphics/mac/IGraphicsMac.h"
#include "platform/hitoolbox/HelpTags.h"

namespace {

// The user pane's features: embeddable, focusable, supports embedding and
// activation; in a compositing window also the HIView drawing protocol.
constexpr uint32_t kPaneFeatures = 0x26;
constexpr uint32_t kCompositedPaneFeatures = 0x12000026;
// The tag sits below the pointer, the height of the arrow away.
constexpr int kTooltipOffsetY = 23;
constexpr HMTagDisplaySide kTooltipSide = 19;

const EventTypeSpec kViewEvents[] = {{kEventClassControl, kEventControlDraw}};
const EventTypeSpec kWindowEvents[] = {
    {kEventClassMouse, kEventMouseDown},    {kEventClassMouse, kEventMouseUp},
    {kEventClassMouse, kEventMouseMoved},   {kEventClassMouse, kEventMouseDragged},
    {kEventClassMouse, kEventMouseWheelMoved}, {kEventClassKeyboard, kEventRawKeyDown},
    {kEventClassWindow, kEventWindowDeactivated},
};

}  // namespace

IGraphicsCarbon::IGraphicsCarbon(IGraphicsMac* graphicsMac, WindowRef window, ControlRef parentControl,
                                 short leftOffset, short topOffset)
    : mGraphicsMac(graphicsMac), mWindow(window), mLeftOffset(leftOffset), mTopOffset(topOffset) {
  WindowAttributes attributes = 0;
  GetWindowAttributes(window, &attributes);
  mIsComposited = (attributes & kWindowCompositingAttribute) != 0;

  const Rect bounds{0, 0, static_cast<int16_t>(graphicsMac->Height()), static_cast<int16_t>(graphicsMac->Width())};
  CreateUserPaneControl(window, &bounds, mIsComposited ? kCompositedPaneFeatures : kPaneFeatures, &mView);

  InstallEventHandler(GetControlEventTarget(mView), CarbonEventHandler, 1, kViewEvents, this, &mControlHandler);
  InstallEventHandler(GetWindowEventTarget(window), CarbonEventHandler,
                      sizeof kWindowEvents / sizeof kWindowEvents[0], kWindowEvents, this, &mWindowHandler);
  InstallEventLoopTimer(GetMainEventLoop(), 0.0, 1.0 / graphicsMac->FPS(), CarbonTimerHandler, this, &mTimer);

  OSStatus embedded = paramErr;
  if (mIsComposited) {
    HIViewRef parent = parentControl;
    if (!parent) HIViewFindByID(HIViewGetRoot(window), kHIViewWindowContentID, &parent);
    embedded = HIViewAddSubview(parent, mView);
  } else {
    ControlRef parent = parentControl;
    if (!parent && GetRootControl(window, &parent) != noErr) CreateRootControl(window, &parent);
    embedded = EmbedControl(mView, parent);
  }
  if (embedded == noErr) {
    SizeControl(mView, static_cast<int16_t>(graphicsMac->Width()), static_cast<int16_t>(graphicsMac->Height()));
  }
  // Later frames draw only what changed; the first shows everything.
  if (mIsComposited) HIViewSetNeedsDisplay(mView, true);
}

IGraphicsCarbon::~IGraphicsCarbon() {
  if (mTextEntryView) RemoveTextEntry();
  mTooltipTimer = 0;
  HideTooltip();
  if (mTimer) RemoveEventLoopTimer(mTimer);
  if (mControlHandler) RemoveEventHandler(mControlHandler);
  if (mWindowHandler) RemoveEventHandler(mWindowHandler);
  mTimer = nullptr;
  mView = nullptr;
}

bool IGraphicsCarbon::Resize(int width, int height) {
  if (!mWindow || !mView) return false;
  Rect bounds;
  if (GetWindowBounds(mWindow, kWindowContentRgn, &bounds) == noErr) {
    bounds.right = static_cast<int16_t>(bounds.left + width);
    bounds.bottom = static_cast<int16_t>(bounds.top + height);
    SetWindowBounds(mWindow, kWindowContentRgn, &bounds);
  }
  const HIRect frame = CGRectMake(0, 0, width, height);
  const bool placed = HIViewSetFrame(mView, &frame) == noErr;
  // The surface was made anew: all of it goes to the screen.
  if (mIsComposited) HIViewSetNeedsDisplay(mView, true);
  return placed;
}

void IGraphicsCarbon::CarbonTimerHandler(EventLoopTimerRef, void* view) {
  static_cast<IGraphicsCarbon*>(view)->OnTimerTick();
}

void IGraphicsCarbon::OnTimerTick() {
  IGraphicsMac* graphics = mGraphicsMac;
  const unsigned generation = graphics->ViewGeneration();
  graphics->OnGUIIdle();
  // The hook may resize the editor, which closes this view and opens another.
  if (graphics->ViewGeneration() != generation) return;

  IRECT dirty;
  if (graphics->IsDirty(&dirty)) {
    if (mIsComposited) {
      // Each area apart: the scope and the meters change every frame, the
      // panel between them seldom.
      for (const IRECT& r : graphics->DirtyAreas()) {
        const HIRect area = CGRectMake(r.L, r.T, r.R - r.L, r.B - r.T);
        HIViewSetNeedsDisplayInRect(mView, &area, true);
      }
    } else {
      UpdateControls(mWindow, nullptr);
    }
  }

  if (mTooltipTimer == 0 || --mTooltipTimer > 0) return;
  if (mShowingTooltip) {
    HideTooltip();
  } else {
    ShowTooltip();
  }
}

void IGraphicsCarbon::ShowTooltip() {
  // The text is read again: the control may have changed it since the wait began.
  const IControl* control = mGraphicsMac->GetControl(mTooltipIdx);
  mTooltip = control ? control->GetTooltip() : nullptr;
  if (!mTooltip || !mTooltip[0]) return;
  HIRect hot = CGRectMake(mPrevX, mPrevY + kTooltipOffsetY, 1, 1);
  HIRectConvert(&hot, kHICoordSpaceView, mView, kHICoordSpaceScreenPixel, nullptr);
  HMHelpContentRec help{};
  help.version = kMacHelpVersion;
  help.absHotRect = Rect{static_cast<int16_t>(hot.origin.y), static_cast<int16_t>(hot.origin.x),
                         static_cast<int16_t>(hot.origin.y + hot.size.height),
                         static_cast<int16_t>(hot.origin.x + hot.size.width)};
  help.tagSide = kTooltipSide;
  help.content[0].contentType = kHMCFStringContent;
  help.content[0].tagCFString = CFStringCreateWithCString(nullptr, mTooltip, kCFStringEncodingUTF8);
  help.content[1].contentType = kHMNoContent;
  HMDisplayTag(&help);
  CFRelease(help.content[0].tagCFString);
  mShowingTooltip = true;
  mTooltipTimer = mGraphicsMac->FPS() * 10;
}

void IGraphicsCarbon::HideTooltip() {
  if (!mShowingTooltip) return;
  HMHideTag();
  mShowingTooltip = false;
}
