#pragma once

// The editor's value types in one include, for files that use several.
#include "graphics/IBitmap.h"
#include "graphics/IChannelBlend.h"
#include "graphics/IColor.h"
#include "graphics/IMouseMod.h"
#include "graphics/IRECT.h"
#include "graphics/IRECTResize.h"
#include "graphics/IText.h"
