#pragma once

#include <cstdint>

// The drawing-context layer: handles in the manner of a device-context API.
// Memory contexts hold the pixels of a LICE_SysBitmap (four bytes a pixel,
// an ignored byte then R, G, B, rows top to bottom, 64-byte aligned); font
// objects are made from a face name and size; text is measured and drawn
// into a context with its selected font, text colour and background.
//
// Colours here are 0x00RRGGBB. Every operation given null or a released
// (pooled) record does nothing and answers null, 0 or false. Records are
// recycled through pools, so a released handle must not be used again.

struct DrawContext;
struct DrawObject;

struct TextMetrics {
  int mHeight;
  int mAscent;
  int mDescent;
  int mLeading;
  int mAveCharWidth;
};

// Left, top, right, bottom; right and bottom exclusive.
struct DrawRect {
  int left, top, right, bottom;
};

// DrawTextCT flags (the cached fonts pass theirs through unchanged).
enum EDrawTextFlags {
  kDrawTextCalcRect = 0x1,     // measure only: right = left + width, bottom = top + height
  kDrawTextVCenter = 0x2,
  kDrawTextCenter = 0x4,
  kDrawTextBottom = 0x10,
  kDrawTextRight = 0x20,
  kDrawTextSingleLine = 0x40,  // line feeds become spaces
  kDrawTextNoPrefix = 0x80,    // '&' is an ordinary character
  kDrawTextNoClip = 0x100      // clip to the context only, not to the rectangle
};

// Font quality: 0 leaves anti-aliasing as the context has it.
enum EFontQuality {
  kFontQualityDefault = 0,
  kFontQualityNonAntialiased = 3,
  kFontQualityAntialiased = 4
};

// Object types; only fonts exist, 1 and 2 are reserved slots.
constexpr int kDrawObjectFont = 3;

// A bare type number passed to SelectDrawObject empties that slot.
inline DrawObject* DrawObjectType(int type) {
  return reinterpret_cast<DrawObject*>(static_cast<intptr_t>(type));
}

// Null on failure: a size below 1 pixel, width * 4 * height + 63 past
// size_t, or no memory.
DrawContext* CreateMemContext(int width, int height);
void DeleteDrawContext(DrawContext* ctx);
// The first pixel, 64-byte aligned; null for a context without pixels.
void* GetMemContextBits(DrawContext* ctx);

// Size = |height|, or |width| when height is 0; sizes outside 2..8192
// become 10. Weight 700 and up asks for bold. Only height, width,
// orientation (tenths of a degree), weight, italic, quality and the face
// name are used. Always answers an object; one whose face could not be
// loaded draws with the default font.
DrawObject* CreateFont(int height, int width, int escapement, int orientation, int weight,
                       char italic, char underline, char strikeOut, char charSet,
                       char outputPrecision, char clipPrecision, char quality,
                       char pitchAndFamily, const char* faceName);
void DeleteDrawObject(DrawObject* obj);

// Stores an object (or empties the slot of a bare type number) and answers
// what the slot held: the previous object, else its type number. Selecting
// the answer again restores the context.
DrawObject* SelectDrawObject(DrawContext* ctx, DrawObject* obj);

// Height = ascent + descent + leading + 1 (0 when the three are 0). With no
// usable font the metrics are 16, 12, 4, 3, 10.
bool GetTextMetrics(DrawContext* ctx, TextMetrics* metrics);

// UTF-8 text, byteCount bytes or to the NUL when negative. Answers the text
// height (0 for empty or malformed text, or with no font at all).
int DrawTextCT(DrawContext* ctx, const char* text, int byteCount, DrawRect* rect, int flags);

void SetDCTextColor(DrawContext* ctx, int color);
void SetDCBkColor(DrawContext* ctx, int color);
void SetDCBkMode(DrawContext* ctx, int mode);  // 1: fill the text box first
