#include "graphics/controls/IInvisibleClickControl.h"

#include "graphics/controls/CommandTag.h"

void IInvisibleClickControl::OnMouseDown(int, int, IMouseMod*) { NotifyCommandTag(mPlug, mTag); }
