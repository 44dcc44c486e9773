#pragma once

#include "framework/Utilities.h"
#include "graphics/IColor.h"

class LICE_IFont;

// A text style. The cached font is found or made by the graphics core's
// font cache on first use and belongs to that cache.
struct IText {
  enum EStyle { kStyleNormal = 0, kStyleBold = 1, kStyleItalic = 2 };
  enum EAlign { kAlignNear = 0, kAlignCenter = 1, kAlignFar = 2 };
  // Any other value places the text at the top.
  enum EVAlign { kVAlignTop = 0, kVAlignBottom = 2, kVAlignMiddle = 3 };
  enum EQuality { kQualityDefault = 0, kQualityNonAntiAliased = 1, kQualityAntiAliased = 2, kQualityClearType = 3 };

  char mFont[32] = "Verdana";
  int mSize = 12;  // font height in pixels
  IColor mColor = kColorBlack;
  // Read only by the platform's text entry, not by text drawing.
  IColor mTextEntryBGColor = kColorWhite;
  IColor mTextEntryFGColor = kColorBlack;
  int mStyle = kStyleNormal;
  int mAlign = kAlignCenter;
  int mVAlign = kVAlignTop;
  int mOrientation = 0;  // degrees
  int mQuality = kQualityDefault;
  LICE_IFont* mCached = nullptr;

  IText() = default;
  // A face longer than the field is cut to fit; null keeps "Verdana".
  explicit IText(int size, const IColor& color = kColorBlack, const char* face = nullptr, int style = kStyleNormal,
                 int align = kAlignCenter, int orientation = 0, int quality = kQualityDefault)
      : mSize(size), mColor(color), mStyle(style), mAlign(align), mOrientation(orientation), mQuality(quality) {
    if (face) CopyText(mFont, face);
  }
};
