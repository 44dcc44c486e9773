#pragma once

#include <cstdint>

#include "platform/carboncore/MacTypes.h"

// Stand-in for the Core Foundation base: reference-counted objects behind
// opaque references. Create and Copy calls hand out a reference the caller
// releases; Get calls do not.
extern "C" {

typedef const void* CFTypeRef;
typedef long CFIndex;
typedef unsigned long CFTypeID;
typedef CFTypeRef CFAllocatorRef;  // only the default (null) allocator exists here
typedef uint32_t CFStringEncoding;
typedef CFIndex CFComparisonResult;

enum : CFComparisonResult { kCFCompareLessThan = -1, kCFCompareEqualTo = 0, kCFCompareGreaterThan = 1 };

#define kCFAllocatorDefault nullptr
#define kCFAllocatorNull nullptr

// Null is a fatal error for both, as on the Mac.
CFTypeRef CFRetain(CFTypeRef object);
void CFRelease(CFTypeRef object);
CFIndex CFGetRetainCount(CFTypeRef object);
CFTypeID CFGetTypeID(CFTypeRef object);

}  // extern "C"

namespace platform {

// The stand-ins' own shorthand for a reference that may be null.
inline void ReleaseIfAny(CFTypeRef object) {
  if (object) CFRelease(object);
}

}  // namespace platform
