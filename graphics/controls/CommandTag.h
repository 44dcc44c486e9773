#pragma once

#include "framework/IPlugBase.h"

// A notify-only control passes its command tag to the plug-in's
// OnParamChange in place of a parameter index; the plug-in reads the
// control's fields during that call. A tag of -1 (any negative tag) sends
// nothing.
inline void NotifyCommandTag(IPlugBase* plug, int tag) {
  if (plug && tag >= 0) plug->OnParamChange(tag);
}
