#pragma once

#include "platform/hitoolbox/Controls.h"

// Private to platform/hitoolbox: what the view tree does when a control
// goes (HIView.cpp).
namespace platform {

// Takes the control out of its superview and its window's records, ends
// its edit field and forgets its event target. Its subviews are gone
// already.
void ForgetView(ControlRef control);
bool IsLiveView(ControlRef control);
// A new view of the kind, visible, in no superview; frame in the content's
// coordinates until it is embedded.
ControlRef MakeView(WindowRef window, OpaqueControlRef::ViewKind kind, const CGRect& frame);

}  // namespace platform
