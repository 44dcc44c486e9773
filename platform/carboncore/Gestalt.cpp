#include "platform/carboncore/Gestalt.h"

namespace {

int32_t gSystemVersion = 0x1070;

}  // namespace

OSErr Gestalt(OSType selector, int32_t* response) {
  if (!response) return paramErr;
  if (selector != gestaltSystemVersion) return gestaltUndefSelectorErr;
  *response = gSystemVersion;
  return noErr;
}

namespace platform {

void SetGestaltSystemVersion(int32_t version) { gSystemVersion = version; }

}  // namespace platform
