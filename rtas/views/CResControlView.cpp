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
  Rect bounds;
  GetControlBounds(control, &bounds);
  MoveControl(control, static_cast<int16_t>(Frame().left - bounds.left), static_cast<int16_t>(Frame().top - bounds.top));
  GetControlBounds(control, &bounds);
  SetFrameRect(bounds);
  return control;
}
