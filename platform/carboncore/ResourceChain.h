#pragma once

#include "platform/carboncore/MacTypes.h"

// Between the Memory and Resource Manager stand-ins: a resource handle
// disposed of directly is forgotten by its file first.
namespace platform {

void ForgetResourceHandle(Handle h);

}  // namespace platform
