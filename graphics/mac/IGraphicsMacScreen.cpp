#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>

#include "graphics/mac/IGraphicsCarbon.h"
#include "graphics/mac/IGraphicsMac.h"
#include "graphics/mac/SurfaceDoubling.h"
#include "lice/LICE_SysBitmap.h"
#include "platform/carboncore/Gestalt.h"
#include "platform/cocoa/NSGraphicsContext.h"
#include "platform/colorsync/ColorSync.h"
#include "platform/coregraphics/CGContext.h"

// Putting the surface on the screen: one image over the live pixels each
// time (only the doubled path copies them, in a Carbon view only the rows
// of the area drawn), drawn over the whole editor; the context's clip
// keeps it to what is shown afresh.

namespace {

// What a screen of two device pixels a point reports, give or take.
constexpr CGFloat kDoublingScale = 1.9;

CGColorSpaceRef MakeColorSpace() {
  int32_t version = 0x1040;
  Gestalt(gestaltSystemVersion, &version);
  CGColorSpaceRef space = nullptr;
  if (version >= 0x1070) {
    CMProfileRef profile = nullptr;
    if (CMGetSystemProfile(&profile) == noErr && profile) {
      space = CGColorSpaceCreateWithPlatformColorSpace(profile);
      CMCloseProfile(profile);
    }
  }
  return space ? space : CGColorSpaceCreateDeviceRGB();
}

}  // namespace

CGContextRef IGraphicsMac::CurrentContext() const {
  if (mGraphicsCocoa) {
    NSGraphicsContext* current = NSGraphicsContext::currentContext();
    if (!current) return nullptr;
    NSGraphicsContext* flipped = NSGraphicsContext::graphicsContextWithGraphicsPort(current->graphicsPort(), true);
    return static_cast<CGContextRef>(flipped->graphicsPort());
  }
  return mGraphicsCarbon ? mGraphicsCarbon->GetCGContext() : nullptr;
}

const void* IGraphicsMac::DoubledSurface(const void* bits, int width, int height, int rowSpan, int top, int bottom,
                                         int* doubledRowSpan) {
  const int span = DoubledRowSpan(width);
  // 2 x height rows of span pixels of 4 bytes, and room to align the start.
  const long long bytes = static_cast<long long>(height) * span * 8 + 32;
  if (bytes > INT_MAX) return nullptr;
  mScaledBits.Resize(static_cast<int>(bytes), false);
  if (mScaledBits.GetSize() != bytes) return nullptr;
  auto start = reinterpret_cast<uintptr_t>(mScaledBits.Get());
  start = (start + 31) & ~static_cast<uintptr_t>(31);
  auto* doubled = reinterpret_cast<uint32_t*>(start);
  // Only the rows being put on the screen: the context shows no others.
  top = std::clamp(top, 0, height);
  bottom = std::clamp(bottom, top, height);
  DoubleSurface(static_cast<const uint32_t*>(bits) + static_cast<size_t>(top) * rowSpan, width, bottom - top, rowSpan,
                doubled + static_cast<size_t>(top) * 2 * span, span);
  *doubledRowSpan = span;
  return doubled;
}

bool IGraphicsMac::DrawScreen(IRECT* rect) {
  CGContextRef context = CurrentContext();
  if (!context) return false;
  if (!mColorSpace) mColorSpace = MakeColorSpace();

  LICE_SysBitmap* surface = GetDrawBitmap();
  const void* bits = surface ? surface->getBits() : nullptr;
  if (!bits) return false;
  int rowSpan = surface->getRowSpan();
  int width = surface->getWidth();
  int height = surface->getHeight();

  const CGSize device = CGContextConvertSizeToDeviceSpace(context, CGSizeMake(1, 1));
  if (device.width > kDoublingScale) {
    int span = 0;
    // Without the memory the undoubled surface is drawn instead.
    // A Carbon view's context is clipped to the area drawn; a Cocoa view's
    // shows all of it.
    const bool clipped = rect && mGraphicsCarbon && !mGraphicsCocoa;
    const int top = clipped ? rect->T : 0;
    const int bottom = clipped ? rect->B : height;
    if (const void* doubled = DoubledSurface(bits, width, height, rowSpan, top, bottom, &span)) {
      bits = doubled;
      rowSpan = span;
      width *= 2;
      height *= 2;
    }
  }

  CGDataProviderRef provider =
      CGDataProviderCreateWithData(nullptr, bits, static_cast<size_t>(rowSpan) * 4 * height, nullptr);
  CGImageRef image = CGImageCreate(width, height, 8, 32, static_cast<size_t>(rowSpan) * 4, mColorSpace,
                                   kCGImageAlphaNoneSkipFirst, provider, nullptr, false, kCGRenderingIntentDefault);
  CGDataProviderRelease(provider);
  if (image) {
    CGContextDrawImage(context, CGRectMake(0, 0, Width(), Height()), image);
    CGImageRelease(image);
  }
  return true;
}
