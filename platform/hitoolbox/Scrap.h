#pragma once

#include <cstdint>

#include "platform/carboncore/MacTypes.h"

// Stand-in for the Scrap Manager: one process-wide scrap holding at most one
// flavor per type.

struct OpaqueScrapRef;
typedef OpaqueScrapRef* ScrapRef;
typedef OSType ScrapFlavorType;
enum { kScrapFlavorMaskNone = 0 };
enum { noScrapErr = -100, noTypeErr = -102 };

OSStatus GetCurrentScrap(ScrapRef* scrap);
// Empties the scrap; a ScrapRef from before stays usable for the new one.
OSStatus ClearCurrentScrap();
OSStatus PutScrapFlavor(ScrapRef scrap, ScrapFlavorType type, uint32_t flags, int32_t size, const void* data);
OSStatus GetScrapFlavorSize(ScrapRef scrap, ScrapFlavorType type, int32_t* size);
// size: in, the room in data; out, the bytes copied.
OSStatus GetScrapFlavorData(ScrapRef scrap, ScrapFlavorType type, int32_t* size, void* data);
