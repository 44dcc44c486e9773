#include "rtas/views/CResControlView.h"

#include "platform/hitoolbox/MacWindows.h"
#include "rtas/views/CViewGroupServices.h"
#include "rtas/library/CDAEError.h"
#include "rtas/library/ErrorThrowers.h"

ControlRef CResControlView::CreateControl() {
  ThrowIfFalse(mResourceID != kNoResource);
  ControlRef control;
  {
    CBundleResourceScope bundle;
    control = GetNewControl(static_cast<int16_t>(mResourceID), GetWindowFromPort(GetViewPort()));
  }
  ThrowIfNil(control);
  // MoveControl places the control's top-left: the item says where, the
  // resource only how large.
  MoveControl(control, Frame().left, Frame().top);
  Rect bounds;
  GetControlBounds(control, &bounds);
  SetFrameRect(bounds);
  return control;
}
