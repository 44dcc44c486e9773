#pragma once

#include <cstdint>

#include "rtas/views/ViewItem.h"

class CPlugInView;

// Making views from view descriptions.

// A new view for the item's description, framed, enabled or not and given
// its description; null with ok false when the text is not a description
// or the view refused it. Raises -7053 for a null item or a kind whose
// creator makes nothing.
CPlugInView* CreateViewFromItem(const ViewItem* item, bool* ok);

// The container's new child, made from `text` (backquotes read as double
// quotes) at (x, y) with the given size; a static text showing `text` when
// it is not a usable description. Never null; failures outside the
// description raise CDAEError.
CPlugInView* CreateViewFromDescription(CPlugInView* container, const char* text, int16_t x, int16_t y, int16_t width,
                                       int16_t height, bool enabled);

// Frames the view at (0, 0) with the given size.
void SetViewSize(CPlugInView* view, int16_t width, int16_t height);
