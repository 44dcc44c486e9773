#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/coregraphics/CGGeometry.h"

// Stand-ins for Core Graphics colour spaces, data providers and images, in
// the one pixel layout the editor presents: 8 bits a component, 32 bits a
// pixel, the first byte of each pixel skipped, then R, G, B.
typedef struct CGColorSpace* CGColorSpaceRef;
typedef struct CGDataProvider* CGDataProviderRef;
typedef struct CGImage* CGImageRef;
typedef void (*CGDataProviderReleaseDataCallback)(void* info, const void* data, size_t size);
typedef uint32_t CGBitmapInfo;
typedef int32_t CGColorRenderingIntent;

enum { kCGImageAlphaNoneSkipFirst = 6 };
enum { kCGRenderingIntentDefault = 0 };

CGColorSpaceRef CGColorSpaceCreateDeviceRGB();
// A colour space from a display profile (ColorSync.h); null without one.
CGColorSpaceRef CGColorSpaceCreateWithPlatformColorSpace(const void* profile);
void CGColorSpaceRelease(CGColorSpaceRef space);

// The provider only points at the data; the callback, when given, runs on
// the last release.
CGDataProviderRef CGDataProviderCreateWithData(void* info, const void* data, size_t size,
                                               CGDataProviderReleaseDataCallback release);
void CGDataProviderRelease(CGDataProviderRef provider);

// Null for any layout but the one above, a missing colour space or
// provider, or a provider too short for the rows. The image keeps the
// provider (retained) and reads its pixels when drawn.
CGImageRef CGImageCreate(size_t width, size_t height, size_t bitsPerComponent, size_t bitsPerPixel,
                         size_t bytesPerRow, CGColorSpaceRef space, CGBitmapInfo bitmapInfo,
                         CGDataProviderRef provider, const CGFloat* decode, bool shouldInterpolate,
                         CGColorRenderingIntent intent);
void CGImageRelease(CGImageRef image);
size_t CGImageGetWidth(CGImageRef image);
size_t CGImageGetHeight(CGImageRef image);

namespace platform {

// Colour spaces made since the process started.
int ColorSpacesCreated();
int LiveImageCount();

}  // namespace platform
