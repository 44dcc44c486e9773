#pragma once

#include "platform/coregraphics/CGGeometry.h"
#include "platform/coregraphics/CGImage.h"
#include "platform/windowserver/ScreenGeometry.h"

// Stand-in for a Core Graphics context that draws into a window: the
// context a view gets for one draw. Its current transform starts as the map
// from the view's coordinates to the window's device pixels (given by the
// toolkit that makes it) and takes the usual translate and scale. Images
// are drawn as Core Graphics draws them: the image's first row at the top
// of the destination rectangle in unflipped coordinates, that is at its
// largest y, so that a context whose y runs downwards shows it mirrored.
// Everything outside the clip, in device pixels, is left alone.
namespace platform {
class ScreenWindow;
}

typedef struct CGContext* CGContextRef;

void CGContextTranslateCTM(CGContextRef context, CGFloat tx, CGFloat ty);
void CGContextScaleCTM(CGContextRef context, CGFloat sx, CGFloat sy);
CGAffineTransform CGContextGetCTM(CGContextRef context);
void CGContextSaveGState(CGContextRef context);
void CGContextRestoreGState(CGContextRef context);
// The size in device pixels: the current transform without its offset.
CGSize CGContextConvertSizeToDeviceSpace(CGContextRef context, CGSize size);
void CGContextDrawImage(CGContextRef context, CGRect rect, CGImageRef image);

namespace platform {

// toDevice maps the view's coordinates to the window's device pixels.
CGContextRef CreateWindowContext(ScreenWindow* window, const CGAffineTransform& toDevice, const DeviceRect& clip);
void ReleaseWindowContext(CGContextRef context);
ScreenWindow* WindowOfContext(CGContextRef context);
// Images drawn through the context.
int ContextImageCount(CGContextRef context);

// The last image any window context drew: its size and row span in pixels.
struct DrawnImage {
  int width = 0, height = 0, rowSpan = 0;
};
DrawnImage LastDrawnImage();

}  // namespace platform
