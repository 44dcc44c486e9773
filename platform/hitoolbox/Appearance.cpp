#include "platform/hitoolbox/Appearance.h"

#include "platform/windowserver/Backend.h"

OSStatus SetThemeCursor(ThemeCursor) {
  platform::Backend().SetCursor(platform::CursorKind::kArrow);
  return noErr;
}
