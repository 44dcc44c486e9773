#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/cocoa/AppKitTypes.h"
#include "platform/foundation/NSObject.h"

// Stand-ins for a bitmap image representation, an image holding them and
// a cursor made from an image. Only meshed (not planar) pixel data with
// this object's own buffer is supported.
class NSBitmapImageRep : public NSObject {
 public:
  // initWithBitmapDataPlanes: with no planes given (the object owns the
  // bytes, zeroed). Null when the layout is inconsistent.
  static NSBitmapImageRep* initWithBitmapDataPlanes(uint8_t** planes, NSInteger width, NSInteger height,
                                                    NSInteger bitsPerSample, NSInteger samplesPerPixel,
                                                    bool hasAlpha, bool isPlanar, const std::string& colorSpaceName,
                                                    NSInteger bytesPerRow, NSInteger bitsPerPixel);
  uint8_t* bitmapData() { return mBytes.data(); }
  NSInteger pixelsWide() const { return mWidth; }
  NSInteger pixelsHigh() const { return mHeight; }
  NSInteger bytesPerRow() const { return mBytesPerRow; }
  NSInteger samplesPerPixel() const { return mSamples; }
  const std::string& colorSpaceName() const { return mColorSpace; }

 private:
  NSBitmapImageRep() = default;
  NSInteger mWidth = 0, mHeight = 0, mBytesPerRow = 0, mSamples = 0;
  std::string mColorSpace;
  std::vector<uint8_t> mBytes;
};

class NSImage : public NSObject {
 public:
  explicit NSImage(NSSize size) : mSize(size) {}
  ~NSImage() override;
  void addRepresentation(NSBitmapImageRep* rep);
  NSBitmapImageRep* firstRepresentation() const { return mReps.empty() ? nullptr : mReps.front(); }
  NSSize size() const { return mSize; }

 private:
  NSSize mSize;
  std::vector<NSBitmapImageRep*> mReps;
};

class NSCursor : public NSObject {
 public:
  NSCursor(NSImage* image, NSPoint hotSpot);
  ~NSCursor() override;
  static NSCursor* arrowCursor();
  // The current cursor (arrow until another is set).
  static NSCursor* currentCursor();
  void set();
  NSImage* image() const { return mImage; }
  NSPoint hotSpot() const { return mHotSpot; }

 private:
  NSImage* mImage;
  NSPoint mHotSpot;
};
