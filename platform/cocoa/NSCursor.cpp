#include "platform/cocoa/NSCursor.h"

#include "platform/windowserver/Backend.h"

NSBitmapImageRep* NSBitmapImageRep::initWithBitmapDataPlanes(uint8_t** planes, NSInteger width, NSInteger height,
                                                             NSInteger bitsPerSample, NSInteger samplesPerPixel,
                                                             bool, bool isPlanar, const std::string& colorSpaceName,
                                                             NSInteger bytesPerRow, NSInteger bitsPerPixel) {
  if (planes || isPlanar || width <= 0 || height <= 0 || bitsPerSample != 8 || samplesPerPixel <= 0) return nullptr;
  if (bitsPerPixel != bitsPerSample * samplesPerPixel || bytesPerRow < width * samplesPerPixel) return nullptr;
  NSBitmapImageRep* rep = new NSBitmapImageRep;
  rep->mWidth = width;
  rep->mHeight = height;
  rep->mBytesPerRow = bytesPerRow;
  rep->mSamples = samplesPerPixel;
  rep->mColorSpace = colorSpaceName;
  rep->mBytes.assign(static_cast<size_t>(bytesPerRow * height), 0);
  return rep;
}

NSImage::~NSImage() {
  for (NSBitmapImageRep* rep : mReps) rep->release();
}

void NSImage::addRepresentation(NSBitmapImageRep* rep) {
  if (!rep) return;
  rep->retain();
  mReps.push_back(rep);
}

namespace {

NSCursor*& Current() {
  static NSCursor* current = nullptr;
  return current;
}

}  // namespace

NSCursor::NSCursor(NSImage* image, NSPoint hotSpot) : mImage(image), mHotSpot(hotSpot) {
  if (mImage) mImage->retain();
}

NSCursor::~NSCursor() {
  if (Current() == this) Current() = nullptr;
  if (mImage) mImage->release();
}

NSCursor* NSCursor::arrowCursor() {
  static NSCursor* arrow = new NSCursor(nullptr, NSMakePoint(0, 0));
  return arrow;
}

NSCursor* NSCursor::currentCursor() { return Current() ? Current() : arrowCursor(); }

void NSCursor::set() {
  Current() = this;
  platform::Backend().SetCursor(mImage ? platform::CursorKind::kDiagonalResize : platform::CursorKind::kArrow);
}
