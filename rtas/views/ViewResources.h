#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/carboncore/MacTypes.h"
#include "platform/quickdraw/QuickDraw.h"

// The views' reads of the plug-in bundle's resources. Each but the first
// makes the bundle's resource file current (CBundleResourceScope) for the
// read and the previous file current again afterwards.

// A 'ppat' of the current resource file, loaded as a pixel pattern the
// caller disposes; null when there is none with that id. Callers choose the
// file.
PixPatHandle LoadBundlePixPat(int16_t id);
// String `index` (1-based) of 'STR#' `listId`; false when absent.
bool ReadIndexedString(int16_t listId, int16_t index, std::string* text);
// A copy of a resource's bytes; false when absent.
bool ReadResourceBytes(OSType type, int16_t id, std::vector<uint8_t>* bytes);
// A resource detached from the map, owned by the caller (DisposeHandle);
// null when absent.
Handle ReadDetachedResource(OSType type, int16_t id);
void DisposeResourceHandle(Handle handle);
