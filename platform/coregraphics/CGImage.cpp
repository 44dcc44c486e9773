#include "platform/coregraphics/CGImage.h"

#include "platform/coregraphics/CGImagePixels.h"

struct CGColorSpace {
  int references = 1;
};

struct CGDataProvider {
  int references = 1;
  void* info;
  const void* data;
  size_t size;
  CGDataProviderReleaseDataCallback release;
};

struct CGImage {
  size_t width, height, bytesPerRow;
  CGDataProviderRef provider;
};

namespace {

int gColorSpacesCreated = 0;
int gLiveImages = 0;

void RetainProvider(CGDataProviderRef provider) { ++provider->references; }

}  // namespace

CGColorSpaceRef CGColorSpaceCreateDeviceRGB() {
  ++gColorSpacesCreated;
  return new CGColorSpace;
}

CGColorSpaceRef CGColorSpaceCreateWithPlatformColorSpace(const void* profile) {
  if (!profile) return nullptr;
  ++gColorSpacesCreated;
  return new CGColorSpace;
}

void CGColorSpaceRelease(CGColorSpaceRef space) {
  if (space && --space->references == 0) delete space;
}

CGDataProviderRef CGDataProviderCreateWithData(void* info, const void* data, size_t size,
                                               CGDataProviderReleaseDataCallback release) {
  return new CGDataProvider{1, info, data, size, release};
}

void CGDataProviderRelease(CGDataProviderRef provider) {
  if (!provider || --provider->references > 0) return;
  if (provider->release) provider->release(provider->info, provider->data, provider->size);
  delete provider;
}

CGImageRef CGImageCreate(size_t width, size_t height, size_t bitsPerComponent, size_t bitsPerPixel,
                         size_t bytesPerRow, CGColorSpaceRef space, CGBitmapInfo bitmapInfo,
                         CGDataProviderRef provider, const CGFloat*, bool, CGColorRenderingIntent) {
  if (!space || !provider || !provider->data || width == 0 || height == 0) return nullptr;
  if (bitsPerComponent != 8 || bitsPerPixel != 32 || bitmapInfo != kCGImageAlphaNoneSkipFirst) return nullptr;
  if (bytesPerRow < width * 4 || bytesPerRow % 4 != 0) return nullptr;
  if (provider->size / bytesPerRow < height) return nullptr;
  RetainProvider(provider);
  ++gLiveImages;
  return new CGImage{width, height, bytesPerRow, provider};
}

void CGImageRelease(CGImageRef image) {
  if (!image) return;
  CGDataProviderRelease(image->provider);
  --gLiveImages;
  delete image;
}

size_t CGImageGetWidth(CGImageRef image) { return image ? image->width : 0; }
size_t CGImageGetHeight(CGImageRef image) { return image ? image->height : 0; }

namespace platform {

int ColorSpacesCreated() { return gColorSpacesCreated; }
int LiveImageCount() { return gLiveImages; }

const uint8_t* ImagePixels(CGImageRef image, size_t* rowSpanPixels) {
  *rowSpanPixels = image->bytesPerRow / 4;
  return static_cast<const uint8_t*>(image->provider->data);
}

}  // namespace platform
