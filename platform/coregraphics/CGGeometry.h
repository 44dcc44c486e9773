#pragma once

#include <cstddef>
#include <cstdint>

// Core Graphics geometry: floating-point points, sizes, rectangles and
// affine transforms, as the window contexts, HIViews and Cocoa views use
// them.
typedef double CGFloat;

struct CGPoint {
  CGFloat x, y;
};
struct CGSize {
  CGFloat width, height;
};
struct CGRect {
  CGPoint origin;
  CGSize size;
};
// x' = a x + c y + tx, y' = b x + d y + ty.
struct CGAffineTransform {
  CGFloat a, b, c, d, tx, ty;
};

inline CGPoint CGPointMake(CGFloat x, CGFloat y) { return CGPoint{x, y}; }
inline CGSize CGSizeMake(CGFloat width, CGFloat height) { return CGSize{width, height}; }
inline CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat width, CGFloat height) {
  return CGRect{CGPoint{x, y}, CGSize{width, height}};
}
inline CGAffineTransform CGAffineTransformIdentityValue() { return CGAffineTransform{1, 0, 0, 1, 0, 0}; }
inline CGPoint CGPointApplyAffineTransform(CGPoint p, CGAffineTransform t) {
  return CGPoint{t.a * p.x + t.c * p.y + t.tx, t.b * p.x + t.d * p.y + t.ty};
}

typedef uint32_t CGDirectDisplayID;
typedef int32_t CGError;
enum { kCGErrorSuccess = 0, kCGErrorFailure = 1000 };
