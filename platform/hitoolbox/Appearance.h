#pragma once

#include "platform/carboncore/MacTypes.h"

// Stand-in for the Appearance Manager's theme cursors.
typedef uint32_t ThemeCursor;
enum : ThemeCursor { kThemeArrowCursor = 0 };

// Any cursor but the arrow is shown as the arrow here.
OSStatus SetThemeCursor(ThemeCursor cursor);
