#include "platform/coregraphics/CGContext.h"

#include <vector>

#include "platform/coregraphics/CGImagePixels.h"
#include "platform/windowserver/ScreenWindow.h"

namespace platform {
namespace {

DrawnImage gLastImage;

void RecordDrawnImage(const DrawnImage& image) { gLastImage = image; }

}  // namespace
}  // namespace platform

struct CGContext {
  platform::ScreenWindow* window;
  CGAffineTransform ctm;
  platform::DeviceRect clip;
  std::vector<CGAffineTransform> saved;
  int images = 0;
};

void CGContextTranslateCTM(CGContextRef context, CGFloat tx, CGFloat ty) {
  if (!context) return;
  CGAffineTransform& m = context->ctm;
  m.tx += m.a * tx + m.c * ty;
  m.ty += m.b * tx + m.d * ty;
}

void CGContextScaleCTM(CGContextRef context, CGFloat sx, CGFloat sy) {
  if (!context) return;
  CGAffineTransform& m = context->ctm;
  m.a *= sx;
  m.b *= sx;
  m.c *= sy;
  m.d *= sy;
}

CGAffineTransform CGContextGetCTM(CGContextRef context) {
  return context ? context->ctm : CGAffineTransformIdentityValue();
}

void CGContextSaveGState(CGContextRef context) {
  if (context) context->saved.push_back(context->ctm);
}

void CGContextRestoreGState(CGContextRef context) {
  if (!context || context->saved.empty()) return;
  context->ctm = context->saved.back();
  context->saved.pop_back();
}

CGSize CGContextConvertSizeToDeviceSpace(CGContextRef context, CGSize size) {
  if (!context) return size;
  const CGAffineTransform& m = context->ctm;
  return CGSize{m.a * size.width + m.c * size.height, m.b * size.width + m.d * size.height};
}

void CGContextDrawImage(CGContextRef context, CGRect rect, CGImageRef image) {
  if (!context || !image || !context->window) return;
  // The image's top row belongs at the rectangle's largest y.
  const CGPoint topLeft =
      CGPointApplyAffineTransform(CGPoint{rect.origin.x, rect.origin.y + rect.size.height}, context->ctm);
  const CGPoint bottomRight =
      CGPointApplyAffineTransform(CGPoint{rect.origin.x + rect.size.width, rect.origin.y}, context->ctm);
  size_t rowSpan = 0;
  const uint8_t* pixels = platform::ImagePixels(image, &rowSpan);
  ++context->images;
  platform::RecordDrawnImage(platform::DrawnImage{static_cast<int>(CGImageGetWidth(image)),
                                                  static_cast<int>(CGImageGetHeight(image)),
                                                  static_cast<int>(rowSpan)});
  context->window->DrawImage(pixels, static_cast<int>(CGImageGetWidth(image)),
                             static_cast<int>(CGImageGetHeight(image)), static_cast<int>(rowSpan), topLeft.x,
                             topLeft.y, bottomRight.x, bottomRight.y, context->clip);
}

namespace platform {

CGContextRef CreateWindowContext(ScreenWindow* window, const CGAffineTransform& toDevice, const DeviceRect& clip) {
  return new CGContext{window, toDevice, clip, {}, 0};
}

void ReleaseWindowContext(CGContextRef context) { delete context; }

ScreenWindow* WindowOfContext(CGContextRef context) { return context ? context->window : nullptr; }

int ContextImageCount(CGContextRef context) { return context ? context->images : 0; }

DrawnImage LastDrawnImage() { return gLastImage; }

}  // namespace platform
