#pragma once

#include "platform/carboncore/MacTypes.h"

// Stand-in for the Gestalt Manager: the system version ('sysv', answered
// as 0xMMmp, 10.7.0 unless a test says otherwise) and nothing else.
enum : OSErr { gestaltUndefSelectorErr = -5551 };
constexpr OSType gestaltSystemVersion = 0x73797376;  // 'sysv'

OSErr Gestalt(OSType selector, int32_t* response);

namespace platform {

void SetGestaltSystemVersion(int32_t version);

}  // namespace platform
