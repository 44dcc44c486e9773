#pragma once

#include <cstdint>

#include "platform/carboncore/MacTypes.h"
#include "platform/carboncore/Resources.h"

// Stand-in for the parts of QuickDraw the library's views draw with. Ports
// keep the real state (bounds and origin, clip region, pen, text settings,
// colours, back pattern) and every drawing call appends a command to its
// port's log instead of touching pixels (platform/quickdraw/DrawLog.h).
//
// Text metrics are made up but fixed, so that layouts can be computed in
// tests: a font of size s (0 means 12) has ascent s - s/4, descent s/4,
// leading 1, and every character is s/2 pixels wide (one more in bold).

struct RGBColor {
  uint16_t red;
  uint16_t green;
  uint16_t blue;
};
inline bool operator==(const RGBColor& a, const RGBColor& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}
inline bool operator!=(const RGBColor& a, const RGBColor& b) { return !(a == b); }

struct Pattern {
  uint8_t pat[8];
};

struct Picture {
  int16_t picSize;
  Rect picFrame;
};
typedef Picture* PicPtr;
typedef PicPtr* PicHandle;

struct FontInfo {
  int16_t ascent;
  int16_t descent;
  int16_t widMax;
  int16_t leading;
};

typedef unsigned char Style;
enum { normal = 0, bold = 1, italic = 2, underline = 4, outline = 8, shadow = 16, condense = 32, extend = 64 };

// Transfer modes: source modes for text, pattern modes for the pen.
enum { srcCopy = 0, srcOr = 1, srcXor = 2, srcBic = 3, patCopy = 8, patOr = 9, patXor = 10, patBic = 11 };

// Justification of TETextBox and the text views.
enum { teFlushDefault = 0, teCenter = 1, teFlushRight = -1, teFlushLeft = -2 };

struct OpaqueRgnHandle;
typedef OpaqueRgnHandle* RgnHandle;
struct OpaqueGrafPtr;
typedef OpaqueGrafPtr* GrafPtr;
typedef GrafPtr CGrafPtr;
struct OpaquePolyHandle;
typedef OpaquePolyHandle* PolyHandle;

// Ports.
void GetPort(GrafPtr* port);
GrafPtr GetPort();
void SetPort(GrafPtr port);
Rect* GetPortBounds(CGrafPtr port, Rect* bounds);
// Moves the current port's local coordinates so that its top-left pixel is
// (h, v); the clip region keeps its local coordinates.
void SetOrigin(int16_t h, int16_t v);
void GlobalToLocal(Point* pt);
void LocalToGlobal(Point* pt);
void GetClip(RgnHandle rgn);
void SetClip(RgnHandle rgn);
void ClipRect(const Rect* r);

// Pen and text state of the current port.
void PenMode(int16_t mode);
void PenSize(int16_t width, int16_t height);
void PenNormal();
void MoveTo(int16_t h, int16_t v);
void Move(int16_t dh, int16_t dv);
void LineTo(int16_t h, int16_t v);
void Line(int16_t dh, int16_t dv);
void GetPen(Point* pt);
void TextFont(int16_t font);
void TextSize(int16_t size);
void TextFace(Style face);
void TextMode(int16_t mode);
int16_t GetPortTextFont(CGrafPtr port);
int16_t GetPortTextSize(CGrafPtr port);
Style GetPortTextFace(CGrafPtr port);
int16_t GetPortTextMode(CGrafPtr port);

// Colours and patterns.
void RGBForeColor(const RGBColor* color);
void RGBBackColor(const RGBColor* color);
void GetForeColor(RGBColor* color);
void GetBackColor(RGBColor* color);
void BackPat(const Pattern* pat);
Pattern* GetQDGlobalsWhite(Pattern* white);
Pattern* GetQDGlobalsBlack(Pattern* black);
// Pixel patterns are handles of the pattern's data, as GetPixPat reads it
// from a 'ppat' resource; DisposePixPat frees them. A new one is empty.
PixPatHandle NewPixPat();
void CopyPixPat(PixPatHandle src, PixPatHandle dst);
// The port keeps its own copy of the pattern.
void SetPortBackPixPat(CGrafPtr port, PixPatHandle pp);
// Copies the port's back pattern into pp; an old-style pattern comes back
// as its 8 bytes.
PixPatHandle GetPortBackPixPat(CGrafPtr port, PixPatHandle pp);

// Shapes, drawn in the current port's colours and clip.
void EraseRect(const Rect* r);
void PaintRect(const Rect* r);
void FrameRect(const Rect* r);
void InvertRect(const Rect* r);
void EraseOval(const Rect* r);
void PaintOval(const Rect* r);
void FrameOval(const Rect* r);
PolyHandle OpenPoly();
void ClosePoly();
void PaintPoly(PolyHandle poly);
void KillPoly(PolyHandle poly);
// Moves the bits of r by (dh, dv); the area left behind is erased and, when
// updateRgn is given, returned in it.
void ScrollRect(const Rect* r, int16_t dh, int16_t dv, RgnHandle updateRgn);
void DrawPicture(PicHandle picture, const Rect* dst);
void PlotIcon(const Rect* r, Handle icon);

// Text.
void DrawText(const void* text, int16_t first, int16_t count);
void DrawString(ConstStr255Param s);
int16_t TextWidth(const void* text, int16_t first, int16_t count);
int16_t StringWidth(ConstStr255Param s);
int16_t CharWidth(int16_t ch);
void GetFontInfo(FontInfo* info);

// Rectangle and point arithmetic.
void SetRect(Rect* r, int16_t left, int16_t top, int16_t right, int16_t bottom);
void OffsetRect(Rect* r, int16_t dh, int16_t dv);
void InsetRect(Rect* r, int16_t dh, int16_t dv);
// False, and dst emptied to (0, 0, 0, 0), when the two do not meet.
bool SectRect(const Rect* a, const Rect* b, Rect* dst);
void UnionRect(const Rect* a, const Rect* b, Rect* dst);
bool PtInRect(Point pt, const Rect* r);
bool EqualRect(const Rect* a, const Rect* b);
bool EmptyRect(const Rect* r);
// Degrees clockwise from the top of r's centre, 0 to 359, with the
// horizontal distance scaled by r's proportions (a corner is 45 degrees).
void PtToAngle(const Rect* r, Point pt, int16_t* angle);

// Regions, kept as lists of disjoint rectangles.
RgnHandle NewRgn();
void DisposeRgn(RgnHandle rgn);
void CopyRgn(RgnHandle src, RgnHandle dst);
void SetEmptyRgn(RgnHandle rgn);
void RectRgn(RgnHandle rgn, const Rect* r);
void SetRectRgn(RgnHandle rgn, int16_t left, int16_t top, int16_t right, int16_t bottom);
void OffsetRgn(RgnHandle rgn, int16_t dh, int16_t dv);
void SectRgn(RgnHandle a, RgnHandle b, RgnHandle dst);
void UnionRgn(RgnHandle a, RgnHandle b, RgnHandle dst);
void DiffRgn(RgnHandle a, RgnHandle b, RgnHandle dst);
bool EmptyRgn(RgnHandle rgn);
bool PtInRgn(Point pt, RgnHandle rgn);
Rect* GetRegionBounds(RgnHandle rgn, Rect* bounds);
